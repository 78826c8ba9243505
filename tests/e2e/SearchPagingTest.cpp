// Searching and paging in the catalogue window against the built appstore: the search box with
// Chinese words and spaces, a store search caught inside the home page, and the paging bar.

#include "CatalogueSession.h"
#include "catalogue/PagingBarLayout.h"
#include "catalogue/qt/PagingBar.h"
#include "catalogue/qt/PictureButton.h"
#include "catalogue/qt/SearchBar.h"
#include "skin/qt/SSTab.h"
#include "web/qt/WebBrowser.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineScript>
#include <gtest/gtest.h>

namespace {

constexpr int HomeTab = 0, GamesTab = 1, SearchTab = 7;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Chinese words arrive as an input method's committed text.
void typeText(QWidget* box, const QString& text) {
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(box, &commit);
}

// What the bar shows: the captions of the visible page buttons, the red one marked with "*".
std::string shownPages(PagingBar& bar) {
    std::string shown;
    for (int i = 0; i < catalogue::kPageButtonCount; ++i) {
        if (!bar.PagePic(i)->isVisible()) continue;
        const bool red = bar.PageLabe(i)->palette().color(QPalette::WindowText) == QColor(255, 0, 0);
        shown += bar.PageLabe(i)->text().toStdString() + (red ? "* " : " ");
    }
    return shown;
}

// The bar's buttons stand where the layout rule puts them for the strip's width and the paging
// file's links.
void expectBarLaidOut(MainFrm& window) {
    PagingBar& bar = *window.pagingBar();
    const auto expected =
        catalogue::LayOutPagingBar(window.GameSStab()->width() * 15, bar.Addresses(), bar.PageLinks());
    const auto x = [](int twips) { return qRound(twips / 15.0); };
    EXPECT_EQ(bar.NexitPic(0)->isVisible(), expected.next.visible);
    if (expected.next.visible) EXPECT_EQ(bar.NexitPic(0)->pos(), QPoint(x(expected.next.left), 3));
    EXPECT_EQ(bar.NexitPic(1)->isVisible(), expected.previous.visible);
    if (expected.previous.visible) EXPECT_EQ(bar.NexitPic(1)->pos(), QPoint(x(expected.previous.left), 3));
    for (int i = 0; i < catalogue::kPageButtonCount; ++i) {
        EXPECT_EQ(bar.PagePic(i)->isVisible(), expected.pages[i].visible);
        if (expected.pages[i].visible) EXPECT_EQ(bar.PagePic(i)->pos(), QPoint(x(expected.pages[i].left), 3));
    }
}

} // namespace

TEST(SearchPagingTest, SearchBoxSendsChineseWordsAndSpacesAsTyped) {
    CatalogueSession session;
    session.open();
    session.newRequests();
    MainFrm& window = session.window();
    QLineEdit* box = window.SouSuoPic()->SouSuoText();

    // Focusing the box selects the initial text, so typing replaces it; Enter searches.
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(30, 8));
    QTRY_COMPARE(box->selectedText(), QString("应用搜索"));
    PageWatch watch(*window.HomeWeb());
    typeText(box, "象棋 游戏");
    QTest::keyClick(box, Qt::Key_Return);
    ASSERT_TRUE(watch.waitFor(session.folder().path(), "SouSuo"));
    EXPECT_EQ(window.SStab1()->currentTab(), SearchTab);
    EXPECT_EQ(window.searchUrl(), session.store().site() + "/appweb/search?w=象棋 游戏");
    EXPECT_EQ(session.newRequests(),
              std::vector<std::string>{"GET /appweb/search?w=%E8%B1%A1%E6%A3%8B%20%E6%B8%B8%E6%88%8F"});
    const std::string results = session.bodyText(*window.HomeWeb());
    EXPECT_TRUE(contains(results, "象棋 游戏")) << results;
    EXPECT_TRUE(contains(results, "中国象棋")) << results;

    // The button searches again on the same tab. The spaces reach the store as typed, except those
    // that end the address, which the fetch drops as a browser does.
    PageWatch again(*window.HomeWeb());
    box->setText(" 贪吃蛇  ");
    QTest::mouseClick(window.SouSuoPic()->SousuoCmd(), Qt::LeftButton);
    ASSERT_TRUE(again.waitFor(session.folder().path(), "SouSuo"));
    EXPECT_EQ(session.newRequests(),
              std::vector<std::string>{"GET /appweb/search?w=%20%E8%B4%AA%E5%90%83%E8%9B%87"});
    EXPECT_TRUE(contains(session.bodyText(*window.HomeWeb()), "贪吃蛇"));

    // An empty box does nothing: the search it asks for builds no page, so nothing will reach the store.
    box->clear();
    QSignalSpy asked(window.SouSuoPic(), &SearchBar::searchRequested);
    QTest::keyClick(box, Qt::Key_Return);
    ASSERT_EQ(asked.count(), 1);
    EXPECT_EQ(window.pageBuildsRunning(), 0);
    EXPECT_TRUE(session.newRequests().empty());
    EXPECT_EQ(window.searchUrl(), session.store().site() + "/appweb/search?w= 贪吃蛇  ");
}

TEST(SearchPagingTest, StoreSearchLinkInTheHomePageShowsTheLocalSearchPageOnTheHomeTab) {
    CatalogueSession session;
    session.open();
    session.newRequests();
    MainFrm& window = session.window();
    PageWatch watch(*window.HomeWeb());
    // A hot word of the store's home page links to the store's search.
    window.HomeWeb()->page()->runJavaScript("document.querySelector('.hot-words a').click()",
                                            QWebEngineScript::ApplicationWorld);
    ASSERT_TRUE(watch.waitFor(session.folder().path(), "SouSuo"));
    EXPECT_EQ(window.SStab1()->currentTab(), HomeTab);
    EXPECT_TRUE(window.searchUrl().empty());
    EXPECT_EQ(session.newRequests(), std::vector<std::string>{"GET /appweb/search?w=%E6%B8%B8%E6%88%8F"});
    EXPECT_TRUE(contains(session.bodyText(*window.HomeWeb()), "搜索“游戏”"));
    // Only the local page loaded: the store's own search page never did.
    for (const std::string& page : watch.loaded())
        EXPECT_EQ(page, "SouSuo.html");
}

TEST(SearchPagingTest, PagingForwardAndBackLaysOutTheBarForEachPage) {
    CatalogueSession session;
    session.open();
    MainFrm& window = session.window();
    PagingBar& bar = *window.pagingBar();
    PageWatch first(*window.Web());
    session.clickMainTab(GamesTab);
    ASSERT_TRUE(first.waitFor(session.folder().path(), "GameAll"));
    QTRY_VERIFY(bar.PagePic(0)->isVisible());
    session.newRequests();
    EXPECT_EQ(shownPages(bar), "1* 2 3 4 ");
    EXPECT_FALSE(bar.NexitPic(1)->isVisible());
    expectBarLaidOut(window);
    const QPoint nextPlace = bar.NexitPic(0)->pos();

    const struct {
        std::function<PictureButton*()> button;
        std::string request, pages;
        bool next, previous;
    } steps[] = {
        {[&] { return bar.NexitPic(0); }, "/appweb/c?cid=games&page=2", "1 2* 3 4 ", true, true},
        {[&] { return bar.NexitPic(0); }, "/appweb/c?cid=games&page=3", "1 2 3* 4 ", true, true},
        {[&] { return bar.NexitPic(1); }, "/appweb/c?cid=games&page=2", "1 2* 3 4 ", true, true},
        {[&] { return bar.PagePic(3); }, "/appweb/c?cid=games&page=4", "1 2 3 4* ", false, true},
        {[&] { return bar.PagePic(0); }, "/appweb/c?cid=games&page=1", "1* 2 3 4 ", true, false},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.request);
        PageWatch watch(*window.Web());
        QTest::mouseClick(step.button(), Qt::LeftButton);
        ASSERT_TRUE(watch.waitFor(session.folder().path(), "NextPage"));
        QTRY_COMPARE(QString::fromStdString(shownPages(bar)), QString::fromStdString(step.pages));
        EXPECT_EQ(session.newRequests(), std::vector<std::string>{"GET " + step.request});
        EXPECT_EQ(bar.NexitPic(0)->isVisible(), step.next);
        EXPECT_EQ(bar.NexitPic(1)->isVisible(), step.previous);
        expectBarLaidOut(window);
        // On the last page the previous button takes the next button's place.
        if (!step.next) EXPECT_EQ(bar.NexitPic(1)->pos(), nextPlace);
    }
    EXPECT_EQ(window.SStab1()->currentTab(), GamesTab);

    // A category on one store page has no paging bar.
    PageWatch music(*window.Web());
    session.clickMainTab(3);
    // The bar is laid out as a page is handed to its browser, before the page has loaded.
    ASSERT_TRUE(music.waitFor(session.folder().path(), "Misc"));
    EXPECT_EQ(shownPages(bar), "");
    EXPECT_FALSE(bar.NexitPic(0)->isVisible());
    EXPECT_FALSE(bar.NexitPic(1)->isVisible());
}
