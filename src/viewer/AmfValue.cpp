#include "viewer/AmfValue.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace viewer {

const AmfValue* AmfValue::member(std::string_view name) const {
    for (const auto& [key, value] : members)
        if (key == name) return &value;
    return nullptr;
}

namespace {

void quote(std::string& out, std::string_view text) {
    out += '"';
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    out += '"';
}

void number(std::string& out, double value) {
    if (std::isnan(value)) {
        out += "NaN";
        return;
    }
    if (std::isinf(value)) {
        out += value < 0 ? "-Infinity" : "Infinity";
        return;
    }
    char digits[32];
    auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, error == std::errc() ? end : digits);
}

void write(std::string& out, const AmfValue& value);

void writeItems(std::string& out, const std::vector<AmfValue>& items, const char* separator) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i) out += separator;
        write(out, items[i]);
    }
}

void writeMembers(std::string& out, const std::vector<AmfValue::Member>& members, bool first) {
    for (const auto& [key, item] : members) {
        if (!first) out += ", ";
        first = false;
        quote(out, key);
        out += ": ";
        write(out, item);
    }
}

void write(std::string& out, const AmfValue& value) {
    using Type = AmfValue::Type;
    switch (value.type) {
    case Type::Undefined:
        out += "undefined";
        break;
    case Type::Null:
        out += "null";
        break;
    case Type::Boolean:
        out += value.boolean ? "true" : "false";
        break;
    case Type::Integer:
        out += std::to_string(value.integer);
        break;
    case Type::Number:
        number(out, value.number);
        break;
    case Type::String:
        quote(out, value.text);
        break;
    case Type::Date:
        out += "Date(";
        number(out, value.number);
        out += ')';
        break;
    case Type::Xml:
        out += "XML(";
        quote(out, value.text);
        out += ')';
        break;
    case Type::ByteArray:
        out += "ByteArray(" + std::to_string(value.text.size()) + " bytes)";
        break;
    case Type::Array:
        out += '[';
        writeItems(out, value.items, ", ");
        writeMembers(out, value.members, value.items.empty());
        out += ']';
        break;
    case Type::Object:
        if (!value.className.empty()) out += value.className + ' ';
        out += '{';
        writeMembers(out, value.members, true);
        out += '}';
        break;
    case Type::Vector:
        out += "Vector[";
        writeItems(out, value.items, ", ");
        out += ']';
        break;
    case Type::Dictionary:
        out += "Dictionary{";
        for (std::size_t i = 0; i + 1 < value.items.size(); i += 2) {
            if (i) out += ", ";
            write(out, value.items[i]);
            out += ": ";
            write(out, value.items[i + 1]);
        }
        out += '}';
        break;
    }
}

} // namespace

std::string AmfValue::toText() const {
    std::string out;
    write(out, *this);
    return out;
}

} // namespace viewer
