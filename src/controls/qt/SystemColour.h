#pragma once
// The colours of the controls' colour properties on screen.

#include <QColor>
#include <QPalette>
#include <cstdint>

// A colour integer (lowest byte red; top bit set: a system colour) as a Qt colour. System colours
// take the palette's colour of the same use; those without one take the role unknownSystemColour.
QColor systemColour(std::int32_t value, const QPalette& palette, QPalette::ColorRole unknownSystemColour);
