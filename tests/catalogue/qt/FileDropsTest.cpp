#include "catalogue/qt/FileDrops.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QUrl>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// A widget that takes drags itself, as the web views do: it counts the drops it was given.
class DropTaker : public QWidget {
  public:
    explicit DropTaker(QWidget* parent) : QWidget(parent) { setAcceptDrops(true); }
    int drops = 0;

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override { event->acceptProposedAction(); }
    void dropEvent(QDropEvent* event) override {
        ++drops;
        event->acceptProposedAction();
    }
};

// Drops data on widget, entering first as a drag does; whether the drop was accepted.
bool drop(QWidget* widget, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::LinkAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(widget, &enter);
    QDropEvent dropped(QPointF(5, 5), Qt::CopyAction | Qt::LinkAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &dropped);
    return dropped.isAccepted();
}

} // namespace

TEST(FileDrops, LocalFilesDroppedAnywhereOnTheWindowOpenAndAnythingElseIsLeftToTheWidget) {
    QWidget window, other;
    auto* view = new DropTaker(&window);
    auto* elsewhere = new DropTaker(&other);
    FileDrops drops(&window);
    QSignalSpy dropped(&drops, &FileDrops::dropped);

    const QList<QUrl> files = {QUrl::fromLocalFile("/游戏/a b.swf"), QUrl::fromLocalFile("/b.SWF")};
    EXPECT_TRUE(drop(view, files));
    EXPECT_TRUE(drop(&window, {QUrl::fromLocalFile("/c.swf")}));
    ASSERT_EQ(dropped.count(), 2);
    EXPECT_EQ(dropped.at(0).at(0).toStringList(), (QStringList{"/游戏/a b.swf", "/b.SWF"}));
    EXPECT_EQ(view->drops, 0);

    // A web address, a mix, or a drop on another window: the widget under the mouse has it.
    EXPECT_TRUE(drop(view, {QUrl("http://host/a.swf")}));
    EXPECT_TRUE(drop(view, {QUrl::fromLocalFile("/a.swf"), QUrl("http://host/b.swf")}));
    EXPECT_TRUE(drop(elsewhere, files));
    EXPECT_EQ(view->drops, 2);
    EXPECT_EQ(elsewhere->drops, 1);
    EXPECT_EQ(dropped.count(), 2);
}
