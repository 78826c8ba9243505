#pragma once
// Brindle's command line, read before and without Qt, so that its commands need no display:
//   brindle [FILE ...]          the catalogue window; FILE (a path or a file:// address) names a
//                               movie of the user's own to open, "--" ends the options
//   --backup-saves FILE.zip     every movie's saves into FILE.zip (replaced atomically)
//   --restore-saves FILE.zip    the saves in FILE.zip back into Saves/; refused while a Brindle runs
//                               in the folder (it holds the instance lock, which the restore takes)
//   --list-played               a header line, then one line per played app, most recent first,
//                               tab-separated: link, name, plays, seconds, last played (ISO 8601,
//                               UTC); tabs and line breaks inside a name become spaces
//   --folders                   where this user's data, settings and caches are, one line each:
//                               数据, 设置 or 缓存, a tab, the folder (made when missing)
//   --help, --version           the usage or the version on standard output
// Anything else (an unknown option, a missing or extra argument) is refused with the usage on
// standard error and status 2, before any window opens. Results go to standard output, refusals
// and failures (in Chinese) to standard error.

#include "base/Folders.h"

#include <filesystem>
#include <string>
#include <vector>

namespace library {

class CommandLine {
  public:
    enum ExitCode : int {
        Done = 0,
        Failed = 1,      // a file could not be read or written; nothing changed
        Usage = 2,       // unknown option, or an argument missing or too many
        Refused = 3,     // the zip holds something a restore does not take; nothing changed
        BrindleRuns = 4, // a Brindle runs in the folder, so no saves were restored
    };
    enum class Action { Window, Help, Version, Folders, BackupSaves, RestoreSaves, ListPlayed, Wrong };

    // Reads args (argv without the program name).
    static CommandLine parse(const std::vector<std::string>& args);

    Action action() const { return action_; }
    // The movie files to open in the window, as given: paths (relative to the current folder) or
    // file:// addresses.
    const std::vector<std::string>& files() const { return files_; }
    // Whether the command runs alone, without Qt and without the window.
    bool runsAlone() const { return action_ != Action::Window; }

    // Runs a command that runs alone for this user's folders; instanceLock is the file a running
    // Brindle holds, version the program's version text.
    int run(const base::Folders& folders, const std::filesystem::path& instanceLock,
            const std::string& version) const;

  private:
    Action action_ = Action::Window;
    std::string zip_;
    std::vector<std::string> files_;
};

} // namespace library
