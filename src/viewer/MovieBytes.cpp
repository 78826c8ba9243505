#include "viewer/MovieBytes.h"

namespace viewer {

void put16(std::string& out, std::uint32_t value) {
    if (value > 0xFFFF) cannotRewrite();
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

void patch16(std::string& out, std::size_t at, std::uint32_t value) {
    if (value > 0xFFFF) cannotRewrite();
    out[at] = static_cast<char>(value & 0xFF);
    out[at + 1] = static_cast<char>(value >> 8);
}

} // namespace viewer
