#include "viewer/ActionCode.h"

#include "viewer/MovieBytes.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace viewer {

namespace {

// One action of a block as read, with its operands rewritten.
struct Action {
    std::size_t oldStart = 0, oldEnd = 0;
    std::uint8_t code = 0;
    std::string data; // the rewritten operands
    // A branch: the old target, and where its offset lies in data.
    std::optional<std::size_t> target;
    std::size_t offsetAt = 0;
    // Blocks that follow the action (a function's body; the try, catch and finally blocks): where
    // each size lies in data, in order.
    std::vector<std::size_t> blockSizesAt;
};

void cstring(MovieBytes& in, std::string& out, const ActionCode::Text& text) {
    out += text(in.cstring());
    out += '\0';
}

// One value of a push action.
void pushed(MovieBytes& data, std::string& out, const ActionCode::Text& text) {
    const std::uint8_t type = data.u8();
    out += static_cast<char>(type);
    static constexpr int kSizes[] = {-1, 4, 0, 0, 1, 1, 8, 4, 1, 2}; // by type; -1: a string
    if (type >= std::size(kSizes)) cannotRewrite();
    if (kSizes[type] < 0)
        cstring(data, out, text);
    else
        out += data.bytes(static_cast<std::size_t>(kSizes[type]));
}

Action action(MovieBytes& in, const ActionCode::Text& text) {
    Action a;
    a.oldStart = in.pos();
    a.code = in.u8();
    if (a.code < 0x80) {
        a.oldEnd = in.pos();
        return a;
    }
    MovieBytes data(in.bytes(in.u16()));
    a.oldEnd = in.pos();
    std::string& out = a.data;
    const auto blockSize = [&] {
        a.blockSizesAt.push_back(out.size());
        out += data.bytes(2);
    };
    switch (a.code) {
    case 0x83: // get URL: address, target
        cstring(data, out, text);
        cstring(data, out, text);
        break;
    case 0x88: { // constant pool
        const std::uint16_t count = data.u16();
        put16(out, count);
        for (int i = 0; i < count; ++i)
            cstring(data, out, text);
        break;
    }
    case 0x8B: // set target
    case 0x8C: // go to label
        cstring(data, out, text);
        break;
    case 0x8E: { // define function 2: name, parameter count, registers, flags, parameters, size
        cstring(data, out, text);
        const std::uint16_t count = data.u16();
        put16(out, count);
        out += data.bytes(3);
        for (int i = 0; i < count; ++i) {
            out += data.bytes(1);
            cstring(data, out, text);
        }
        blockSize();
        break;
    }
    case 0x8F: { // try: flags, try, catch and finally sizes, catch variable or register
        const std::uint8_t flags = data.u8();
        out += static_cast<char>(flags);
        for (int i = 0; i < 3; ++i)
            blockSize();
        if (flags & 0x04)
            out += data.bytes(1);
        else
            cstring(data, out, text);
        break;
    }
    case 0x94: // with
        blockSize();
        break;
    case 0x96: // push
        while (!data.atEnd())
            pushed(data, out, text);
        break;
    case 0x99:   // jump
    case 0x9D: { // if
        const auto offset = static_cast<std::int16_t>(data.u16());
        const long target = static_cast<long>(a.oldEnd) + offset;
        if (target < 0) cannotRewrite();
        a.target = static_cast<std::size_t>(target);
        a.offsetAt = out.size();
        put16(out, 0);
        break;
    }
    case 0x9B: { // define function: name, parameters, size
        cstring(data, out, text);
        const std::uint16_t count = data.u16();
        put16(out, count);
        for (int i = 0; i < count; ++i)
            cstring(data, out, text);
        blockSize();
        break;
    }
    default:
        break;
    }
    out += data.rest();
    return a;
}

} // namespace

// A block of actions (the whole of code) rewritten, with its branches and sizes fixed up.
std::string ActionCode::rewritten(std::string_view code, const Text& text) {
    MovieBytes in(code);
    std::vector<Action> list;
    std::size_t tail = code.size(); // where bytes kept as they are begin
    bool ended = false;
    while (!in.atEnd()) {
        const std::size_t start = in.pos();
        try {
            list.push_back(action(in, text));
        } catch (const CannotRewrite&) {
            // Data after an end action that does not read as actions is no code; kept.
            if (!ended) throw;
            tail = start;
            break;
        }
        ended = ended || list.back().code == 0;
    }

    std::vector<std::size_t> newStart;
    std::size_t at = 0;
    for (const Action& a : list) {
        newStart.push_back(at);
        at += a.code >= 0x80 ? 3 + a.data.size() : 1;
    }
    const std::size_t newTail = at;
    // Where an old position (an action's start, the block's end, or inside the kept bytes) is now.
    const auto moved = [&](std::size_t old) -> std::size_t {
        if (old >= tail && old <= code.size()) return newTail + (old - tail);
        const auto it = std::lower_bound(list.begin(), list.end(), old,
                                         [](const Action& a, std::size_t pos) { return a.oldStart < pos; });
        if (it == list.end() || it->oldStart != old) cannotRewrite();
        return newStart[static_cast<std::size_t>(it - list.begin())];
    };

    std::string out;
    for (std::size_t i = 0; i < list.size(); ++i) {
        Action& a = list[i];
        const std::size_t newEnd = moved(a.oldEnd);
        if (a.target) {
            const long offset = static_cast<long>(moved(*a.target)) - static_cast<long>(newEnd);
            if (offset < INT16_MIN || offset > INT16_MAX) cannotRewrite();
            patch16(a.data, a.offsetAt, static_cast<std::uint16_t>(offset));
        }
        std::size_t blockStart = a.oldEnd;
        for (const std::size_t sizeAt : a.blockSizesAt) {
            const auto b = a.data.substr(sizeAt, 2);
            const std::size_t blockEnd =
                blockStart + (static_cast<unsigned char>(b[0]) | static_cast<unsigned char>(b[1]) << 8);
            patch16(a.data, sizeAt, static_cast<std::uint32_t>(moved(blockEnd) - moved(blockStart)));
            blockStart = blockEnd;
        }
        out += static_cast<char>(a.code);
        if (a.code >= 0x80) {
            put16(out, static_cast<std::uint32_t>(a.data.size()));
            out += a.data;
        }
    }
    out += code.substr(tail);
    return out;
}

} // namespace viewer
