#pragma once
// A movie file of the player's own, opened from the command line, a drop on the catalogue window
// or the 我的游戏 page. It plays from the folder it lies in (see MoviePlace) and is never copied
// into Game. Only a file that is there, can be read and starts as a movie does ("FWS", "CWS" or
// "ZWS") opens; anything else gets a note for the player and nothing more happens.

#include "viewer/OpenedApp.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace viewer {

struct LocalMovie {
    enum class Problem { None, Missing, Unreadable, NotAMovie };

    // The file a command-line argument names: a file:// address, or a path relative to
    // currentFolder (or absolute). An address that names no local file gives its own text, which
    // is then missing.
    static std::filesystem::path pathOf(std::string_view argument,
                                        const std::filesystem::path& currentFolder);
    // Looks at the file at path, an absolute path: follows its links and reads its first bytes.
    // Waits on the disk: call it off the user-interface thread.
    static LocalMovie check(const std::filesystem::path& path);

    std::filesystem::path file; // without links once found; as given otherwise
    Problem problem = Problem::None;

    // Why it does not open, for the player (Chinese); empty when it opens.
    std::string note() const;
    // The file's address, the link the play library keeps for it.
    std::string address() const;
    // The app the viewer shows: a movie app named after the file, playing from its address.
    OpenedApp app() const;
};

} // namespace viewer
