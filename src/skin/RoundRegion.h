#pragma once
// The window shape: a rectangle with corners rounded by an ellipse of ew x eh pixels, as
// horizontal bands of equal rows (the platform's round-rectangle region, as rectangles that a
// widget mask can be built from).

#include "skin/Rect.h"

#include <vector>

namespace skin {

// Bands covering the round rectangle from (0, 0) to (w, h), right and bottom exclusive. An ellipse
// of 0 or less in either direction (or a tiny one) gives the plain rectangle; an ellipse larger
// than the rectangle is cut to it.
std::vector<Rect> roundRectBands(int w, int h, int ew, int eh);

} // namespace skin
