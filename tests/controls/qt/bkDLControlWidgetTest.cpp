#include "controls/qt/bkDLControlWidget.h"

#include "TempDir.h"
#include "controls/DownloadTestServer.h"

#include <QApplication>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <gtest/gtest.h>

namespace {

constexpr std::int32_t Red = 0x0000FF;
constexpr std::int32_t White = 0xFFFFFF;

class bkDLControlWidgetTest : public ::testing::Test {
  protected:
    bkDLControlWidgetTest() {
        server.http().Get("/movie.swf", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(std::string(70'000, 'm'), "application/x-shockwave-flash");
        });
        // Half the body, then nothing until released.
        server.http().Get("/half.swf", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content_provider(100'000, "application/x-shockwave-flash",
                                     [this](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                         if (offset == 0)
                                             return sink.write(std::string(50'000, 'h').data(), 50'000);
                                         server.waitForRelease(std::chrono::seconds(20));
                                         return false;
                                     });
        });
        server.start();
        widget.resize(200, 20);
        widget.setSaveFilePath(QString::fromStdString(dir.path().string()));
        widget.control().setBackColor(White);
        widget.control().setForeColor(Red);
        widget.control().setBorderStyle(0);
    }

    QColor pixel(int x) { return widget.grab().toImage().pixelColor(x, 10); }

    TempDir dir;
    DownloadTestServer server;
    bkDLControlWidget widget;
};

} // namespace

TEST_F(bkDLControlWidgetTest, RaisesSignalsAndPaintsTheFullBarAfterADownload) {
    QSignalSpy progress(&widget, &bkDLControlWidget::DLProgress);
    QSignalSpy complete(&widget, &bkDLControlWidget::DLComplete);
    QSignalSpy size(&widget, &bkDLControlWidget::DLFileSize);
    EXPECT_EQ(pixel(100), QColor(Qt::white));
    widget.setFileURL(QString::fromStdString(server.url("/movie.swf")));
    ASSERT_TRUE(widget.BeginDownload());
    ASSERT_TRUE(complete.wait(10'000));
    EXPECT_EQ(complete.takeFirst().at(0).toInt(), 70'000);
    EXPECT_EQ(size.takeFirst().at(0).toInt(), 70'000);
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_FLOAT_EQ(progress.last().at(0).toFloat(), 1.0f);
    EXPECT_EQ(progress.last().at(1).toInt(), 70'000);
    EXPECT_EQ(widget.SaveFileName(), QString::fromStdString((dir.path() / "movie.swf").string()));
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "movie.swf"));
    EXPECT_EQ(pixel(199), QColor(Qt::red));
    widget.setShowProgress(false);
    EXPECT_EQ(pixel(10), QColor(Qt::white));
}

TEST_F(bkDLControlWidgetTest, PaintsPartialProgressAndClearsItOnCancel) {
    QSignalSpy progress(&widget, &bkDLControlWidget::DLProgress);
    QSignalSpy canceled(&widget, &bkDLControlWidget::DLCanceled);
    widget.setFileURL(QString::fromStdString(server.url("/half.swf")));
    ASSERT_TRUE(widget.BeginDownload());
    while (progress.isEmpty() || progress.last().at(1).toInt() < 50'000)
        ASSERT_TRUE(progress.wait(10'000));
    EXPECT_EQ(pixel(90), QColor(Qt::red));
    EXPECT_EQ(pixel(110), QColor(Qt::white));
    widget.CancelDownload();
    EXPECT_EQ(canceled.count(), 1);
    EXPECT_EQ(pixel(10), QColor(Qt::white));
    server.release();
}

TEST_F(bkDLControlWidgetTest, WaitKeepsTheEventLoopRunning) {
    widget.setFileURL(QString::fromStdString(server.url("/movie.swf")));
    bool timerRan = false;
    QTimer::singleShot(0, [&] { timerRan = true; });
    EXPECT_TRUE(widget.BeginDownload(true));
    EXPECT_TRUE(timerRan);
    widget.setFileURL(QString::fromStdString(server.url("/none.swf")));
    QSignalSpy error(&widget, &bkDLControlWidget::DLError);
    EXPECT_FALSE(widget.BeginDownload(true));
    ASSERT_EQ(error.count(), 1);
    EXPECT_EQ(error.first().at(0).toInt(), 99);
}

TEST_F(bkDLControlWidgetTest, StartFailureShowsACriticalMessageBox) {
    QString title, text;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        title = box->windowTitle();
        text = box->text();
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        box->accept();
    });
    QSignalSpy error(&widget, &bkDLControlWidget::DLError);
    widget.setFileURL("nosuchscheme://host/a.swf");
    EXPECT_FALSE(widget.BeginDownload());
    ASSERT_EQ(error.count(), 1);
    EXPECT_EQ(error.first().at(0).toInt(), 1);
    EXPECT_TRUE(title.startsWith("bkDLControl Internal Error: ")) << title.toStdString();
    EXPECT_TRUE(text.contains("Error: \r\n")) << text.toStdString();
}

TEST_F(bkDLControlWidgetTest, EnabledAndSavedPropertiesFollowTheControl) {
    widget.control().setEnabled(false);
    EXPECT_FALSE(widget.isEnabled());
    widget.setEnabled(true);
    EXPECT_TRUE(widget.control().Enabled());

    PropertyBag bag;
    widget.setFailOnRedirect(false);
    widget.WriteProperties(bag);
    bkDLControlWidget loaded;
    loaded.ReadProperties(bag);
    EXPECT_FALSE(loaded.FailOnRedirect());
    EXPECT_TRUE(loaded.RenameOnRedirect());
    EXPECT_EQ(loaded.control().ForeColor(), Red);
}

TEST_F(bkDLControlWidgetTest, LoadedEnabledAndFontReachTheSurface) {
    bkDLControlWidget source;
    source.control().setEnabled(false);
    source.control().setFont(QFont("Serif", 17).toString().toStdString());
    PropertyBag bag;
    source.WriteProperties(bag);

    bkDLControlWidget loaded;
    loaded.ReadProperties(bag);
    EXPECT_FALSE(loaded.isEnabled());
    EXPECT_FALSE(loaded.control().Enabled());
    EXPECT_EQ(loaded.font().pointSize(), 17);
}

TEST_F(bkDLControlWidgetTest, ADoubleClickRaisesOneClickOnly) {
    std::vector<std::string> seen;
    QObject::connect(&widget, &bkDLControlWidget::MouseDown, [&] { seen.push_back("MouseDown"); });
    QObject::connect(&widget, &bkDLControlWidget::MouseUp, [&] { seen.push_back("MouseUp"); });
    QObject::connect(&widget, &bkDLControlWidget::Click, [&] { seen.push_back("Click"); });
    QObject::connect(&widget, &bkDLControlWidget::DblClick, [&] { seen.push_back("DblClick"); });
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    // Through the window, so that Qt itself makes the double click out of two presses.
    QTest::mouseDClick(widget.windowHandle(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(seen, (std::vector<std::string>{"MouseDown", "MouseUp", "Click", "DblClick", "MouseUp"}));

    seen.clear();
    // Pressed later than the double-click time by the clock the events carry: a click of its own.
    QTest::mouseClick(widget.windowHandle(), Qt::LeftButton, {}, QPoint(10, 10),
                      QApplication::doubleClickInterval() + 1);
    EXPECT_EQ(seen, (std::vector<std::string>{"MouseDown", "MouseUp", "Click"}));
}
