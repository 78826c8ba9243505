#pragma once
// A block of ActionScript actions whose pushed strings may be built at run time instead of pushed
// as bytes: a pushed string (a literal, or an entry of the constant pool that the push surely
// refers to) that is to be built becomes a push of each character's code followed by an action
// turning it into that character, joined by string additions, which yields the same string in
// every version of the player whatever the code page of the movie's bytes. A push of several
// values is split around it. Actions that change length move along the branches that jump over
// them and the blocks (function bodies, with, try, catch and finally) that hold them. Bytes after
// an end action that do not read as actions are kept as they are.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace viewer {

class ActionCode {
  public:
    // What the code's strings are to become.
    class Strings {
      public:
        virtual ~Strings() = default;
        // A name the player reads from an action's operands: a function's name or parameter, a
        // catch variable.
        virtual void name(std::string_view) {}
        // The entries of a constant pool.
        virtual void pool(const std::vector<std::string_view>&) {}
        // The characters (UTF-16 units) to build a pushed string of, or nothing to push it as it is.
        virtual std::optional<std::u16string> built(std::string_view pushed) = 0;
        // Whether characters below 0x80 are built too, or pushed as text between built ones.
        virtual bool buildsAscii() const { return false; }
        // A push of a constant where which pool it refers to is not certain (it is kept as it is).
        virtual void uncertainConstant(std::uint16_t) {}
    };

    // code with its pushed strings passed through strings. Throws CannotRewrite (see MovieBytes)
    // for damaged actions, a branch that lands inside an action or outside the block, and actions or
    // offsets that would outgrow their fields.
    static std::string rewritten(std::string_view code, Strings& strings);
};

} // namespace viewer
