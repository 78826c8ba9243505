#pragma once
// One app of the play library: an app the player opened, movie or page app alike, with what the
// library counts about it.

#include <cstdint>
#include <string>

namespace library {

struct PlayedApp {
    std::string link;            // the link it was opened by; identifies the app
    std::string name;            // as the store named it when it last opened
    bool isMovie = false;        // a movie app (its movie in Game/), not a page app
    std::string movieFile;       // the movie's file name in Game/; empty for page apps
    std::string iconFile;        // the kept icon's file name in Icons/; empty when none is kept
    std::int64_t plays = 0;      // how often it opened
    std::int64_t seconds = 0;    // how long its viewer was open and not minimised, in all
    std::int64_t lastPlayed = 0; // when it last opened, Unix seconds
    bool favourite = false;

    bool operator==(const PlayedApp&) const = default;
};

} // namespace library
