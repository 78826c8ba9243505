#include "viewer/UnscaledMovie.h"

#include "viewer/MovieBytes.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>

namespace viewer {

namespace {

enum : std::uint16_t { kEnd = 0, kShowFrame = 1, kDoAction = 12 };
constexpr std::uint8_t kGetUrl = 0x83;
// The first frame of most movies is small: its actions are looked for in this much of the movie
// first, then in four times as much, and so on.
constexpr std::size_t kFirstLook = 64 << 10;

bool sameText(std::string_view text, std::string_view lowerCase) {
    return std::equal(text.begin(), text.end(), lowerCase.begin(), lowerCase.end(),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

// Whether a block of actions holds the link that turns scaling off.
bool turnsScalingOff(std::string_view code) {
    MovieBytes in(code);
    while (!in.atEnd()) {
        const std::uint8_t action = in.u8();
        if (action == 0) return false;
        if (action < 0x80) continue;
        MovieBytes operands(in.bytes(in.u16()));
        if (action == kGetUrl && sameText(operands.cstring(), "fscommand:allowscale") &&
            sameText(operands.cstring(), "false"))
            return true;
    }
    return false;
}

// Whether the frame actions of the tags up to the first frame's end do. Throws CannotRewrite when
// the tags end before that.
bool firstFrameTurnsScalingOff(std::string_view tags) {
    MovieBytes in(tags);
    for (;;) {
        const std::uint16_t header = in.u16();
        const std::uint16_t code = header >> 6;
        const std::string_view body = in.bytes((header & 0x3F) == 0x3F ? in.u32() : header & 0x3F);
        if (code == kShowFrame || code == kEnd) return false;
        if (code == kDoAction && turnsScalingOff(body)) return true;
    }
}

} // namespace

bool startsUnscaled(std::string_view movie) {
    if (movie.size() < 8 || (movie.substr(0, 3) != "FWS" && movie.substr(0, 3) != "CWS")) return false;
    for (std::size_t limit = kFirstLook;; limit *= 4) {
        std::string body;
        try {
            body = movieBody(movie, limit);
            MovieBytes in(body);
            in.skipRect();
            in.bytes(4); // frame rate and count
            return firstFrameTurnsScalingOff(std::string_view(body).substr(in.pos()));
        } catch (const CannotRewrite&) {
            // The first frame goes on past what was read, or the movie is damaged.
            if (body.size() < limit) return false;
        }
    }
}

} // namespace viewer
