#include "TestMovie.h"

#include <vector>

namespace {

// SWF fields are bit-packed, most significant bit first; byte fields are little-endian.
class Bits {
  public:
    void bits(std::uint32_t value, int count) {
        for (int i = count - 1; i >= 0; --i) {
            if (used_ == 0) bytes_.push_back(0);
            if ((value >> i) & 1u) bytes_.back() |= static_cast<char>(0x80 >> used_);
            used_ = (used_ + 1) % 8;
        }
    }
    void align() { used_ = 0; }
    void u8(int v) { align(), bytes_.push_back(static_cast<char>(v)); }
    void u16(int v) { u8(v & 0xff), u8((v >> 8) & 0xff); }
    void u32(std::uint32_t v) { u16(v & 0xffff), u16(v >> 16); }
    void rect(int xmax, int ymax) {
        bits(15, 5);
        bits(0, 15), bits(xmax, 15), bits(0, 15), bits(ymax, 15);
        align();
    }
    void translate(int x, int y) { // MATRIX without scale or rotation
        bits(0, 1), bits(0, 1), bits(15, 5), bits(x & 0x7fff, 15), bits(y & 0x7fff, 15);
        align();
    }
    void tag(int code, const std::string& body) {
        u16((code << 6) | 0x3f);
        u32(static_cast<std::uint32_t>(body.size()));
        bytes_ += body;
    }
    std::string& bytes() { return bytes_; }

  private:
    std::string bytes_;
    int used_ = 0;
};

std::string squareShape() {
    Bits b;
    b.u16(1);                                                // character id
    b.rect(1000, 1000);                                      // bounds in twips: 50 x 50 pixels
    b.u8(1), b.u8(0x00), b.u8(0xe0), b.u8(0x20), b.u8(0x20); // one solid red fill
    b.u8(0);                                                 // no line styles
    b.bits(1, 4), b.bits(0, 4);                              // fill and line index bits
    b.bits(0, 1), b.bits(0b00101, 5), b.bits(2, 5), b.bits(0, 2), b.bits(0, 2),
        b.bits(1, 1);                 // move to 0,0, fill 1
    auto edge = [&](int dx, int dy) { // a general straight edge with 12-bit deltas
        b.bits(1, 1), b.bits(1, 1), b.bits(10, 4), b.bits(1, 1);
        b.bits(dx & 0xfff, 12), b.bits(dy & 0xfff, 12);
    };
    edge(1000, 0), edge(0, 1000), edge(-1000, 0), edge(0, -1000);
    b.bits(0, 6); // end of shape
    b.align();
    return b.bytes();
}

std::string place(bool first, int x) {
    Bits b;
    b.u8(first ? 0x06 : 0x05); // has matrix, and has character the first time or moves afterwards
    b.u16(1);                  // depth
    if (first) b.u16(1);
    b.translate(x, 1000);
    return b.bytes();
}

} // namespace

std::string testMovie(int frames) {
    Bits body;
    body.rect(4000, 3000);
    body.u16(12 << 8); // 12 frames per second, 8.8 fixed point
    body.u16(frames);
    body.tag(9, std::string{"\x20\x40\xa0", 3}); // blue background
    body.tag(2, squareShape());
    for (int i = 0; i < frames; ++i) {
        body.tag(26, place(i == 0, 200 + i * 2600 / frames));
        body.tag(1, "");
    }
    body.tag(0, "");
    Bits file;
    file.bytes() = "FWS";
    file.u8(10);
    file.u32(static_cast<std::uint32_t>(8 + body.bytes().size()));
    return file.bytes() + body.bytes();
}
