#include "catalogue/qt/MainShortcuts.h"

#include "skin/qt/SSTab.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A window with the catalogue's search box, its eight areas and something else to hold the focus.
struct ShortcutsFixture : ::testing::Test {
    QWidget window;
    QLineEdit* search = new QLineEdit(QStringLiteral("应用搜索"), &window);
    skin::SSTab* areas = new skin::SSTab(&window);
    QPushButton* other = new QPushButton(QStringLiteral("page"), &window);
    int reloads = 0;
    int libraries = 0;
    MainShortcuts shortcuts{&window, search, areas, [this] { ++reloads; }, [this] { ++libraries; }};

    void SetUp() override {
        areas->setTabCount(8);
        search->setGeometry(10, 10, 200, 24);
        areas->setGeometry(10, 40, 600, 300);
        other->setGeometry(10, 350, 100, 30);
        window.resize(640, 400);
        window.show();
        QApplication::setActiveWindow(&window);
        other->setFocus();
    }
};

} // namespace

TEST_F(ShortcutsFixture, CtrlFAndSlashPutTheCursorInTheSearchBoxWithItsTextSelected) {
    for (const QKeyCombination keys :
         {QKeyCombination(Qt::CTRL, Qt::Key_F), QKeyCombination(Qt::Key_Slash)}) {
        other->setFocus();
        search->deselect();
        QTest::keyClick(other, keys.key(), keys.keyboardModifiers());
        EXPECT_TRUE(search->hasFocus());
        EXPECT_EQ(search->selectedText(), QStringLiteral("应用搜索"));
        // Typing replaces the text; a slash typed in the box stays in the box.
        QTest::keyClicks(search, "a/b");
        EXPECT_EQ(search->text(), QStringLiteral("a/b"));
        search->setText(QStringLiteral("应用搜索"));
    }
    EXPECT_EQ(reloads, 0);
}

TEST_F(ShortcutsFixture, CtrlDigitsChooseTheAreasF5ReloadsAndCtrlHShowsTheLibraryFromAnywhereInTheWindow) {
    QTest::keyClick(other, Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(areas->currentTab(), 2);
    QTest::keyClick(other, Qt::Key_8, Qt::ControlModifier);
    EXPECT_EQ(areas->currentTab(), 7);
    QTest::keyClick(other, Qt::Key_9, Qt::ControlModifier); // no ninth area
    EXPECT_EQ(areas->currentTab(), 7);

    // In the search box the keys work too, and its text stays as typed.
    search->setFocus();
    search->setText(QStringLiteral("植物"));
    QTest::keyClick(search, Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(areas->currentTab(), 0);
    QTest::keyClick(search, Qt::Key_F5);
    QTest::keyClick(other, Qt::Key_F5);
    EXPECT_EQ(reloads, 2);
    QTest::keyClick(search, Qt::Key_H, Qt::ControlModifier);
    QTest::keyClick(other, Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(libraries, 2);
    EXPECT_EQ(search->text(), QStringLiteral("植物"));
}
