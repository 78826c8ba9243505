#pragma once
// Why the play library could not do what was asked: whether it is only busy (another process holds
// Library.db, so the same change succeeds later) or cannot be used as it is (read-only, a full
// disk, damaged, a file of another program), and why, for the player (Chinese).

#include <exception>
#include <string>

namespace library {

struct LibraryProblem {
    bool busy = false;
    std::string why; // one sentence for the player

    // The problem a failure of the library's methods (an sqlite::Error, or another exception)
    // stands for.
    static LibraryProblem of(const std::exception& error);
};

} // namespace library
