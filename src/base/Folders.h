#pragma once
// Where the programs find their own files and where they keep what they write, decided in one place
// for Brindle, Sorrel, appstore and the launcher (which asks Brindle --folders):
// - a program folder that this user may write (the build folder, an install into the user's own
//   folders, an unpacked tarball) keeps everything beside the programs, as it always has;
// - a program folder this user cannot write, or one that holds the file SharedInstall (the
//   package ships it, so that root keeps out of the packaged files too), leaves each user their own
//   folders: data in $XDG_DATA_HOME/brindle (~/.local/share/brindle), settings in
//   $XDG_CONFIG_HOME/brindle (~/.config/brindle) and the web engine's caches in
//   $XDG_CACHE_HOME/brindle (~/.cache/brindle).

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace base {

struct Folders {
    // The executables and their read-only files: Skin/, player/, the default Servers.ini.
    std::filesystem::path program;
    // Html/, Game/, Saves/, Apps/, Icons/, WebData/, Update/, Library.db, the bundled store's data
    // and log, the instance lock.
    std::filesystem::path data;
    // Brindle.ini and Servers.ini.
    std::filesystem::path config;
    // The web engine's caches.
    std::filesystem::path cache;

    // Everything in one folder, beside the programs. Not explicit: wherever a single folder was
    // passed before, it still means that.
    Folders(const std::filesystem::path& oneFolder);
    Folders(std::filesystem::path program, std::filesystem::path data, std::filesystem::path config,
            std::filesystem::path cache);

    // Whether what the programs write stays beside them.
    bool beside() const { return data == program; }

    // Looks up an environment variable; nullptr when it is not set.
    using Environment = std::function<const char*(const char*)>;
    static const char* const SharedInstallMarker;

    // The decision for a program folder; programWritable tells whether this user may write it.
    static Folders decide(const std::filesystem::path& program, bool programWritable, const Environment& env);
    // The folders of the running executable, for this user.
    static Folders ofThisProgram();

    // Creates the user's own folders when they are not the program's, and copies the program's
    // Servers.ini into the settings folder at the first start. Returns the folders it could not make.
    std::vector<std::filesystem::path> prepare() const;
};

} // namespace base
