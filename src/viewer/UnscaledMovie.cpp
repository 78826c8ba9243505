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

enum : std::uint16_t {
    kEnd = 0,
    kShowFrame = 1,
    kDefineButton = 7,
    kDoAction = 12,
    kPlaceObject2 = 26,
    kDefineButton2 = 34,
    kDefineSprite = 39,
    kDoInitAction = 59,
    kFileAttributes = 69,
};
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

// What the actions of a tag do to the scaling: a frame's, a clip's initialisation, a button's, the
// events of a placed clip (their flags take two bytes before version 6, four from it on), and all
// of those within a clip's own timeline. Placements of version 8's kind (with filters) are not read.
unsigned scalingOf(std::uint16_t code, std::string_view body, int version) {
    MovieBytes in(body);
    unsigned found = 0;
    switch (code) {
    case kDoAction:
        return scalingOf(body);
    case kDoInitAction:
        in.u16(); // the clip
        return scalingOf(in.rest());
    case kDefineSprite:
        in.bytes(4); // id, frame count
        while (!in.atEnd()) {
            const std::uint16_t tag = in.u16();
            std::size_t length = tag & 0x3F;
            if (length == 0x3F) length = in.u32();
            if (tag >> 6 == kEnd) break;
            const std::string_view part = in.bytes(length);
            if (tag >> 6 != kDefineSprite) found |= scalingOf(tag >> 6, part, version);
        }
        return found;
    case kDefineButton:
        in.u16();              // id
        while (in.u8() != 0) { // a record's flags; none ends the records
            in.bytes(4);       // character, depth
            in.skipMatrix();
        }
        return scalingOf(in.rest());
    case kDefineButton2: {
        in.bytes(3); // id, flags
        const std::uint16_t actionOffset = in.u16();
        if (actionOffset == 0) return 0;
        if (actionOffset < 2) cannotRewrite();
        in.bytes(actionOffset - 2u); // the button's records
        for (bool last = false; !last;) {
            const std::uint16_t size = in.u16();
            last = size == 0;
            if (!last && size < 4) cannotRewrite();
            in.u16(); // the condition
            found |= scalingOf(last ? in.rest() : in.bytes(size - 4u));
        }
        return found;
    }
    case kPlaceObject2: {
        const std::uint8_t flags = in.u8();
        if (!(flags & 0x80)) return 0;
        in.u16(); // depth
        if (flags & 0x02) in.u16();
        if (flags & 0x04) in.skipMatrix();
        if (flags & 0x08) in.skipColorTransform();
        if (flags & 0x10) in.u16(); // ratio
        if (flags & 0x20) in.cstring();
        if (flags & 0x40) in.u16(); // clip depth
        const std::size_t eventBytes = version >= 6 ? 4 : 2;
        in.bytes(2 + eventBytes); // reserved, all events
        for (;;) {
            const std::string_view events = in.bytes(eventBytes);
            if (events.find_first_not_of('\0') == std::string_view::npos) break;
            std::string_view actions = in.bytes(in.u32());
            // A key press's actions begin with the key.
            constexpr std::uint8_t kKeyPress = 0x02;
            if (eventBytes == 4 && (events[2] & kKeyPress) && !actions.empty()) actions.remove_prefix(1);
            found |= scalingOf(actions);
        }
        return found;
    }
    default:
        return 0;
    }
}

// Looks through the movie's actions, tag by tag, reading only the tags that hold them and skipping
// everything else. A movie that turns its scaling off in its main timeline's first frame starts
// unscaled, as does one that turns it off anywhere else (a later frame behind a preloader, a clip's
// timeline or events, a button) and never on. One that turns it both off and on that way keeps it:
// which of them comes last depends on how it plays. A movie cut short or damaged counts as far as
// its tags can be read; a damaged block of actions counts as none.
bool timelineTurnsScalingOff(MovieStream& movie) {
    const std::string rectStart = movie.read(1); // kept: MovieBytes only views the bytes it reads
    MovieBytes rect(rectStart);
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
            static constexpr std::uint16_t kRead[] = {kFileAttributes, kDoAction,     kDoInitAction,
                                                      kDefineSprite,   kDefineButton, kDefineButton2,
                                                      kPlaceObject2};
            if (std::find(std::begin(kRead), std::end(kRead), code) == std::end(kRead) ||
                length > kMaxActions) {
                movie.skip(length);
                continue;
            }
            const std::string body = movie.read(length);
            // The first tag: a movie of ActionScript 3 runs no frame actions.
            if (code == kFileAttributes) {
                if (!body.empty() && (body[0] & kActionScript3)) return false;
                continue;
            }
            unsigned scaling = 0;
            try {
                scaling = scalingOf(code, body, movie.version());
            } catch (const CannotRewrite&) {
                // Counts as none; the tags after it are read on.
            }
            if (firstFrame && code == kDoAction && (scaling & kOff)) return true;
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
