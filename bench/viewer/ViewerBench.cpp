// Times of the app viewer, each against its floor, for bench/viewer/viewer.sh:
//   viewer_bench viewer APP_FOLDER STORE_SITE LINK   click on LINK to the movie's first frame shown,
//                                                    a second after a page listing movie apps showed
//   viewer_bench cold APP_FOLDER STORE_SITE LINK     the same with no player ready: a new player
//                                                    page starts Ruffle after the click
//   viewer_bench warm APP_FOLDER STORE_SITE LINK     the click once the ready player is warm
//   viewer_bench late APP_FOLDER STORE_SITE LINK     the click 15 s after the player got warm
//   viewer_bench bare PLAYER_FOLDER MOVIE            a bare web view playing MOVIE with Ruffle
//   viewer_bench open APP_FOLDER STORE_SITE LINK N   click to the viewer shown, N times
//   viewer_bench note APP_FOLDER STORE_SITE LINK     click to the note that the app cannot open
//   viewer_bench flush APP_FOLDER MOVIE N            a movie in Game that saves: its save to the
//                                                    file on disk, N times
// Each prints "name value" lines. Before the clock starts the web engine runs already (a blank
// page has loaded), as it does in the catalogue window.

#include "WaitUntil.h"
#include "viewer/SolFile.h"
#include "viewer/qt/AppOpener.h"
#include "viewer/qt/FlashPlayer.h"
#include "viewer/qt/PlayerGroup.h"
#include "viewer/qt/PlayerReadiness.h"
#include "viewer/qt/PlayerSchemeHandler.h"
#include "web/qt/WebProfiles.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

void warmUp() {
    QWebEngineView blank;
    QSignalSpy loaded(&blank, &QWebEngineView::loadFinished);
    blank.setHtml(QStringLiteral("<html></html>"));
    loaded.wait(30000);
}

// More than one colour in the middle of the view: a frame of the movie shows.
bool showsFrame(QWidget& view) {
    const QImage image = view.grab().toImage();
    std::set<QRgb> colours;
    for (int y = image.height() / 4; y < image.height() * 3 / 4; y += 8)
        for (int x = image.width() / 4; x < image.width() * 3 / 4; x += 8)
            colours.insert(image.pixel(x, y));
    return colours.size() > 1;
}

bool waitForFrame(QWidget& view) {
    return waitUntil([&] { return showsFrame(view); }, 60000);
}

// Proportional set size of this process and each of its descendants, in MiB by process id.
std::map<int, double> pssByProcess() {
    std::map<int, int> parents;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (!std::all_of(name.begin(), name.end(), ::isdigit)) continue;
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        std::getline(stat, line);
        auto close = line.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream rest(line.substr(close + 2));
        std::string state;
        int parent = 0;
        rest >> state >> parent;
        parents[std::stoi(name)] = parent;
    }
    const int self = static_cast<int>(QCoreApplication::applicationPid());
    std::map<int, double> pss;
    for (const auto& [pid, parent] : parents) {
        int p = pid;
        while (p > 1 && p != self)
            p = parents.count(p) ? parents[p] : 0;
        if (p != self) continue;
        std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
        std::string key;
        double value;
        std::string unit;
        while (rollup >> key) {
            if (key == "Pss:") {
                rollup >> value >> unit;
                pss[pid] = value / 1024.0;
                break;
            }
            std::getline(rollup, unit);
        }
    }
    return pss;
}

double total(const std::map<int, double>& pss) {
    double mib = 0;
    for (const auto& [pid, value] : pss)
        mib += value;
    return mib;
}

double pssMiB() {
    return total(pssByProcess());
}

Settings benchSettings() {
    Settings settings = defaultSettings();
    settings.skinName = "Default";
    return settings;
}

// When the click on the movie app comes: with no page listing movie apps shown before (no player
// ready), a second after such a page showed, once the player it made ready is warm, or 15 s after
// that, as a player who reads the page first clicks (the engine ends its audio process 10 s after
// the last sound of a page went).
enum class Click { Cold, SecondAfterPage, WhenWarm, LateAfterWarm };

int viewerFirstFrame(const QStringList& args, Click when) {
    WebProfiles web(std::filesystem::path(args[0].toStdString()));
    PlayerGroup players;
    AppOpener opener(std::filesystem::path(args[0].toStdString()), benchSettings(), args[1].toStdString(),
                     web, players);
    PlayerReadiness readiness(opener.readyPlayer(), [](const QUrl&) { return false; });
    if (when != Click::Cold) {
        // A page listing movie apps shows, as Brindle tells the readiness.
        QElapsedTimer shown;
        shown.start();
        readiness.moviePageShown(true);
        if (when == Click::SecondAfterPage) {
            runEventsFor(1000);
        } else {
            if (!waitUntil([&] { return opener.readyPlayer().isWarm(); }, 60000)) return 1;
            std::printf("warm_ms %lld\n", shown.elapsed());
            if (when == Click::LateAfterWarm) runEventsFor(15000);
        }
        std::printf("warm_at_click %d\n", opener.readyPlayer().isWarm() ? 1 : 0);
    }
    QSignalSpy opened(&opener, &AppOpener::opened);
    QElapsedTimer clock;
    clock.start();
    opener.open(QUrl(args[2]));
    if (!waitUntil([&] { return opened.count() > 0; }, 30000)) return 1;
    std::printf("opened_ms %lld\n", clock.elapsed());
    FlashPlayer* player = opener.viewer()->flash();
    if (!waitUntil([&] { return player->isMovieLoaded(); }, 60000)) return 1;
    std::printf("loaded_ms %lld\n", clock.elapsed());
    if (!waitForFrame(*player)) return 1;
    std::printf("first_frame_ms %lld\n", clock.elapsed());
    runEventsFor(2000);
    std::printf("pss_mib %.1f\n", pssMiB());
    return 0;
}

int bareFirstFrame(const QStringList& args) {
    // Ruffle's files and the movie beside a page that plays it, read over file://.
    QTemporaryDir dir;
    for (const QString& name : QDir(args[0]).entryList(QDir::Files))
        QFile::link(QDir(args[0]).filePath(name), dir.filePath(name));
    QFile::copy(args[1], dir.filePath(QStringLiteral("movie.swf")));
    QFile page(dir.filePath(QStringLiteral("bare.html")));
    page.open(QIODevice::WriteOnly);
    page.write(R"(<html><head><style>html,body{margin:0;height:100%;background:#000}
ruffle-player{display:block;width:100%;height:100%}</style><script src="ruffle.js"></script></head>
<body><script>window.RufflePlayer.config = {autoplay: "on", unmuteOverlay: "hidden", splashScreen: false};
const p = window.RufflePlayer.newest().createPlayer(); document.body.appendChild(p);
p.addEventListener("loadedmetadata", () => console.info("loaded")); p.ruffle().load({url: "movie.swf"});
</script></body></html>)");
    page.close();

    QWebEngineView view;
    view.resize(986, 635);
    view.show();
    QElapsedTimer clock;
    clock.start();
    view.load(QUrl::fromLocalFile(page.fileName()));
    if (!waitForFrame(view)) return 1;
    std::printf("first_frame_ms %lld\n", clock.elapsed());
    runEventsFor(2000);
    std::printf("pss_mib %.1f\n", pssMiB());
    return 0;
}

int viewerOpen(const QStringList& args) {
    WebProfiles web(std::filesystem::path(args[0].toStdString()));
    PlayerGroup players;
    AppOpener opener(std::filesystem::path(args[0].toStdString()), benchSettings(), args[1].toStdString(),
                     web, players);
    QSignalSpy opened(&opener, &AppOpener::opened);
    for (int i = 0; i < args[3].toInt(); ++i) {
        QElapsedTimer clock;
        clock.start();
        opener.open(QUrl(args[2]));
        if (!waitUntil([&] { return opened.count() > i; }, 30000)) return 1;
        std::printf("open_ms %lld\n", clock.elapsed());
        std::fflush(stdout);
    }
    return 0;
}

int viewerNote(const QStringList& args) {
    WebProfiles web(std::filesystem::path(args[0].toStdString()));
    PlayerGroup players;
    AppOpener opener(std::filesystem::path(args[0].toStdString()), benchSettings(), args[1].toStdString(),
                     web, players);
    QSignalSpy notes(&opener, &AppOpener::notOpened);
    QElapsedTimer clock;
    clock.start();
    opener.open(QUrl(args[2]));
    if (!waitUntil([&] { return notes.count() > 0; }, 30000)) return 1;
    std::printf("note_ms %lld\n", clock.elapsed());
    return 0;
}

// The movie (bench/viewer/Flusher.hx) saves its count n and the time at of each save; a thread
// reads the file every millisecond and takes, for each new n, the time since at.
int saveToDisk(const QStringList& args) {
    const fs::path app = args[0].toStdString();
    const fs::path movie = args[1].toStdString();
    const int samples = args[2].toInt();
    PlayerGroup players;
    FlashPlayer player(players, viewer::PlayerFiles{app / "player", app / "Game", app / "Saves"});
    player.resize(400, 300);
    player.show();
    const fs::path sol = app / "Saves" / movie.filename() / "flushes.sol";
    std::vector<double> delays;
    std::atomic<bool> done = false;
    std::thread poll([&] {
        double seen = 0;
        while (!done && static_cast<int>(delays.size()) < samples) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            const auto file = viewer::SolFile::read(sol);
            if (!file || !file->value("n") || !file->value("at")) continue;
            const auto n = file->value("n");
            const double count = n->type == viewer::AmfValue::Type::Integer ? n->integer : n->number;
            if (count <= seen) continue;
            seen = count;
            const double now =
                std::chrono::duration<double, std::milli>(std::chrono::system_clock::now().time_since_epoch())
                    .count();
            if (count > 1) delays.push_back(now - file->value("at")->number); // the first includes the start
        }
        done = true;
    });
    player.setMovie(QString::fromStdString(movie.string()));
    waitUntil([&] { return done.load(); }, samples * 250 + 30000);
    done = true;
    poll.join();
    if (static_cast<int>(delays.size()) < samples) return 1;
    std::sort(delays.begin(), delays.end());
    std::printf("save_to_disk_ms %.1f\nsave_to_disk_max_ms %.1f\n", delays[delays.size() / 2], delays.back());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    PlayerSchemeHandler::registerScheme();
    WebProfiles::prepareEngine();
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: viewer_bench viewer|warm|cold|bare|open|note|flush ...\n");
        return 2;
    }
    const QString mode = args.takeFirst();
    warmUp();
    if (mode == QLatin1String("viewer") && args.size() == 3)
        return viewerFirstFrame(args, Click::SecondAfterPage);
    if (mode == QLatin1String("warm") && args.size() == 3) return viewerFirstFrame(args, Click::WhenWarm);
    if (mode == QLatin1String("late") && args.size() == 3)
        return viewerFirstFrame(args, Click::LateAfterWarm);
    if (mode == QLatin1String("cold") && args.size() == 3) return viewerFirstFrame(args, Click::Cold);
    if (mode == QLatin1String("bare") && args.size() == 2) return bareFirstFrame(args);
    if (mode == QLatin1String("open") && args.size() == 4) return viewerOpen(args);
    if (mode == QLatin1String("note") && args.size() == 3) return viewerNote(args);
    if (mode == QLatin1String("flush") && args.size() == 3) return saveToDisk(args);
    return 2;
}
