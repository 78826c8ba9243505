#pragma once
// The bytes of Flash saves (.sol files) as Flash Player and Ruffle write them, for the tests of the
// reader and of the saves handed to movies.

#include <string>

inline std::string u16(unsigned v) {
    return {static_cast<char>(v >> 8), static_cast<char>(v & 0xff)};
}
inline std::string u32(unsigned v) {
    return u16(v >> 16) + u16(v & 0xffff);
}

// A whole .sol file around body.
inline std::string sol(const std::string& name, int version, const std::string& body) {
    std::string rest = std::string("TCSO\0\x04\0\0\0\0", 10) + u16(name.size()) + name +
                       std::string(3, '\0') + static_cast<char>(version) + body;
    return std::string("\0\xbf", 2) + u32(rest.size()) + rest;
}

inline std::string amf3Text(const std::string& s) {
    return static_cast<char>(s.size() << 1 | 1) + s;
}

// An AMF3 variable-length integer (up to 29 bits).
inline std::string u29(unsigned v) {
    const auto c = [](unsigned b) { return static_cast<char>(b); };
    if (v < 0x80) return {c(v)};
    if (v < 0x4000) return {c(v >> 7 | 0x80), c(v & 0x7f)};
    if (v < 0x200000) return {c(v >> 14 | 0x80), c((v >> 7 & 0x7f) | 0x80), c(v & 0x7f)};
    return {c(v >> 22 | 0x80), c((v >> 15 & 0x7f) | 0x80), c((v >> 8 & 0x7f) | 0x80), c(v & 0xff)};
}

// An AMF3 save whose value "a" is depth arrays, each inside the one before.
inline std::string nestedSave(int depth) {
    std::string body = amf3Text("a");
    body.reserve(body.size() + 3 * static_cast<std::size_t>(depth) + 2);
    for (int i = 0; i < depth; ++i)
        body += "\x09\x03\x01"; // a dense array of one item, no named ones
    body += "\x01";             // the innermost item: null
    return sol("x", 3, body + '\0');
}
