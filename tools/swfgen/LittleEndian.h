#pragma once
// The format's numbers: little-endian, appended to a byte string.

#include <cstdint>
#include <string>

namespace swf {

inline void u8(std::string& out, std::uint8_t v) {
    out += static_cast<char>(v);
}

inline void u16(std::string& out, std::uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

inline void u32(std::string& out, std::uint32_t v) {
    u16(out, static_cast<std::uint16_t>(v & 0xFFFF));
    u16(out, static_cast<std::uint16_t>(v >> 16));
}

} // namespace swf
