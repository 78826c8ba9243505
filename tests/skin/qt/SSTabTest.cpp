#include "skin/qt/SSTab.h"

#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using skin::SSTab;

TEST(SSTab, OnlyTheCurrentTabsPageIsShown) {
    SSTab tabs;
    tabs.resize(300, 200);
    EXPECT_EQ(tabs.currentTab(), -1);
    tabs.setTabCount(3);
    tabs.show();
    EXPECT_EQ(tabs.currentTab(), 0);
    EXPECT_EQ(tabs.page(1)->geometry(), QRect(0, 0, 300, 200));
    EXPECT_TRUE(tabs.page(0)->isVisible());
    EXPECT_FALSE(tabs.page(1)->isVisible());
    EXPECT_EQ(tabs.page(3), nullptr);

    QSignalSpy clicks(&tabs, &SSTab::clicked);
    tabs.setCurrentTab(2);
    tabs.setCurrentTab(2); // no change, no event
    tabs.setCurrentTab(7); // out of range: ignored
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toInt(), 0);
    EXPECT_TRUE(tabs.page(2)->isVisible());
    EXPECT_FALSE(tabs.page(0)->isVisible());

    tabs.resize(400, 250);
    EXPECT_EQ(tabs.page(0)->geometry(), QRect(0, 0, 400, 250));

    tabs.setTabCount(2); // the current tab went away
    EXPECT_EQ(tabs.currentTab(), 1);
    EXPECT_TRUE(tabs.page(1)->isVisible());
    ASSERT_EQ(clicks.count(), 2);
    EXPECT_EQ(clicks.at(1).at(0).toInt(), 2);
}

TEST(SSTab, CaptionsFlagsPicturesAndTabHeight) {
    SSTab tabs;
    tabs.setTabCount(2);
    QSignalSpy changes(&tabs, &SSTab::tabsChanged);
    tabs.setTabCaption(1, QStringLiteral("游戏"));
    tabs.setTabCaption(1, QStringLiteral("游戏")); // unchanged
    tabs.setTabVisible(0, false);
    tabs.setTabCaption(5, QStringLiteral("none")); // out of range: ignored
    EXPECT_EQ(changes.count(), 2);
    EXPECT_EQ(tabs.tabCaption(1), QStringLiteral("游戏"));
    EXPECT_EQ(tabs.tabCaption(5), QString());
    EXPECT_FALSE(tabs.isTabVisible(0));
    EXPECT_TRUE(tabs.isTabVisible(1));
    EXPECT_FALSE(tabs.isTabVisible(-1));
    EXPECT_TRUE(tabs.tabPicture(0).isNull());

    tabs.setTabHeightTwips(1000);
    EXPECT_EQ(tabs.tabHeightTwips(), 1000);
    EXPECT_EQ(tabs.tabHeightPixels(), 67);
    tabs.setTabHeightTwips(-15);
    EXPECT_EQ(tabs.tabHeightPixels(), 0);
}

TEST(SSTab, ArrowKeysOfTheFocusedRowSkipHiddenTabsAndThoseLeftOverByAPageDoNotStep) {
    SSTab tabs;
    tabs.setTabCount(4);
    tabs.setTabVisible(1, false);
    auto* field = new QWidget(tabs.page(0)); // takes the focus and handles no key
    tabs.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&tabs));
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Right);
    EXPECT_EQ(tabs.currentTab(), 0);

    tabs.setFocus();
    QTest::keyClick(&tabs, Qt::Key_Right);
    EXPECT_EQ(tabs.currentTab(), 2);
    QTest::keyClick(&tabs, Qt::Key_Left);
    EXPECT_EQ(tabs.currentTab(), 0);
    QTest::keyClick(&tabs, Qt::Key_Left);
    EXPECT_EQ(tabs.currentTab(), 0);
}
