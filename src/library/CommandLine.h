#pragma once
// Brindle's commands for scripts, run before and without Qt, so they need no display:
//   --backup-saves FILE.zip   every movie's saves into FILE.zip (replaced atomically)
//   --restore-saves FILE.zip  the saves in FILE.zip back into Saves/; refused while a Brindle runs
//                             in the folder (it holds the instance lock, which the restore takes)
//   --list-played             one line per played app, most recent first, tab-separated: link,
//                             name, plays, seconds, last played (ISO 8601, UTC); tabs and line
//                             breaks inside a name become spaces
// Results go to standard output, refusals and failures (in Chinese) to standard error.

#include <filesystem>
#include <string>
#include <vector>

namespace library {

class CommandLine {
  public:
    enum ExitCode : int {
        Done = 0,
        Failed = 1,      // a file could not be read or written; nothing changed
        Usage = 2,       // unknown option, or a file name missing
        Refused = 3,     // the zip holds something a restore does not take; nothing changed
        BrindleRuns = 4, // a Brindle runs in the folder, so no saves were restored
    };

    // Whether args (argv without the program name) ask for a command rather than the window.
    static bool wanted(const std::vector<std::string>& args);

    // Runs the command in args for appFolder; instanceLock is the file a running Brindle holds.
    static int run(const std::vector<std::string>& args, const std::filesystem::path& appFolder,
                   const std::filesystem::path& instanceLock);
};

} // namespace library
