#pragma once
// An assembler for ActionScript 2 bytecode (the actions of a DoAction tag, run by the player's
// first virtual machine): pushes of literal values, the stack actions that take no operands, jumps
// to named labels and function definitions. Labels are resolved when the bytes are taken.

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace swf {

// Actions without operands, by their code.
enum class Op : std::uint8_t {
    Play = 0x06,
    Stop = 0x07,
    Not = 0x12,
    Pop = 0x17,
    GetVariable = 0x1C,
    SetVariable = 0x1D,
    StringAdd = 0x21,
    MbAsciiToChar = 0x37,
    DefineLocal = 0x3C,
    CallFunction = 0x3D,
    Return = 0x3E,
    NewObject = 0x40,
    InitObject = 0x43,
    TypeOf = 0x44,
    Add2 = 0x47,
    Less2 = 0x48,
    Equals2 = 0x49,
    GetMember = 0x4E,
    SetMember = 0x4F,
    Increment = 0x50,
    CallMethod = 0x52,
};

class Actions {
  public:
    struct Undefined {};
    using Value = std::variant<Undefined, std::nullptr_t, bool, std::int32_t, double, std::string>;

    Actions& push(const std::vector<Value>& values);
    Actions& op(Op code);
    // Jumps to label always, or when the value taken from the stack is true.
    Actions& jump(const std::string& label);
    Actions& ifTrue(const std::string& label);
    // Names the place of the next action (or of the end).
    Actions& label(const std::string& name);
    // A function of the given parameters whose code is body; an empty name leaves the function on
    // the stack (a function literal) instead of defining it in the current scope.
    Actions& defineFunction(const std::string& name, const std::vector<std::string>& params,
                            const Actions& body);

    // with (object) body: runs body with the object taken from the stack first in the scope.
    Actions& with(const Actions& body);
    // Any other action, its operands as given.
    Actions& record(std::uint8_t code, const std::string& data);

    // The encoded actions, without the end action that closes a DoAction tag. Throws
    // std::logic_error for a jump to a label never placed or out of a jump's reach.
    std::string bytes() const;

  private:
    // A block of code that follows the action whose operands end with its size.
    Actions& block(std::uint8_t code, std::string data, const Actions& body);
    Actions& branch(std::uint8_t code, const std::string& label);

    std::string code_;
    std::map<std::string, std::size_t> labels_;
    std::vector<std::pair<std::size_t, std::string>> branches_; // offset field's place, label
};

} // namespace swf
