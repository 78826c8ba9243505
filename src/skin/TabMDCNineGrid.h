#pragma once
// The arithmetic of the tab strip's nine-grid blit: which stretch copies compose a w x h picture
// from a source rectangle cut by four margins.
//
// The tab images are 13 pixels wide with 7-pixel side margins, so their horizontal middle has a
// source width of 13 - 7 - 7 = -1. The stretch copy takes that as the mirrored column left of the
// middle's start (column 6), and the right-hand pieces start at column 6 too; the pieces are kept as
// they are, negative widths included, so the tabs look as their images were drawn for.

#include "skin/BlitCopy.h"

#include <cstdint>
#include <vector>

namespace skin {

struct NineGridMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const NineGridMargins&, const NineGridMargins&) = default;
};

// The copies that draw source (sx, sy, sw, sh) as a nine-grid onto (x, y, w, h), in drawing order:
// the four corners 1:1, then the left, right, top and bottom edges and the centre stretched. With
// all margins 0 or less, one stretch of (sx + L, sy + T, sw - R, sh - B) over the whole area. Empty
// when w, h, sw or sh is 0. Numbers are computed in 64 bits and kept within +-2^29, so absurd sizes
// or margins give harmless copies instead of overflowing.
std::vector<BlitCopy> nineGridCopies(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h, int sx,
                                     int sy, int sw, int sh, const NineGridMargins& margins);

// Whether the margins ask for the corner and edge pieces (any margin above 0) or one plain stretch.
bool hasNineGridPieces(const NineGridMargins& margins);

} // namespace skin
