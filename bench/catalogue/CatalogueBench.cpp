// The catalogue window beside a bare web view, for catalogue.sh: one run prints, for one of the two,
//   start_ms N    process start to the first page loaded (the home page of a warm page cache)
//   tab_ms N      median of a category's cached page loaded after its tab was clicked
//   pss_kib N     PSS of this process and its web-engine processes with the home page shown
//
//   catalogue_bench --window APP_FOLDER   MainFrm as Brindle opens it (start sequence included)
//   catalogue_bench --ready APP_FOLDER    the same with the player that Brindle keeps ready for the
//                                         movie viewers, made after the first page: its pss_kib only
//   catalogue_bench --bare APP_FOLDER     one QWebEngineView showing the same page files

#include "catalogue/qt/MainFrm.h"
#include "pages/Catalogue.h"
#include "skin/qt/SSTab.h"
#include "startup/IniFile.h"
#include "startup/PosixLauncher.h"
#include "startup/StartMode.h"
#include "viewer/qt/AppOpener.h"
#include "viewer/qt/PlayerSchemeHandler.h"
#include "web/qt/WebBrowser.h"
#include "web/qt/WebProfiles.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

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

long pssKib(pid_t pid) {
    std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
    for (std::string line; std::getline(rollup, line);)
        if (line.starts_with("Pss:")) return std::stol(line.substr(4));
    return 0;
}

long totalPssKib() {
    long total = pssKib(getpid());
    for (pid_t pid : webEngineChildren())
        total += pssKib(pid);
    return total;
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

int runWindow(const fs::path& appFolder, bool readyPlayer) {
    PosixLauncher launcher;
    IniFile ini;
    const StartResult start = runStartSequence(appFolder, "Brindle", launcher, ini);
    WebProfiles web(appFolder);
    const Servers servers = Servers::read(appFolder);
    MainFrm window(appFolder, start.settings, servers, web);
    AppOpener opener(appFolder, start.settings, servers.site, web);
    if (readyPlayer)
        QObject::connect(window.HomeWeb(), &WebBrowser::DownloadComplete, &opener,
                         &AppOpener::prepareReadyPlayer, Qt::SingleShotConnection);
    window.show();
    waitForLoad(*window.HomeWeb(), pageUrl(appFolder, kHomeKey));
    std::printf("start_ms %.0f\n", sinceProcessStart());
    std::fflush(stdout);
    for (int waited = 0; readyPlayer && !opener.readyPlayer().isWarm() && waited < 60000; waited += 50)
        runFor(50);
    runFor(3000); // the updater ends and the page settles
    std::printf("pss_kib %ld\n", totalPssKib());
    if (readyPlayer) return 0;

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
    if (argc != 3) {
        std::fprintf(stderr, "usage: catalogue_bench --window|--ready|--bare APP_FOLDER\n");
        return 2;
    }
    PlayerSchemeHandler::registerScheme();
    WebProfiles::prepareEngine();
    QApplication app(argc, argv);
    const fs::path appFolder = argv[2];
    const std::string mode = argv[1];
    return mode == "--bare" ? runBare(appFolder) : runWindow(appFolder, mode == "--ready");
}
