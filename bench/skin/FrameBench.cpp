// Time of one layout and redraw of a 1000 x 728 skinned frame, of one fade step, and of the floor:
// copying the finished frame once to a screen-sized image, as a paint does.

#include "skin/qt/DirectUI.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>
#include <benchmark/benchmark.h>

namespace {

constexpr int Width = 1000;
constexpr int Height = 728;

// A hidden 1000 x 728 window with the Default skin of the source tree.
struct Frame {
    QWidget window;
    skin::DirectUI ui;
    Frame() {
        window.resize(Width, Height);
        window.setWindowTitle(QStringLiteral("Brindle 应用盒子"));
        ui.Skin(QStringLiteral("Default"), &window, BRINDLE_SOURCE_DIR);
    }
};

void LayoutAndRedraw(benchmark::State& state) {
    Frame frame;
    for (auto _ : state) {
        frame.ui.layout();
        benchmark::DoNotOptimize(frame.ui.frontSurface().image().constBits());
    }
}
BENCHMARK(LayoutAndRedraw)->Unit(benchmark::kMicrosecond);

void Redraw(benchmark::State& state) {
    Frame frame;
    for (auto _ : state) {
        frame.ui.redraw();
        benchmark::DoNotOptimize(frame.ui.frontSurface().image().constBits());
    }
}
BENCHMARK(Redraw)->Unit(benchmark::kMicrosecond);

void FadeTick(benchmark::State& state) {
    Frame frame;
    const skin::FrameLayout& layout = frame.ui.frameLayout();
    bool onClose = false;
    for (auto _ : state) {
        // Moving between two buttons lights one and dims the other: two buttons blend per step.
        const skin::Rect& b = layout.buttons[onClose ? 0 : 2];
        frame.ui.mouse().mouseMove(0, (b.left + b.right) / 2.0, (b.top + b.bottom) / 2.0);
        onClose = !onClose;
        frame.ui.mouse().fadeTick();
    }
}
BENCHMARK(FadeTick)->Unit(benchmark::kMicrosecond);

void CopyToScreen(benchmark::State& state) {
    Frame frame;
    QImage screen(Width, Height, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&screen);
        painter.drawImage(0, 0, frame.ui.frontSurface().image());
        painter.end();
        benchmark::DoNotOptimize(screen.constBits());
    }
}
BENCHMARK(CopyToScreen)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
