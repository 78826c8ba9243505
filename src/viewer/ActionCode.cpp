#include "viewer/ActionCode.h"

#include "viewer/MovieBytes.h"

#include <algorithm>
#include <cstdint>

namespace viewer {

namespace {

enum : std::uint8_t {
    kStringAdd = 0x21,
    kMbAsciiToChar = 0x37,
    kConstantPool = 0x88,
    kDefineFunction2 = 0x8E,
    kPush = 0x96,
    kDefineFunction = 0x9B,
};

// One action of a block as read.
struct Action {
    std::size_t oldStart = 0, oldEnd = 0;
    std::uint8_t code = 0;
    std::string data;                  // the operands
    std::optional<std::size_t> target; // a branch's old target (its offset: the operands)
    // Blocks that follow the action (a function's body; the try, catch and finally blocks): where
    // each size lies in data, in order.
    std::vector<std::size_t> blockSizesAt;
    std::vector<std::string_view> pool; // a constant pool's entries
    std::string replacement;            // a push rewritten: the actions in its place, if any
};

std::size_t blockSize(const Action& a, std::size_t sizeAt) {
    return static_cast<unsigned char>(a.data[sizeAt]) | static_cast<unsigned char>(a.data[sizeAt + 1]) << 8;
}

Action action(MovieBytes& in, ActionCode::Strings& strings) {
    Action a;
    a.oldStart = in.pos();
    a.code = in.u8();
    if (a.code < 0x80) {
        a.oldEnd = in.pos();
        return a;
    }
    const std::string_view operands = in.bytes(in.u16());
    MovieBytes data(operands);
    a.oldEnd = in.pos();
    a.data = operands;
    const auto block = [&] {
        a.blockSizesAt.push_back(data.pos());
        data.u16();
    };
    switch (a.code) {
    case kConstantPool:
        for (int count = data.u16(); count > 0; --count)
            a.pool.push_back(data.cstring());
        strings.pool(a.pool);
        break;
    case kDefineFunction2: { // name, parameter count, registers, flags, parameters, size
        strings.name(data.cstring());
        const std::uint16_t count = data.u16();
        data.bytes(3);
        for (int i = 0; i < count; ++i) {
            data.u8();
            strings.name(data.cstring());
        }
        block();
        break;
    }
    case 0x8F: { // try: flags, try, catch and finally sizes, catch variable or register
        const std::uint8_t flags = data.u8();
        for (int i = 0; i < 3; ++i)
            block();
        if (!(flags & 0x04)) strings.name(data.cstring());
        break;
    }
    case 0x94: // with
        block();
        break;
    case 0x99:   // jump
    case 0x9D: { // if
        const auto offset = static_cast<std::int16_t>(data.u16());
        const long target = static_cast<long>(a.oldEnd) + offset;
        if (target < 0) cannotRewrite();
        a.target = static_cast<std::size_t>(target);
        break;
    }
    case kDefineFunction: { // name, parameters, size
        strings.name(data.cstring());
        for (int count = data.u16(); count > 0; --count)
            strings.name(data.cstring());
        block();
        break;
    }
    default:
        break;
    }
    return a;
}

// Which constant pool the pushes of each action surely refer to (none: not certain). The player
// keeps the last pool set anywhere for the next block of actions, and a function the pool of where
// it was defined; a pool set within a block holds for the rest of its run. So a block's pool is
// certain when the block (the code, or a function's body) begins with it and sets no other one, or,
// for a function's body that sets none, when that of the code around it is.
std::vector<const std::vector<std::string_view>*> pools(const std::vector<Action>& list, std::size_t end) {
    struct Scope {
        std::size_t parent, end;
        bool function;
        std::vector<std::size_t> pools; // the actions setting a pool, directly in the block
        bool started = false, firstIsPool = false;
    };
    std::vector<Scope> scopes{{0, end, false, {}}};
    std::vector<std::size_t> open{0}, scopeOf;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const Action& a = list[i];
        while (open.size() > 1 && scopes[open.back()].end <= a.oldStart)
            open.pop_back();
        Scope& scope = scopes[open.back()];
        if (!scope.started) scope.firstIsPool = a.code == kConstantPool;
        scope.started = true;
        if (a.code == kConstantPool) scope.pools.push_back(i);
        scopeOf.push_back(open.back());
        if (a.code == kDefineFunction || a.code == kDefineFunction2) {
            scopes.push_back({open.back(), a.oldEnd + blockSize(a, a.blockSizesAt.front()), true, {}});
            open.push_back(scopes.size() - 1);
        }
    }
    // A block's parent comes before it.
    std::vector<const std::vector<std::string_view>*> resolved(scopes.size(), nullptr);
    for (std::size_t s = 0; s < scopes.size(); ++s) {
        const Scope& scope = scopes[s];
        if (scope.pools.empty()) {
            if (scope.function) resolved[s] = resolved[scope.parent];
            continue;
        }
        const auto& first = list[scope.pools.front()].pool;
        const bool one = std::all_of(scope.pools.begin(), scope.pools.end(),
                                     [&](std::size_t p) { return list[p].pool == first; });
        if (scope.firstIsPool && one) resolved[s] = &first;
    }
    std::vector<const std::vector<std::string_view>*> out;
    for (const std::size_t s : scopeOf)
        out.push_back(resolved[s]);
    return out;
}

// Pushes of values (their bytes as in a push action) not yet written as an action.
class Pending {
  public:
    void add(std::string_view value) { values_ += value; }
    // The pending values pushed, then the action code, into out.
    void then(std::string& out, std::uint8_t code) {
        if (!values_.empty()) {
            out += static_cast<char>(kPush);
            put16(out, static_cast<std::uint32_t>(values_.size()));
            out += values_;
            values_.clear();
        }
        if (code != kPush) out += static_cast<char>(code);
    }

  private:
    std::string values_;
};

// Actions that leave the string of units on the stack, joined to out after the pending values,
// which go along with the first push: each character pushed as its code and turned into the
// character, runs of characters below 0x80 pushed as text unless ascii says to build them too.
void build(const std::u16string& units, bool ascii, Pending& pending, std::string& out) {
    if (units.empty()) pending.add(std::string_view("\0\0", 2));
    for (std::size_t i = 0; i < units.size();) {
        const bool first = i == 0;
        if (!ascii && units[i] < 0x80) {
            std::string text(1, '\0');
            for (; i < units.size() && units[i] < 0x80; ++i)
                text += static_cast<char>(units[i]);
            pending.add(text + '\0');
        } else {
            std::string code(1, '\7');
            put32(code, units[i++]);
            pending.add(code);
            pending.then(out, kMbAsciiToChar);
        }
        if (!first) pending.then(out, kStringAdd);
    }
}

// A push action rewritten: its values as they are, but for the strings that are built.
std::string push(const Action& a, const std::vector<std::string_view>* pool, ActionCode::Strings& strings) {
    MovieBytes data(a.data);
    Pending pending;
    std::string out;
    bool changed = false;
    while (!data.atEnd()) {
        const std::size_t start = data.pos();
        const std::uint8_t type = data.u8();
        std::optional<std::string_view> text;
        static constexpr int kSizes[] = {-1, 4, 0, 0, 1, 1, 8, 4, 1, 2}; // by type; -1: a string
        if (type >= std::size(kSizes)) cannotRewrite();
        if (type == 0) {
            text = data.cstring();
        } else if (type == 8 || type == 9) {
            const std::uint16_t index = type == 8 ? data.u8() : data.u16();
            if (!pool)
                strings.uncertainConstant(index);
            else if (index < pool->size())
                text = (*pool)[index];
        } else {
            data.bytes(static_cast<std::size_t>(kSizes[type]));
        }
        const auto units = text ? strings.built(*text) : std::nullopt;
        if (units) {
            build(*units, strings.buildsAscii(), pending, out);
            changed = true;
        } else {
            pending.add(data.since(start));
        }
    }
    if (!changed) return {};
    pending.then(out, kPush);
    return out;
}

} // namespace

// A block of actions (the whole of code) rewritten, with its branches and sizes fixed up.
std::string ActionCode::rewritten(std::string_view code, Strings& strings) {
    MovieBytes in(code);
    std::vector<Action> list;
    std::size_t tail = code.size(); // where bytes kept as they are begin
    bool ended = false;
    while (!in.atEnd()) {
        const std::size_t start = in.pos();
        try {
            list.push_back(action(in, strings));
        } catch (const CannotRewrite&) {
            // Data after an end action that does not read as actions is no code; kept.
            if (!ended) throw;
            tail = start;
            break;
        }
        ended = ended || list.back().code == 0;
    }

    const auto poolOf = pools(list, tail);
    std::vector<std::size_t> newStart;
    std::size_t at = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        Action& a = list[i];
        if (a.code == kPush) a.replacement = push(a, poolOf[i], strings);
        newStart.push_back(at);
        at += !a.replacement.empty() ? a.replacement.size() : a.code >= 0x80 ? 3 + a.data.size() : 1;
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
    for (Action& a : list) {
        if (!a.replacement.empty()) {
            out += a.replacement;
            continue;
        }
        const std::size_t newEnd = moved(a.oldEnd);
        if (a.target) {
            const long offset = static_cast<long>(moved(*a.target)) - static_cast<long>(newEnd);
            if (offset < INT16_MIN || offset > INT16_MAX) cannotRewrite();
            patch16(a.data, 0, static_cast<std::uint16_t>(offset));
        }
        std::size_t blockStart = a.oldEnd;
        for (const std::size_t sizeAt : a.blockSizesAt) {
            const std::size_t blockEnd = blockStart + blockSize(a, sizeAt);
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
