#include "viewer/UnscaledMovie.h"

#include "viewer/MovieBytes.h"

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
// The first frame of most movies is small: its actions are looked for in this much of the movie
// first, then in four times as much, and so on.
constexpr std::size_t kFirstLook = 64 << 10;

bool sameText(std::string_view text, std::string_view lowerCase) {
    return std::equal(text.begin(), text.end(), lowerCase.begin(), lowerCase.end(),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

// The values of a push as text: strings (also from the constant pool) as they are, false as
// "false", anything else as an empty text.
void pushedValues(MovieBytes& in, const std::vector<std::string_view>& pool,
                  std::vector<std::string_view>& out) {
    while (!in.atEnd()) {
        const std::uint8_t type = in.u8();
        if (type == 0) {
            out.push_back(in.cstring());
        } else if (type == 5) {
            out.push_back(in.u8() ? std::string_view() : std::string_view("false"));
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

bool isScalingOff(std::string_view url, std::string_view target) {
    return sameText(url, "fscommand:allowscale") && sameText(target, "false");
}

// Whether a block of actions holds the link that turns scaling off: a getURL with both strings
// given, or a getURL2 of the two values pushed right before it (the target may be false itself).
bool turnsScalingOff(std::string_view code) {
    MovieBytes in(code);
    std::vector<std::string_view> pool, pushed;
    while (!in.atEnd()) {
        const std::uint8_t action = in.u8();
        if (action == 0) return false;
        if (action < 0x80) {
            pushed.clear();
            continue;
        }
        MovieBytes operands(in.bytes(in.u16()));
        switch (action) {
        case kGetUrl: {
            const std::string_view url = operands.cstring();
            if (isScalingOff(url, operands.cstring())) return true;
            break;
        }
        case kGetUrl2:
            if (pushed.size() >= 2 && isScalingOff(pushed[pushed.size() - 2], pushed.back())) return true;
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
        // The first tag: a movie of ActionScript 3 is not read any further.
        if (code == kFileAttributes && !body.empty() && (body[0] & kActionScript3)) return false;
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
