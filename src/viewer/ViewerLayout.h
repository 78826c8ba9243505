#pragma once
// Where the app viewer puts its controls, in twips. The tab control GameSStabs and the progress bar
// N1 sit in the window; the frames of the tabs (Frm, GameSour, AppPic, ADPic) and the player lie
// in GameSStabs; the text boxes and the page browsers in their frames.

#include "base/Twips.h"

namespace viewer {

using base::TwipsRect;

// The window's size when it opens and the height of its tab row.
inline constexpr int WindowWidthTwips = 15000;
inline constexpr int WindowHeightTwips = 10920;
inline constexpr int TabRowTwips = 1000;
// The skinned tabs, in pixels.
inline constexpr int TabWidthPixels = 150;
inline constexpr int TabHeightPixels = 30;
// The progress bar's pictures, in pixels.
inline constexpr int ProgressWidthPixels = 287;
inline constexpr int ProgressHeightPixels = 29;

struct ViewerLayout {
    // N1 centred in the window's outer size.
    static TwipsRect progressBar(int windowWidth, int windowHeight, int barWidth, int barHeight);
    // GameSStabs: over the whole inner area in full screen, otherwise inside the skinned frame.
    static TwipsRect tabs(bool fullScreen, int innerWidth, int innerHeight);
    // Frm, GameSour, AppPic and ADPic on their tabs, for the tab control at tabs with tab row T.
    static TwipsRect tabFrame(const TwipsRect& tabs, int T);
    // The player: as a tab frame, but from the tab control's left edge.
    static TwipsRect player(const TwipsRect& tabs, int T);
    // GameInfo and GameLY inside their frames.
    static TwipsRect textBox(const TwipsRect& frame);
    // AppWeb and ADWeb inside their frames: 30 twips past the left edge and 90 past the top, so the
    // frame cuts off the page's left and top border, and flush with the right and bottom edges.
    static TwipsRect pageBrowser(const TwipsRect& frame);
};

} // namespace viewer
