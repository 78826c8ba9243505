#pragma once
// The format's numbers, little-endian, and its tags, appended to a byte string.

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

// A tag: its header (the short form for a body under 63 bytes) and body.
inline std::string tagged(std::uint16_t code, const std::string& body) {
    std::string out;
    if (body.size() < 0x3F) {
        u16(out, static_cast<std::uint16_t>(code << 6 | body.size()));
    } else {
        u16(out, static_cast<std::uint16_t>(code << 6 | 0x3F));
        u32(out, static_cast<std::uint32_t>(body.size()));
    }
    return out + body;
}

} // namespace swf
