// The catalogue window beside a bare web view, for catalogue.sh: one run prints, for one of the two,
//   start_ms N    process start to the first page loaded (the home page of a warm page cache)
//   tab_ms N      median of a category's cached page loaded after its tab was clicked
//   pss_kib N     PSS of this process and its web-engine processes with the home page shown
//   ready_pss_kib N     the same with the game area shown, its player ready (warm) as Brindle has it
//   released_pss_kib N  the same once the home page was shown again for the idle time after which
//                       the player goes (5 s here)
//
//   catalogue_bench --window APP_FOLDER   MainFrm as Brindle opens it (start sequence included), with
//                                         its app opener and the readiness of the movie viewers' player
//   catalogue_bench --plain APP_FOLDER    MainFrm alone, without anything of the movie viewers
//   catalogue_bench --bare APP_FOLDER     one QWebEngineView showing the same page files: start_ms,
//                                         tab_ms and pss_kib
//   catalogue_bench --soak APP_FOLDER GAMES LINK...
//                                         as Brindle runs it (play tracker included), the game area
//                                         shown, GAMES movie apps opened one after the other from the
//                                         LINKs in turn, each until its movie plays, then closed:
//                                         "games N pss_kib M main_kib K private_kib P" at the
//                                         start and after every 10: the tree's PSS, this
//                                         process's own, and the tree's private memory

#include "catalogue/qt/MainFrm.h"
#include "library/qt/PlayTracker.h"
#include "pages/Catalogue.h"
#include "skin/qt/SSTab.h"
#include "startup/IniFile.h"
#include "startup/PosixLauncher.h"
#include "startup/StartMode.h"
#include "viewer/PlayerDemand.h"
#include "viewer/qt/AppOpener.h"
#include "viewer/qt/FlashPlayer.h"
#include "viewer/qt/PlayerGroup.h"
#include "viewer/qt/PlayerReadiness.h"
#include "viewer/qt/PlayerSchemeHandler.h"
#include "web/qt/WebBrowser.h"
#include "web/qt/WebProfiles.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using viewer::PlayerDemand;

namespace {

constexpr int Rounds = 9;

// Milliseconds since this process started (its start time from /proc, in clock ticks since boot).
double sinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    std::istringstream rest(line.substr(line.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22; ++i)
        rest >> field; // field 22: starttime
    const double startMs = std::stod(field) * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6 - startMs;
}

double nowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Runs the event loop until view finished loading url.
void waitForLoad(QWebEngineView& view, const QUrl& url) {
    QEventLoop loop;
    auto done = QObject::connect(&view, &QWebEngineView::loadFinished, &loop, [&] {
        if (view.url() == url) loop.quit();
    });
    loop.exec();
    QObject::disconnect(done);
}

void runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

std::vector<pid_t> webEngineChildren() {
    std::vector<pid_t> pids;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line) || line.find("(QtWebEngineProc") == std::string::npos) continue;
        std::istringstream rest(line.substr(line.rfind(')') + 2));
        char state;
        pid_t parent = 0;
        rest >> state >> parent;
        if (parent == getpid()) pids.push_back(std::stoi(entry.path().filename().string()));
    }
    // The zygote's own children (the renderers) hang below the first web-engine process.
    for (std::size_t i = 0; i < pids.size(); ++i) {
        for (const auto& entry : fs::directory_iterator("/proc")) {
            std::ifstream stat(entry.path() / "stat");
            std::string line;
            if (!std::getline(stat, line)) continue;
            std::istringstream rest(line.substr(line.rfind(')') + 2));
            char state;
            pid_t parent = 0;
            rest >> state >> parent;
            if (parent == pids[i]) pids.push_back(std::stoi(entry.path().filename().string()));
        }
    }
    return pids;
}

// The sum of the smaps_rollup lines of pid that start with one of fields, in KiB.
long rollupKib(pid_t pid, std::initializer_list<std::string_view> fields) {
    std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
    long total = 0;
    for (std::string line; std::getline(rollup, line);)
        for (const std::string_view field : fields)
            if (line.starts_with(field)) total += std::stol(line.substr(field.size()));
    return total;
}

long pssKib(pid_t pid) {
    return rollupKib(pid, {"Pss:"});
}

// What pid alone maps: unlike its PSS, it does not change when other programs that share its
// libraries start or end, which on a shared machine moves the PSS of every process by megabytes.
long privateKib(pid_t pid) {
    return rollupKib(pid, {"Private_Clean:", "Private_Dirty:"});
}

long totalKib(long (*kib)(pid_t)) {
    long total = kib(getpid());
    for (pid_t pid : webEngineChildren())
        total += kib(pid);
    return total;
}

long totalPssKib() {
    return totalKib(pssKib);
}

QUrl pageUrl(const fs::path& appFolder, std::string_view key) {
    return QUrl::fromLocalFile(QString::fromStdString(Catalogue::pageFile(appFolder, key).string()));
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The two categories the tab rounds switch between, with their main tab positions.
struct Category {
    int mainTab;
    const char* key;
};
constexpr Category Categories[] = {{1, "GameAll"}, {2, "VideoAll"}};

// The catalogue window as Brindle starts it, after its start sequence; with the viewers, their
// opener and the readiness of their player, wired as Brindle wires them.
struct StartedWindow {
    StartedWindow(const fs::path& appFolder, bool withViewers, std::chrono::milliseconds idle)
        : start(runStartSequence(appFolder, "Brindle", launcher, ini)), web(appFolder),
          servers(Servers::read(appFolder)), window(appFolder, start.settings, servers, web) {
        if (!withViewers) return;
        opener.emplace(appFolder, start.settings, servers.site, web, players);
        readiness.emplace(
            opener->readyPlayer(), [this](const QUrl& link) { return opener->isKeptMovieApp(link); }, idle);
        QObject::connect(&window, &MainFrm::moviePageShown, &*readiness, &PlayerReadiness::moviePageShown);
        QObject::connect(&window, &MainFrm::linkHovered, &*readiness, &PlayerReadiness::linkHovered);
        QObject::connect(&window, &MainFrm::appLinkClicked, &*opener, &AppOpener::open);
    }

    PosixLauncher launcher;
    IniFile ini;
    StartResult start;
    WebProfiles web;
    Servers servers;
    MainFrm window;
    PlayerGroup players;
    std::optional<AppOpener> opener;
    std::optional<PlayerReadiness> readiness;
};

enum class Window { Plain, AsBrindle };

// The idle time after which the ready player goes, short for the benchmark.
constexpr std::chrono::seconds BenchIdle{5};

int runWindow(const fs::path& appFolder, Window kind) {
    StartedWindow started(appFolder, kind == Window::AsBrindle, BenchIdle);
    MainFrm& window = started.window;
    const std::optional<AppOpener>& opener = started.opener;
    window.show();
    waitForLoad(*window.HomeWeb(), pageUrl(appFolder, kHomeKey));
    std::printf("start_ms %.0f\n", sinceProcessStart());
    std::fflush(stdout);
    runFor(3000); // the updater ends and the page settles
    std::printf("pss_kib %ld\n", totalPssKib());

    window.SStab1()->setCurrentTab(Categories[0].mainTab);
    waitForLoad(*window.Web(), pageUrl(appFolder, Categories[0].key));
    for (int waited = 0; opener && !opener->readyPlayer().isWarm() && waited < 60000; waited += 50)
        runFor(50);
    runFor(3000);
    std::printf("ready_pss_kib %ld\n", totalPssKib());
    window.SStab1()->setCurrentTab(0);
    runFor(static_cast<int>(std::chrono::milliseconds(BenchIdle).count()) + 3000);
    if (opener && opener->readyPlayer().kept()) std::fprintf(stderr, "the ready player did not go\n");
    std::printf("released_pss_kib %ld\n", totalPssKib());
    std::fflush(stdout);

    std::vector<double> tabs;
    for (int round = 0; round < Rounds; ++round) {
        const Category& category = Categories[round % 2];
        const double clicked = nowMs();
        window.SStab1()->setCurrentTab(category.mainTab);
        waitForLoad(*window.Web(), pageUrl(appFolder, category.key));
        tabs.push_back(nowMs() - clicked);
    }
    std::printf("tab_ms %.0f\n", median(tabs));
    return 0;
}

// Runs the event loop until done() holds, for at most a minute; false when it did not.
bool runUntil(const std::function<bool()>& done) {
    for (int waited = 0; !done(); waited += 20) {
        if (waited > 60000) return false;
        runFor(20);
    }
    return true;
}

int runSoak(const fs::path& appFolder, int games, const std::vector<QUrl>& links) {
    StartedWindow started(appFolder, true, PlayerDemand::DefaultIdle);
    MainFrm& window = started.window;
    AppOpener& opener = *started.opener;
    // Another number of movies after which a player page is retired, to compare.
    if (const char* retireAfter = std::getenv("RETIRE_AFTER"))
        opener.readyPlayer().setRetireAfter(std::atoi(retireAfter));
    PlayTracker tracker(*window.playLibrary(), appFolder);
    int opened = 0;
    QObject::connect(&opener, &AppOpener::opened, &tracker, [&](FlashPayFrm* viewer) {
        ++opened;
        tracker.trackViewer(viewer, opener.currentLink().toString(QUrl::FullyEncoded).toStdString());
    });
    QObject::connect(&tracker, &PlayTracker::changed, &window, &MainFrm::libraryChanged);
    window.show();
    waitForLoad(*window.HomeWeb(), pageUrl(appFolder, kHomeKey));
    window.SStab1()->setCurrentTab(Categories[0].mainTab);
    runFor(3000);
    // Every checkpoint measures the same state: the ready player warm, also when the page that
    // played the last games has just been retired and a new one is being made.
    const auto checkpoint = [&opener](int game) {
        runUntil([&opener] { return opener.readyPlayer().isWarm(); });
        runFor(1000);
        // The page kept for the next game: the private memory of its process, and how many movies
        // it has started.
        const FlashPlayer* player = opener.readyPlayer().kept();
        const long playerKib =
            player ? privateKib(static_cast<pid_t>(player->page()->renderProcessPid())) : 0;
        std::printf(
            "games %d pss_kib %ld main_kib %ld private_kib %ld player_private_kib %ld player_movies %d\n",
            game, totalPssKib(), pssKib(getpid()), totalKib(privateKib), playerKib,
            player ? player->moviesStarted() : 0);
        std::fflush(stdout);
    };
    checkpoint(0);
    for (int game = 1; game <= games; ++game) {
        emit window.appLinkClicked(links[static_cast<std::size_t>(game - 1) % links.size()]);
        if (!runUntil([&] {
                return opened == game && opener.viewer()->flash() &&
                       opener.viewer()->flash()->isMovieLoaded();
            })) {
            std::fprintf(stderr, "game %d did not play\n", game);
            return 1;
        }
        runFor(1000); // it plays a moment
        bool closed = false;
        opener.closeViewer();
        opener.whenViewersClosed([&closed] { closed = true; });
        if (!runUntil([&] { return closed; })) return 1;
        if (game % 10 == 0) checkpoint(game);
    }
    return 0;
}

int runBare(const fs::path& appFolder) {
    QWebEngineView view;
    // Without it a local page loads neither the store's style sheet nor its pictures: the floor
    // shows the same page, fully.
    view.settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    view.resize(1000, 728);
    view.show();
    const QUrl home = pageUrl(appFolder, kHomeKey);
    view.load(home);
    waitForLoad(view, home);
    std::printf("start_ms %.0f\n", sinceProcessStart());
    std::fflush(stdout);
    runFor(3000);
    std::printf("pss_kib %ld\n", totalPssKib());

    std::vector<double> tabs;
    for (int round = 0; round < Rounds; ++round) {
        const QUrl page = pageUrl(appFolder, Categories[round % 2].key);
        const double clicked = nowMs();
        view.load(page);
        waitForLoad(view, page);
        tabs.push_back(nowMs() - clicked);
    }
    std::printf("tab_ms %.0f\n", median(tabs));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const bool soak = argc > 1 && std::string_view(argv[1]) == "--soak";
    if (soak ? argc < 5 : argc != 3) {
        std::fprintf(stderr, "usage: catalogue_bench --window|--plain|--bare APP_FOLDER\n"
                             "       catalogue_bench --soak APP_FOLDER GAMES LINK...\n");
        return 2;
    }
    PlayerSchemeHandler::registerScheme();
    WebProfiles::prepareEngine();
    QApplication app(argc, argv);
    const fs::path appFolder = argv[2];
    const std::string mode = argv[1];
    if (mode == "--bare") return runBare(appFolder);
    if (soak) {
        std::vector<QUrl> links;
        for (int i = 4; i < argc; ++i)
            links.emplace_back(QString::fromLocal8Bit(argv[i]));
        return runSoak(appFolder, std::atoi(argv[3]), links);
    }
    return runWindow(appFolder, mode == "--plain" ? Window::Plain : Window::AsBrindle);
}
