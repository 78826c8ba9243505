// One redraw of a skinned tab row: the catalogue's main row (eight 80 x 75 tabs with pictures on a
// 992 x 680 control) recomposed from its background and copied to the front surface, and the resize
// that rebuilds the background. The Tab.bmp is the Default skin's from the source tree.

#include "skin/qt/CSSTab.h"
#include "skin/qt/SSTab.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

struct MainRow {
    skin::SSTab control;
    skin::CSSTab strip;

    MainRow() {
        control.resize(992, 680);
        control.setTabCount(8);
        QImage picture(48, 48, QImage::Format_RGB32);
        picture.fill(Qt::white);
        for (int i = 0; i < 8; ++i) {
            control.setTabCaption(i, QStringLiteral("游戏%1").arg(i));
            control.setTabPicture(i, picture);
        }
        strip.setTabWidth(80);
        strip.setTabHeight(75);
        strip.TabSkin(&control, QStringLiteral("Default"), BRINDLE_SOURCE_DIR);
    }
};

void Redraw(benchmark::State& state) {
    MainRow row;
    for (auto _ : state) {
        row.strip.Redraw(false);
        benchmark::DoNotOptimize(row.strip.frontSurface().image().constBits());
    }
}
BENCHMARK(Redraw)->Unit(benchmark::kMicrosecond);

void Resize(benchmark::State& state) {
    MainRow row;
    for (auto _ : state) {
        row.strip.Resize(992, 680);
        benchmark::DoNotOptimize(row.strip.frontSurface().image().constBits());
    }
}
BENCHMARK(Resize)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
