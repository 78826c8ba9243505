#pragma once
// A block of ActionScript 2 actions with every string in it rewritten: pushed values, constant
// pools, link addresses and targets, frame labels to go to and targets to set, function names and
// parameters, catch variables. Actions that change length move along the branches that jump over
// them and the blocks (function bodies, with, try, catch and finally) that hold them. Bytes after
// an end action that do not read as actions are kept as they are.

#include <functional>
#include <string>
#include <string_view>

namespace viewer {

class ActionCode {
  public:
    using Text = std::function<std::string(std::string_view)>;
    // code with each string passed through text. Throws CannotRewrite (see MovieBytes) for damaged
    // actions, a branch that lands inside an action or outside the block, and actions or offsets
    // that would outgrow their fields.
    static std::string rewritten(std::string_view code, const Text& text);
};

} // namespace viewer
