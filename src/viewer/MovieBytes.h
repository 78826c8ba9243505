#pragma once
// The bytes of a Flash movie as its strings are rewritten (CodePageMovie, ActionCode): reading
// numbers, strings and bit fields, and writing numbers. Reading past the end, a string without its
// end and a number too large for its field throw CannotRewrite, which leaves the movie as it is.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace viewer {

// Thrown for anything that keeps a movie from being rewritten: damaged data, a string that is not
// of the code page, actions that would outgrow their fields.
struct CannotRewrite {};

[[noreturn]] inline void cannotRewrite() {
    throw CannotRewrite{};
}

class MovieBytes {
  public:
    explicit MovieBytes(std::string_view bytes) : bytes_(bytes) {}

    std::size_t pos() const { return pos_; }
    std::size_t left() const { return bytes_.size() - pos_; }
    bool atEnd() const { return pos_ == bytes_.size(); }

    std::string_view bytes(std::size_t n) {
        if (n > left()) cannotRewrite();
        const auto part = bytes_.substr(pos_, n);
        pos_ += n;
        return part;
    }
    std::string_view rest() { return bytes(left()); }
    // The bytes read since start.
    std::string_view since(std::size_t start) const { return bytes_.substr(start, pos_ - start); }
    std::uint8_t u8() { return static_cast<std::uint8_t>(bytes(1)[0]); }
    std::uint16_t u16() {
        const auto b = bytes(2);
        return static_cast<std::uint16_t>(byte(b, 0) | byte(b, 1) << 8);
    }
    std::uint32_t u32() {
        const auto b = bytes(4);
        return byte(b, 0) | byte(b, 1) << 8 | byte(b, 2) << 16 | static_cast<std::uint32_t>(byte(b, 3)) << 24;
    }
    // A string up to its terminating zero (which is consumed, not returned).
    std::string_view cstring() {
        const auto end = bytes_.find('\0', pos_);
        if (end == std::string_view::npos) cannotRewrite();
        const auto text = bytes_.substr(pos_, end - pos_);
        pos_ = end + 1;
        return text;
    }

    // Bit fields, most significant bit first; a structure of them ends on a byte boundary.
    std::uint32_t bits(int n) {
        std::uint32_t value = 0;
        for (int i = 0; i < n; ++i) {
            if (bit_ == 0) {
                current_ = u8();
                bit_ = 8;
            }
            --bit_;
            value = value << 1 | ((current_ >> bit_) & 1u);
        }
        return value;
    }
    void align() { bit_ = 0; }

    void skipRect() {
        const int n = static_cast<int>(bits(5));
        bits(4 * n);
        align();
    }
    void skipMatrix() {
        for (int part = 0; part < 2; ++part) // scale, then rotation: each optional
            if (bits(1)) bits(2 * static_cast<int>(bits(5)));
        bits(2 * static_cast<int>(bits(5)));
        align();
    }
    void skipColorTransform() {
        const bool add = bits(1), multiply = bits(1);
        const int n = static_cast<int>(bits(4));
        bits(((add ? 4 : 0) + (multiply ? 4 : 0)) * n);
        align();
    }

  private:
    static std::uint32_t byte(std::string_view b, std::size_t i) { return static_cast<unsigned char>(b[i]); }

    std::string_view bytes_;
    std::size_t pos_ = 0;
    int bit_ = 0;
    std::uint8_t current_ = 0;
};

// The bytes of a "FWS" or "CWS" movie after its 8-byte header, decompressed for a "CWS" one: at
// most limit of them, all when limit is past the end. Throws CannotRewrite for a broken stream or a
// length that no movie of its size has.
std::string movieBody(std::string_view movie, std::size_t limit = SIZE_MAX);

// Little-endian numbers appended to out, or written over its bytes from at.
void put16(std::string& out, std::uint32_t value);
void put32(std::string& out, std::uint32_t value);
void patch16(std::string& out, std::size_t at, std::uint32_t value);

} // namespace viewer
