// How quickly the window answers while the 我的游戏 page works: during the restore of a backup of
// 200 MB of saves, and while a star waits for another connection's write to Library.db. A probe button gets a
// click every 20 ms and a repaint request every 20 ms; the bench prints the slowest answer to each
// (goal: under 100 ms) and how long the work took:
//   restore_ms N  restore_click_ms N  restore_paint_ms N
//   held_ms N     held_click_ms N     held_paint_ms N
//
//   library_answer_bench [MB]

#include "HeldLibrary.h"
#include "library/PlayLibrary.h"
#include "library/SaveArchive.h"
#include "library/qt/LibraryPage.h"
#include "library/qt/LibraryService.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

namespace {

constexpr int SaveKilobytes = 512;
const std::string Link = "http://127.0.0.1:8780/appweb/app?id=1";

std::string bigEndian(std::uint32_t value, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i)
        out += static_cast<char>((value >> (8 * i)) & 0xff);
    return out;
}

// A Flash save (AMF3) holding one string of text.
std::string save(const std::string& name, const std::string& text) {
    const std::uint32_t header = static_cast<std::uint32_t>(text.size() << 1 | 1);
    std::string length; // U29, four bytes: lengths here are above 2^21
    length += static_cast<char>(0x80 | ((header >> 22) & 0x7f));
    length += static_cast<char>(0x80 | ((header >> 15) & 0x7f));
    length += static_cast<char>(0x80 | ((header >> 8) & 0x7f));
    length += static_cast<char>(header & 0xff);
    const std::string body = std::string("\x0b"
                                         "level\x06",
                                         7) +
                             length + text + '\0';
    const std::string rest = std::string("TCSO\0\x04\0\0\0\0", 10) + bigEndian(name.size(), 2) + name +
                             std::string(3, '\0') + '\x03' + body;
    return std::string("\0\xbf", 2) + bigEndian(rest.size(), 4) + rest;
}

// A button clicked and repainted on a timer; the slowest answers since the last reset.
class Probe : public QPushButton {
  public:
    explicit Probe(QWidget* parent) : QPushButton(QStringLiteral("探针"), parent) {
        connect(this, &QPushButton::clicked, this, [this] { note(clickAsked_, slowestClick); });
        connect(&timer_, &QTimer::timeout, this, [this] {
            if (clickAsked_ < 0) {
                clickAsked_ = clock_.elapsed();
                const QPointF at(width() / 2.0, height() / 2.0);
                QCoreApplication::postEvent(this,
                                            new QMouseEvent(QEvent::MouseButtonPress, at, mapToGlobal(at),
                                                            Qt::LeftButton, Qt::LeftButton, {}));
                QCoreApplication::postEvent(this, new QMouseEvent(QEvent::MouseButtonRelease, at,
                                                                  mapToGlobal(at), Qt::LeftButton, {}, {}));
            }
            if (paintAsked_ < 0) {
                paintAsked_ = clock_.elapsed();
                update();
            }
        });
        clock_.start();
        timer_.start(20);
    }
    void reset() { slowestClick = slowestPaint = 0; }
    qint64 slowestClick = 0;
    qint64 slowestPaint = 0;

  protected:
    void paintEvent(QPaintEvent* event) override {
        QPushButton::paintEvent(event);
        note(paintAsked_, slowestPaint);
    }

  private:
    void note(qint64& asked, qint64& slowest) {
        if (asked < 0) return;
        slowest = std::max(slowest, clock_.elapsed() - asked);
        asked = -1;
    }
    QElapsedTimer clock_;
    QTimer timer_;
    qint64 clickAsked_ = -1;
    qint64 paintAsked_ = -1;
};

void runUntilDone(LibraryPage& page) {
    while (page.busy())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int megabytes = argc > 1 ? std::atoi(argv[1]) : 200;
    QTemporaryDir dir;
    const fs::path folder = dir.path().toStdString();
    const fs::path zip = folder / "backup.zip";
    {
        auto library = library::PlayLibrary::open(folder);
        if (!library) return 1;
        library->recordOpen(Link, "大存档", true, "big.swf", "", std::time(nullptr));
        std::mt19937 random(1);
        std::string text(SaveKilobytes * 1024, 'a');
        const fs::path saves = folder / "Saves" / "big.swf";
        fs::create_directories(saves);
        for (int i = 0; i < megabytes * 1024 / SaveKilobytes; ++i) {
            for (char& c : text)
                c = static_cast<char>('a' + random() % 26);
            std::ofstream(saves / ("level" + std::to_string(i) + ".sol"), std::ios::binary)
                << save("level" + std::to_string(i), text);
        }
        if (!library::SaveArchive::backup(zip, folder / "Saves").ok()) return 1;
    }

    LibraryService library(folder);
    QWidget window;
    window.resize(1000, 728);
    auto* page = new LibraryPage(folder, library, QColor("#E1EAF6"), &window);
    page->setGeometry(6, 159, 988, 533);
    auto* probe = new Probe(&window);
    probe->setGeometry(6, 10, 80, 30);
    window.show();
    page->refresh();
    runUntilDone(*page);
    if (!page->choose(Link)) return 1;
    LibraryDialogs dialogs;
    dialogs.openZip = [&](const QString&) { return QString::fromStdString(zip.string()); };
    dialogs.confirm = [](const QString&) { return true; };
    QString told;
    dialogs.tell = [&](const QString& message) { told = message; };
    page->setDialogs(dialogs);

    QElapsedTimer timer;
    probe->reset();
    timer.start();
    page->restoreChosen();
    runUntilDone(*page);
    std::printf("restore_ms %lld\nrestore_click_ms %lld\nrestore_paint_ms %lld\n",
                static_cast<long long>(timer.elapsed()), static_cast<long long>(probe->slowestClick),
                static_cast<long long>(probe->slowestPaint));
    if (!told.startsWith(QStringLiteral("已恢复"))) {
        std::fprintf(stderr, "restore: %s\n", qPrintable(told));
        return 1;
    }

    // Another connection writes: a star waits for it on the library's thread.
    HeldLibrary held(folder / library::PlayLibrary::FileName, HeldLibrary::Hold::Writes);
    if (!held.held()) return 1;
    probe->reset();
    timer.restart();
    page->toggleFavouriteChosen();
    runUntilDone(*page);
    std::printf("held_ms %lld\nheld_click_ms %lld\nheld_paint_ms %lld\n",
                static_cast<long long>(timer.elapsed()), static_cast<long long>(probe->slowestClick),
                static_cast<long long>(probe->slowestPaint));
    return told.startsWith(QStringLiteral("没能收藏")) ? 0 : 1;
}
