#include "catalogue/qt/SearchBar.h"

#include "catalogue/MainLayout.h"
#include "catalogue/qt/PictureButton.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace catalogue;

namespace {

std::filesystem::path skinFolder() {
    return std::filesystem::path(std::getenv("BRINDLE_APP_DIR")) / "Skin" / "Graphite";
}

struct WindowFixture : ::testing::Test {
    QWidget window;
    SearchBar bar{&window, skinFolder()};

    void SetUp() override {
        window.resize(1000, 728);
        const MainLayout l = MainLayout::compute(15000, 10920, 15000);
        bar.Place(l.SouSuoPic, l.SouSuoText, l.SousuoCmd);
        window.show();
        QApplication::setActiveWindow(&window);
    }
};

} // namespace

TEST_F(WindowFixture, PlacedAtTheTopRightWithTheButtonAtItsEnd) {
    EXPECT_EQ(bar.geometry(), QRect(1000 - 297 - 10, 70, 297, 26));
    EXPECT_EQ(bar.SousuoCmd()->geometry(), QRect(270, 0, 27, 26));
    EXPECT_EQ(bar.SouSuoText()->geometry(), QRect(25, 5, 242, 16));
    EXPECT_EQ(bar.SouSuoText()->text(), "应用搜索");
    const QImage picture((QString::fromStdString((skinFolder() / "SousuoCmd.bmp").string())));
    EXPECT_EQ(bar.SousuoCmd()->grab().toImage().pixel(12, 3), picture.pixel(12, 3));
}

TEST_F(WindowFixture, FocusSelectsAllAndEnterOrTheButtonSearch) {
    QSignalSpy spy(&bar, &SearchBar::searchRequested);
    QTest::mouseClick(bar.SouSuoText(), Qt::LeftButton, {}, QPoint(40, 8));
    QTRY_COMPARE(bar.SouSuoText()->selectedText(), QString("应用搜索"));
    QTest::keyClicks(bar.SouSuoText(), "abc");
    bar.SouSuoText()->setText(" 植物 大战 ");
    QTest::keyClick(bar.SouSuoText(), Qt::Key_Return);
    QTest::keyClick(bar.SouSuoText(), Qt::Key_Enter); // the keypad's
    QTest::mouseClick(bar.SousuoCmd(), Qt::LeftButton);
    ASSERT_EQ(spy.count(), 3);
    for (const auto& call : spy)
        EXPECT_EQ(call[0].toString(), " 植物 大战 ");
}
