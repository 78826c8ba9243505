#include "controls/qt/SystemColour.h"

#include "base/ColorRef.h"

QColor systemColour(std::int32_t value, const QPalette& palette, QPalette::ColorRole unknownSystemColour) {
    if (!base::isSystemColor(value))
        return QColor(base::colorRefRed(value), base::colorRefGreen(value), base::colorRefBlue(value));
    switch (base::systemColorIndex(value)) {
    case 0x05:
        return palette.color(QPalette::Base); // window background
    case 0x08:
        return palette.color(QPalette::Text); // window text
    case 0x0D:
        return palette.color(QPalette::Highlight); // selection
    case 0x0E:
        return palette.color(QPalette::HighlightedText); // selected text
    case 0x0F:
        return palette.color(QPalette::Button); // button face
    case 0x12:
        return palette.color(QPalette::ButtonText); // button text
    default:
        return palette.color(unknownSystemColour);
    }
}
