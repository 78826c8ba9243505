#include "catalogue/MainLayout.h"

#include <initializer_list>

namespace catalogue {

namespace {

// HomeWeb in HomePic on the home tab: wider, so its vertical scroll bar is cut off on the right.
PanelLayout homePanel(const TwipsRect& s, int panelTop) {
    const TwipsRect panel{s.left + 30, s.top + MainTabRowTwips + panelTop, s.width - 60,
                          s.height - MainTabRowTwips - 900};
    return {panel, {-50, -50, panel.width + 500, panel.height + 100}};
}

} // namespace

MainLayout MainLayout::compute(int innerWidth, int innerHeight, int outerWidth) {
    MainLayout l;
    l.SStab1 = {60, 405, innerWidth - 100, innerHeight - 900};
    l.SouSuoPic = {outerWidth - SearchBarWidthTwips - 150, 1050, SearchBarWidthTwips, SearchBarHeightTwips};
    l.SouSuoText = {375, 75, SearchBarWidthTwips - 825, SearchBarHeightTwips - 150};
    l.SousuoCmd = {SearchBarWidthTwips - SearchButtonWidthTwips, 0, SearchButtonWidthTwips,
                   SearchBarHeightTwips};
    l.LibraryCmd = {outerWidth - LibraryButtonWidthTwips - 150, l.SouSuoPic.top - SearchBarHeightTwips - 90,
                    LibraryButtonWidthTwips, SearchBarHeightTwips};

    const TwipsRect& s = l.SStab1;
    l.home = homePanel(s, 800);
    l.search = homePanel(s, 450);
    // The search results keep the panel's width but reach further down.
    l.search.browser = {-50, -50, l.search.panel.width, l.search.panel.height + 350};

    l.GameSStab = {s.left + 30, s.top + MainTabRowTwips + 450, s.width - 120,
                   s.height - MainTabRowTwips - 900};
    const TwipsRect& g = l.GameSStab;
    const TwipsRect back{g.left + 30, SubTabRowTwips + 200, g.width - 50, g.height - SubTabRowTwips - 100};
    l.category = {back, {-50, -100, back.width + 500, back.height + 80}};
    // Right under the tab row, down to where the sub-tab strip ends.
    l.library = {g.left, MainTabRowTwips + 120, g.width, g.top + g.height - MainTabRowTwips - 120};
    return l;
}

bool MainLayout::fits() const {
    for (const TwipsRect* r : {&SStab1, &SouSuoText, &home.panel, &home.browser, &search.panel,
                               &search.browser, &GameSStab, &category.panel, &category.browser}) {
        if (r->width <= 0 || r->height <= 0) return false;
    }
    return true;
}

} // namespace catalogue
