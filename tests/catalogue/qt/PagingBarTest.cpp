#include "catalogue/qt/PagingBar.h"

#include "TempDir.h"
#include "base/AtomicFile.h"
#include "catalogue/qt/PictureButton.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

std::filesystem::path skinFolder() {
    return std::filesystem::path(std::getenv("BRINDLE_APP_DIR")) / "Skin" / "Default";
}

std::string item(const std::string& url, const std::string& caption, bool current = false) {
    return "<a class=\"item" + std::string(current ? " current" : "") + "\" href=\"" + url + "\">" + caption +
           "</a>";
}

// The strip of a 1000-pixel window's category tabs, 866 pixels wide.
struct StripFixture : ::testing::Test {
    QWidget strip;
    PagingBar bar{&strip, skinFolder()};
    TempDir dir;

    void SetUp() override {
        strip.resize(866, 500);
        strip.show();
    }
    void layOut(const std::string& block) {
        const auto file = dir.path() / "GameAllPage.html";
        ASSERT_TRUE(base::writeFileAtomic(file, block));
        bar.LayOut(file);
    }
};

} // namespace

TEST_F(StripFixture, ClicksAskForTheButtonsAddresses) {
    layOut("<a class=\"prev\" href=\"/c?a=1&amp;page=1\">上一页</a>" + item("/c?page=1", "1", true) +
           item("", "2") + "<a class=\"next\" href=\"/c?page=2\">下一页</a>");
    QSignalSpy spy(&bar, &PagingBar::pageRequested);
    QTest::mouseClick(bar.NexitPic(0), Qt::LeftButton);
    QTest::mouseClick(bar.NexitPic(1), Qt::LeftButton);
    // A click on a caption lands on its button.
    const QPoint onCaption = bar.PagePic(0)->geometry().center();
    ASSERT_EQ(strip.childAt(onCaption), bar.PagePic(0));
    QTest::mouseClick(bar.PagePic(0), Qt::LeftButton);
    QTest::mouseClick(bar.PagePic(1), Qt::LeftButton); // no address: nothing
    QTest::mouseClick(bar.PagePic(0), Qt::RightButton);
    ASSERT_EQ(spy.count(), 3);
    EXPECT_EQ(spy[0][0].toString(), "/c?page=2");
    EXPECT_EQ(spy[1][0].toString(), "/c?a=1&page=1");
    EXPECT_EQ(spy[2][0].toString(), "/c?page=1");
    EXPECT_TRUE(bar.PagePic(1)->isVisible());
}

TEST_F(StripFixture, ButtonsShowTheSkinsPictures) {
    layOut(item("/c?page=1", "1", true) + "<a class=\"next\" href=\"/c?page=2\">下一页</a>");
    const QImage shown = bar.NexitPic(0)->grab().toImage();
    const QImage picture((QString::fromStdString((skinFolder() / "NexitPic0.bmp").string())));
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(shown.pixel(30, 11), picture.pixel(30, 11));
    // Without pictures the buttons keep their size and still work.
    TempDir empty;
    PagingBar bare(&strip, empty.path());
    EXPECT_EQ(bare.PagePic(0)->size(), QSize(33, 22));
}
