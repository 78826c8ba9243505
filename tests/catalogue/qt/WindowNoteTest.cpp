#include "catalogue/qt/WindowNote.h"

#include "WaitUntil.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

TEST(WindowNote, NotesThatComeWhileOneShowsEachKeepTheirLine) {
    QWidget window;
    window.resize(600, 400);
    window.show();
    WindowNote note(&window);

    // Two local files refused at once: both reasons show, and one said twice shows once.
    note.showNote(QStringLiteral("找不到文件“a.swf”。"));
    note.showNote(QStringLiteral("“b.txt”不是 Flash 游戏文件（SWF），无法打开。"));
    note.showNote(QStringLiteral("找不到文件“a.swf”。"));
    EXPECT_TRUE(note.isVisible());
    EXPECT_EQ(note.text(),
              QStringLiteral("找不到文件“a.swf”。\n“b.txt”不是 Flash 游戏文件（SWF），无法打开。"));

    // Many at once: the newest stay.
    for (int i = 0; i < WindowNote::MostLines + 2; ++i)
        note.showNote(QString::number(i));
    EXPECT_EQ(note.text().split(QLatin1Char('\n')).size(), WindowNote::MostLines);
    EXPECT_TRUE(note.text().endsWith(QString::number(WindowNote::MostLines + 1)));

    // Once it has gone, the next note shows alone.
    note.hide();
    note.showNote(QStringLiteral("页面暂时无法打开"));
    EXPECT_EQ(note.text(), QStringLiteral("页面暂时无法打开"));
}

TEST(WindowNote, ANoteWaitsWhileAnotherWindowIsActiveAndHasItsWholeTimeWhenItsWindowIsBack) {
    // The catalogue shows a note, and a viewer comes over it at once.
    QWidget catalogue, viewer;
    catalogue.show();
    catalogue.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&catalogue));
    WindowNote note(&catalogue);
    note.showNote(QStringLiteral("“b.txt”不是 Flash 游戏文件（SWF），无法打开。"));
    viewer.show();
    viewer.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&viewer));

    // A note shown on the viewer at that moment has gone by the time the first would have.
    WindowNote later(&viewer);
    later.showNote(QStringLiteral("页面暂时无法打开"));
    ASSERT_TRUE(waitUntil([&] { return !later.isVisible(); }, WindowNote::ShownMs * 4));
    EXPECT_TRUE(note.isVisible()) << "the note went while nobody could see it";

    catalogue.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&catalogue));
    EXPECT_TRUE(waitUntil([&] { return !note.isVisible(); }, WindowNote::ShownMs * 4));
}
