#include "Actions.h"

#include "LittleEndian.h"

#include <bit>
#include <stdexcept>

namespace swf {

namespace {

void text(std::string& out, const std::string& s) {
    out += s;
    out += '\0';
}

} // namespace

Actions& Actions::record(std::uint8_t code, const std::string& data) {
    code_ += static_cast<char>(code);
    if (code >= 0x80) {
        if (data.size() > 0xFFFF) throw std::logic_error("action data longer than 65535 bytes");
        u16(code_, static_cast<std::uint16_t>(data.size()));
        code_ += data;
    }
    return *this;
}

Actions& Actions::push(const std::vector<Value>& values) {
    std::string data;
    for (const Value& value : values) {
        if (std::holds_alternative<std::string>(value)) {
            data += '\0';
            text(data, std::get<std::string>(value));
        } else if (std::holds_alternative<std::nullptr_t>(value)) {
            data += '\2';
        } else if (std::holds_alternative<Undefined>(value)) {
            data += '\3';
        } else if (std::holds_alternative<bool>(value)) {
            data += '\5';
            data += static_cast<char>(std::get<bool>(value));
        } else if (std::holds_alternative<double>(value)) {
            // The high word first, each word little-endian.
            const auto bits = std::bit_cast<std::uint64_t>(std::get<double>(value));
            data += '\6';
            u32(data, static_cast<std::uint32_t>(bits >> 32));
            u32(data, static_cast<std::uint32_t>(bits));
        } else {
            data += '\7';
            u32(data, static_cast<std::uint32_t>(std::get<std::int32_t>(value)));
        }
    }
    return record(0x96, data);
}

Actions& Actions::op(Op code) {
    return record(static_cast<std::uint8_t>(code), {});
}

Actions& Actions::branch(std::uint8_t code, const std::string& label) {
    record(code, std::string(2, '\0'));
    branches_.emplace_back(code_.size() - 2, label);
    return *this;
}

Actions& Actions::jump(const std::string& label) {
    return branch(0x99, label);
}

Actions& Actions::ifTrue(const std::string& label) {
    return branch(0x9D, label);
}

Actions& Actions::label(const std::string& name) {
    if (!labels_.emplace(name, code_.size()).second)
        throw std::logic_error("label " + name + " placed twice");
    return *this;
}

Actions& Actions::defineFunction(const std::string& name, const std::vector<std::string>& params,
                                 const Actions& body) {
    std::string data;
    text(data, name);
    u16(data, static_cast<std::uint16_t>(params.size()));
    for (const auto& param : params)
        text(data, param);
    return block(0x9B, data, body);
}

Actions& Actions::with(const Actions& body) {
    return block(0x94, {}, body);
}

Actions& Actions::block(std::uint8_t code, std::string data, const Actions& body) {
    const std::string bodyCode = body.bytes();
    if (bodyCode.size() > 0xFFFF) throw std::logic_error("a block longer than 65535 bytes");
    u16(data, static_cast<std::uint16_t>(bodyCode.size()));
    record(code, data);
    code_ += bodyCode;
    return *this;
}

std::string Actions::bytes() const {
    std::string out = code_;
    for (const auto& [at, label] : branches_) {
        const auto target = labels_.find(label);
        if (target == labels_.end()) throw std::logic_error("jump to label " + label + " never placed");
        // Relative to the action after the branch, which begins right after its offset field.
        const auto offset = static_cast<std::ptrdiff_t>(target->second) - static_cast<std::ptrdiff_t>(at + 2);
        if (offset < INT16_MIN || offset > INT16_MAX)
            throw std::logic_error("jump to label " + label + " too far");
        out[at] = static_cast<char>(offset & 0xFF);
        out[at + 1] = static_cast<char>((offset >> 8) & 0xFF);
    }
    return out;
}

} // namespace swf
