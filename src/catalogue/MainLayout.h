#pragma once
// Where the catalogue window puts its controls for a given window size, in twips. Positions are
// relative to each control's container: the main tab strip SStab1 and the search bar SouSuoPic sit
// in the window; the home panel HomePic and the sub-tab strip GameSStab in SStab1; the category
// panel BackPic in GameSStab; each browser in its panel, pushed out by a few twips on every side so
// that the panel cuts off its border and scroll bar.

#include "base/Twips.h"

namespace catalogue {

using base::TwipsRect;

// Heights of the tab rows, matching the skinned rows drawn over them (75 and 30 pixels).
inline constexpr int MainTabRowTwips = 1125;
inline constexpr int SubTabRowTwips = 450;
// The search bar's pictures: 297 x 26 and 27 x 26 pixels.
inline constexpr int SearchBarWidthTwips = 4455;
inline constexpr int SearchBarHeightTwips = 390;
inline constexpr int SearchButtonWidthTwips = 405;
// The 我的游戏 button's picture: 96 x 26 pixels.
inline constexpr int LibraryButtonWidthTwips = 1440;

// A page panel and the browser inside it.
struct PanelLayout {
    TwipsRect panel;
    TwipsRect browser;
};

struct MainLayout {
    TwipsRect SStab1;
    TwipsRect SouSuoPic;
    TwipsRect SouSuoText;
    TwipsRect SousuoCmd;
    TwipsRect LibraryCmd; // the 我的游戏 button, in the window above the search bar's right end
    PanelLayout home;     // HomePic and HomeWeb on the home tab
    PanelLayout search;   // HomePic and HomeWeb on the search tab
    TwipsRect GameSStab;  // on the category tabs
    PanelLayout category; // BackPic and Web
    TwipsRect library;    // the 我的游戏 page in SStab1, where the sub-tabs and category pages show

    // innerWidth and innerHeight: the window's inner size; outerWidth: its outer width.
    static MainLayout compute(int innerWidth, int innerHeight, int outerWidth);
    // Every rectangle has a positive width and height: a smaller window (minimised, or dragged
    // smaller than the margins) is neither laid out nor reloaded.
    bool fits() const;
};

} // namespace catalogue
