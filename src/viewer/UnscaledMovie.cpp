#include "viewer/UnscaledMovie.h"

#include "viewer/MovieBytes.h"
#include "viewer/MovieStream.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

namespace viewer {

namespace {

enum : std::uint16_t { kEnd = 0, kShowFrame = 1, kDoAction = 12, kFileAttributes = 69 };
// The flag of the file attributes that marks a movie of ActionScript 3, which has no frame actions.
constexpr std::uint8_t kActionScript3 = 0x08;
constexpr std::uint8_t kGetUrl = 0x83, kConstantPool = 0x88, kPush = 0x96, kGetUrl2 = 0x9A;
// What the actions of a frame do to the scaling: turn it off, on, or both.
constexpr unsigned kOff = 1, kOn = 2;
// A frame's actions longer than this are skipped unread: those of real movies are far smaller, and
// a compressed movie could make a few bytes of its file into a block of any size.
constexpr std::size_t kMaxActions = 16 << 20;

bool sameText(std::string_view text, std::string_view lowerCase) {
    return std::equal(text.begin(), text.end(), lowerCase.begin(), lowerCase.end(),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

// The values of a push as text: strings (also from the constant pool) as they are, false and true
// as "false" and "true", anything else as an empty text.
void pushedValues(MovieBytes& in, const std::vector<std::string_view>& pool,
                  std::vector<std::string_view>& out) {
    while (!in.atEnd()) {
        const std::uint8_t type = in.u8();
        if (type == 0) {
            out.push_back(in.cstring());
        } else if (type == 5) {
            out.emplace_back(in.u8() ? "true" : "false");
        } else if (type == 8 || type == 9) {
            const std::size_t index = type == 8 ? in.u8() : in.u16();
            out.push_back(index < pool.size() ? pool[index] : std::string_view());
        } else {
            // float, null, undefined, register, double, integer
            static constexpr std::size_t kSizes[] = {0, 4, 0, 0, 1, 0, 8, 4};
            if (type >= std::size(kSizes)) cannotRewrite();
            in.bytes(kSizes[type]);
            out.emplace_back();
        }
    }
}

// What a link does to the scaling: 0 for anything but the command "allowscale" with "false" or
// "true" (in any case).
unsigned scalingOf(std::string_view url, std::string_view target) {
    if (!sameText(url, "fscommand:allowscale")) return 0;
    return sameText(target, "false") ? kOff : sameText(target, "true") ? kOn : 0;
}

// What a block of actions does to the scaling, by its links: a getURL with both strings given, or a
// getURL2 of the two values pushed right before it (the target may be a boolean itself).
unsigned scalingOf(std::string_view code) {
    MovieBytes in(code);
    std::vector<std::string_view> pool, pushed;
    unsigned found = 0;
    while (!in.atEnd()) {
        const std::uint8_t action = in.u8();
        if (action == 0) break;
        if (action < 0x80) {
            pushed.clear();
            continue;
        }
        MovieBytes operands(in.bytes(in.u16()));
        switch (action) {
        case kGetUrl: {
            const std::string_view url = operands.cstring();
            found |= scalingOf(url, operands.cstring());
            break;
        }
        case kGetUrl2:
            if (pushed.size() >= 2) found |= scalingOf(pushed[pushed.size() - 2], pushed.back());
            break;
        case kConstantPool:
            pool.assign(operands.u16(), {});
            for (auto& constant : pool)
                constant = operands.cstring();
            break;
        case kPush:
            pushedValues(operands, pool, pushed);
            continue;
        }
        pushed.clear();
    }
    return found;
}

// Looks through the frame actions of the main timeline, tag by tag, reading only those and skipping
// everything else. A movie that turns its scaling off in its first frame starts unscaled, as does
// one that turns it off in a later frame (behind a preloader, say) and never on. One that turns it
// both off and on after its first frame keeps it: which of them comes last depends on how it plays.
// A movie cut short or damaged counts as far as its tags can be read.
bool timelineTurnsScalingOff(MovieStream& movie) {
    MovieBytes rect(movie.read(1));
    const int bits = 5 + 4 * static_cast<int>(rect.bits(5));
    movie.skip((bits + 7) / 8 - 1 + 4); // the rest of the stage's rectangle, frame rate and count
    unsigned found = 0;
    bool firstFrame = true;
    try {
        for (;;) {
            const std::uint16_t tag = MovieBytes(movie.read(2)).u16();
            const std::uint16_t code = tag >> 6;
            std::size_t length = tag & 0x3F;
            if (length == 0x3F) length = MovieBytes(movie.read(4)).u32();
            if (code == kEnd) break;
            if (code == kShowFrame) firstFrame = false;
            if ((code != kDoAction && code != kFileAttributes) || length > kMaxActions) {
                movie.skip(length);
                continue;
            }
            const std::string body = movie.read(length);
            // The first tag: a movie of ActionScript 3 runs no frame actions.
            if (code == kFileAttributes) {
                if (!body.empty() && (body[0] & kActionScript3)) return false;
                continue;
            }
            const unsigned scaling = scalingOf(body);
            if (firstFrame && (scaling & kOff)) return true;
            found |= scaling;
            if (found == (kOff | kOn)) return false;
        }
    } catch (const CannotRewrite&) {
        // What was read counts.
    }
    return found == kOff;
}

} // namespace

bool startsUnscaled(std::istream& movie) {
    try {
        MovieStream stream(movie);
        return timelineTurnsScalingOff(stream);
    } catch (const CannotRewrite&) {
        return false;
    }
}

} // namespace viewer
