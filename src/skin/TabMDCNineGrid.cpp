#include "skin/TabMDCNineGrid.h"

#include <algorithm>

namespace skin {

namespace {

constexpr std::int64_t Limit = std::int64_t(1) << 29;

int bounded(std::int64_t v) {
    return static_cast<int>(std::clamp(v, -Limit, Limit));
}

// Collects copies in 64-bit arithmetic and bounds them once.
class Copies {
  public:
    Copies(std::int64_t x, std::int64_t y) : x_(x), y_(y) {}
    void corner(std::int64_t dx, std::int64_t dy, std::int64_t w, std::int64_t h, std::int64_t sx,
                std::int64_t sy) {
        list_.push_back({bounded(x_ + dx), bounded(y_ + dy), bounded(w), bounded(h), bounded(sx), bounded(sy),
                         bounded(w), bounded(h), false});
    }
    void stretch(std::int64_t dx, std::int64_t dy, std::int64_t dw, std::int64_t dh, std::int64_t sx,
                 std::int64_t sy, std::int64_t sw, std::int64_t sh) {
        list_.push_back({bounded(x_ + dx), bounded(y_ + dy), bounded(dw), bounded(dh), bounded(sx),
                         bounded(sy), bounded(sw), bounded(sh), true});
    }
    std::vector<BlitCopy> take() { return std::move(list_); }

  private:
    std::int64_t x_, y_;
    std::vector<BlitCopy> list_;
};

} // namespace

bool hasNineGridPieces(const NineGridMargins& m) {
    return m.left > 0 || m.top > 0 || m.right > 0 || m.bottom > 0;
}

std::vector<BlitCopy> nineGridCopies(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h, int sx,
                                     int sy, int sw, int sh, const NineGridMargins& m) {
    if (w == 0 || h == 0 || sw == 0 || sh == 0) return {};
    Copies c(x, y);
    const std::int64_t L = m.left, T = m.top, R = m.right, B = m.bottom;
    const std::int64_t SX = sx, SY = sy, SW = sw, SH = sh;
    if (!hasNineGridPieces(m)) {
        c.stretch(0, 0, w, h, SX + L, SY + T, SW - R, SH - B);
        return c.take();
    }
    if (L > 0 && T > 0) c.corner(0, 0, L, T, SX, SY);
    if (R > 0 && T > 0) c.corner(w - R, 0, R, T, SX + SW - R, SY);
    if (L > 0 && B > 0) c.corner(0, h - B, L, B, SX, SY + SH - B);
    if (R > 0 && B > 0) c.corner(w - R, h - B, R, B, SX + SW - R, SY + SH - B);
    const std::int64_t middleW = w - L - R, middleH = h - T - B;
    const std::int64_t sourceMiddleW = SW - L - R, sourceMiddleH = SH - T - B;
    if (L > 0) c.stretch(0, T, L, middleH, SX, SY + T, L, sourceMiddleH);
    if (R > 0) c.stretch(w - R, T, R, middleH, SX + SW - R, SY + T, R, sourceMiddleH);
    if (T > 0) c.stretch(L, 0, middleW, T, SX + L, SY, sourceMiddleW, T);
    if (B > 0) c.stretch(L, h - B, middleW, B, SX + L, SY + SH - B, sourceMiddleW, B);
    c.stretch(L, T, middleW, middleH, SX + L, SY + T, sourceMiddleW, sourceMiddleH);
    return c.take();
}

} // namespace skin
