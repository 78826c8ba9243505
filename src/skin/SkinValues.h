#pragma once
// The numbers of a skin's Skin.ini, section Main, and how they cut main.bmp into nine pieces and
// SysButton.bmp into button images. All lengths are bitmap and client pixels.

#include "skin/BlitCopy.h"
#include "skin/Rect.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace skin {

// Reads the text of one key of section Main ("" when missing).
using SkinKeyReader = std::function<std::string(std::string_view key)>;

// The five caption-button keys, read again at every layout. All are required.
struct ButtonKeys {
    int height = 0;     // Cmd.Height: every button, and one state row of SysButton.bmp
    int closeWidth = 0; // CmdClose.Width
    int top = 0;        // Cmd.Top
    double left = 0;    // Cmd.Left: close button's right edge from the client's right edge
    int width = 0;      // Cmd.Width: the other three buttons

    // Nothing when one of the keys is missing or not a number (the layout then stops).
    static std::optional<ButtonKeys> read(const SkinKeyReader& read);
};

struct SkinValues {
    static constexpr std::int32_t White = 16777215;

    int topLeft = 0, topRight = 0, topCeter = 0, topHeight = 0;
    int cetLeft = 0, cetRight = 0, cetCeter = 0, cetHeight = 0;
    int botLeft = 0, botRight = 0, botCeter = 0, botHeight = 0;
    std::int32_t captionColor = 0;
    int sizeX1 = 0, sizeY1 = 0;

    // Reads the fifteen values. A missing or non-numeric key keeps the value held before; an empty
    // or missing CaptionColor means white.
    void read(const SkinKeyReader& read);

    // The nine copies of main.bmp (bitmap size bw x bh) that compose a frame of W x H, in drawing
    // order: right edge, centre, left edge, bottom edge, bottom-right, bottom-left, top edge,
    // top-right, top-left. Later copies cover earlier ones.
    std::array<BlitCopy, 9> framePieces(int bw, int bh, int W, int H) const;
};

// Source rectangle in SysButton.bmp (width sw) of button index 0..3 in state 0..2 (normal, mouse
// over, pressed). Button 1 takes the restore column while maximised, the maximise column otherwise.
Rect buttonImage(const ButtonKeys& keys, int sw, int index, int state, bool maximised);

} // namespace skin
