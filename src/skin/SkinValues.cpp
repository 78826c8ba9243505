#include "skin/SkinValues.h"

#include "base/Numbers.h"
#include "base/Text.h"

namespace skin {

namespace {

// The conversion of Skin.ini numbers: blanks around ignored, halves to even, "&H" hexadecimal.
void readInto(const SkinKeyReader& read, std::string_view key, int& value) {
    if (auto v = base::toInt32(read(key))) value = *v;
}

} // namespace

std::optional<ButtonKeys> ButtonKeys::read(const SkinKeyReader& read) {
    ButtonKeys keys;
    auto height = base::toInt32(read("Cmd.Height"));
    if (!height) return std::nullopt;
    auto closeWidth = base::toInt32(read("CmdClose.Width"));
    if (!closeWidth) return std::nullopt;
    auto top = base::toInt32(read("Cmd.Top"));
    if (!top) return std::nullopt;
    // Cmd.Left may be fractional; it is rounded only together with the client width.
    std::string leftText = base::trimBlanks(read("Cmd.Left"));
    auto leftWhole = base::toInt32(leftText);
    if (!leftWhole) return std::nullopt;
    auto width = base::toInt32(read("Cmd.Width"));
    if (!width) return std::nullopt;
    keys.height = *height;
    keys.closeWidth = *closeWidth;
    keys.top = *top;
    keys.left = leftText.starts_with("&") ? *leftWhole : base::leadingNumber(leftText);
    keys.width = *width;
    return keys;
}

void SkinValues::read(const SkinKeyReader& read) {
    readInto(read, "TopLeft", topLeft);
    readInto(read, "TopRight", topRight);
    readInto(read, "TopCeter", topCeter);
    readInto(read, "TopHeight", topHeight);
    readInto(read, "CetLeft", cetLeft);
    readInto(read, "CetRight", cetRight);
    readInto(read, "CetCeter", cetCeter);
    readInto(read, "CetHeight", cetHeight);
    readInto(read, "BotLeft", botLeft);
    readInto(read, "BotRight", botRight);
    readInto(read, "BotCeter", botCeter);
    readInto(read, "BotHeight", botHeight);
    if (base::trimBlanks(read("CaptionColor")).empty())
        captionColor = White;
    else if (auto v = base::toInt32(read("CaptionColor")))
        captionColor = *v;
    readInto(read, "SizeX1", sizeX1);
    readInto(read, "SizeY1", sizeY1);
}

std::array<BlitCopy, 9> SkinValues::framePieces(int bw, int bh, int W, int H) const {
    // Corners are anchored to the bitmap's corners; the right and bottom edges sit at the sums of
    // the widths and heights before them.
    return {{
        {W - cetRight, topHeight, cetRight, H - topHeight, cetLeft + cetCeter, topHeight, cetRight, cetHeight,
         true},
        {cetLeft, topHeight, W - cetLeft - cetRight, H - topHeight - botHeight, cetLeft, topHeight, cetCeter,
         cetHeight, true},
        {0, topHeight, cetLeft, H - topHeight, 0, topHeight, cetLeft, cetHeight, true},
        {botLeft, H - botHeight, W - botLeft - botRight, botHeight, botLeft, topHeight + cetHeight, botCeter,
         botHeight, true},
        {W - botRight, H - botHeight, botRight, botHeight, bw - botRight, bh - botHeight, botRight, botHeight,
         false},
        {0, H - botHeight, botLeft, botHeight, 0, bh - botHeight, botLeft, botHeight, false},
        {topLeft, 0, W - topRight - topLeft, topHeight, topLeft, 0, topCeter, topHeight, true},
        {W - topRight, 0, topRight, topHeight, bw - topRight, 0, topRight, topHeight, false},
        {0, 0, topLeft, topHeight, 0, 0, topLeft, topHeight, false},
    }};
}

Rect buttonImage(const ButtonKeys& keys, int sw, int index, int state, bool maximised) {
    // Columns counted from the right edge: close, restore, maximise, minimise, skin menu.
    int column = index == 0 ? 0 : index == 1 ? (maximised ? 1 : 2) : index + 1;
    int width = index == 0 ? keys.closeWidth : keys.width;
    int left = sw - keys.closeWidth - (column == 0 ? 0 : column * keys.width);
    return Rect::fromSize(left, state * keys.height, width, keys.height);
}

} // namespace skin
