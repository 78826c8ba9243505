#include "skin/RoundRegion.h"

#include <algorithm>
#include <cmath>

namespace skin {

std::vector<Rect> roundRectBands(int w, int h, int ew, int eh) {
    std::vector<Rect> bands;
    if (w <= 0 || h <= 0) return bands;
    ew = std::min(ew, w);
    eh = std::min(eh, h);
    if (ew < 2 || eh < 2) {
        bands.push_back({0, 0, w, h});
        return bands;
    }
    const double rx = ew / 2.0;
    const double ry = eh / 2.0;
    // Inset of a row from the left and right edges: where the corner ellipse crosses the row's centre.
    auto insetOf = [&](int row) {
        double dy;
        if (row < ry)
            dy = ry - (row + 0.5);
        else if (row >= h - ry)
            dy = (row + 0.5) - (h - ry);
        else
            return 0;
        double t = std::max(0.0, 1.0 - (dy * dy) / (ry * ry));
        return int(std::lround(rx - rx * std::sqrt(t)));
    };
    for (int row = 0; row < h; ++row) {
        int inset = std::min(insetOf(row), w / 2);
        Rect r{inset, row, w - inset, row + 1};
        if (!bands.empty() && bands.back().left == r.left && bands.back().right == r.right &&
            bands.back().bottom == row)
            bands.back().bottom = row + 1;
        else
            bands.push_back(r);
    }
    return bands;
}

} // namespace skin
