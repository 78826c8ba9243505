// The 我的游戏 page with 500 played apps (each with its movie in Game/, a save in Saves/ and an
// icon in Icons/), in a window of the catalogue's opening size, for page.sh. Prints
//   build_ms N   building the page's controls and styles, which the window does ahead, while the
//                player looks at its first page
//   first_ms N   from the first click to the page painted: the library read and the page shown
//   again_ms N   the median of the same for later clicks
//
//   library_page_bench [APPS]

#include "library/PlayLibrary.h"
#include "library/qt/LibraryPage.h"
#include "library/qt/LibraryService.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTreeView>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int Rounds = 9;

const char* const Icon = R"(<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64">)"
                         R"(<rect x="4" y="4" width="56" height="56" rx="12" fill="#4A8FE0"/>)"
                         R"(<circle cx="32" cy="32" r="14" fill="#FFFFFF"/></svg>)";

void write(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

void fill(const fs::path& folder, library::PlayLibrary& library, int apps) {
    const char* const words[] = {"俄罗斯方块", "连连看", "祖玛",  "泡泡龙",
                                 "黄金矿工",   "象棋",   "Snake", "Sudoku"};
    const std::int64_t now = std::time(nullptr);
    for (int i = 0; i < apps; ++i) {
        const std::string movie = "game" + std::to_string(i) + ".swf";
        const std::string icon = std::to_string(i) + ".svg";
        write(folder / "Game" / movie, std::string(20'000, 'x'));
        write(folder / "Saves" / movie / "save.sol", std::string(300, 's'));
        write(folder / "Icons" / icon, Icon);
        const std::string link = "http://127.0.0.1:8780/appweb/app?id=" + std::to_string(i);
        library.recordOpen(link, std::string(words[i % 8]) + " " + std::to_string(i), true, movie, icon,
                           now - i * 3600);
        library.addPlayTime(link, i * 37);
    }
}

// Runs events until the list has painted since painted was reset.
class PaintWatch : public QObject {
  public:
    bool painted = false;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted = true;
        return false;
    }
    void wait() {
        while (!painted)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int apps = argc > 1 ? std::atoi(argv[1]) : 500;
    QTemporaryDir dir;
    const fs::path folder = dir.path().toStdString();
    {
        auto library = library::PlayLibrary::open(folder);
        if (!library) return 1;
        fill(folder, *library, apps);
    }
    LibraryService library(folder);

    QWidget window;
    window.resize(1000, 728);
    window.show();
    QCoreApplication::processEvents();
    PaintWatch watch;
    const auto shown = [&](LibraryPage& page) {
        page.refresh(); // read on the library's thread
        while (page.busy())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        page.setGeometry(6, 159, 988, 533);
        page.show();
        page.raise();
        watch.wait();
    };

    QElapsedTimer timer;
    timer.start();
    auto* page = new LibraryPage(folder, library, QColor("#E1EAF6"), &window);
    page->hide();
    page->ensurePolished();
    const double build = timer.nsecsElapsed() / 1e6;
    page->list()->viewport()->installEventFilter(&watch);
    QCoreApplication::processEvents();
    timer.restart();
    shown(*page);
    const double first = timer.nsecsElapsed() / 1e6;
    if (page->model()->rowCount() != apps) return 1;

    std::vector<double> again;
    for (int i = 0; i < Rounds; ++i) {
        page->hide();
        QCoreApplication::processEvents();
        watch.painted = false;
        timer.restart();
        shown(*page);
        again.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("build_ms %.1f\nfirst_ms %.1f\nagain_ms %.1f\n", build, first, median(again));
    return 0;
}
