// Frame rate of a heavy movie in the player, for bench/viewer/frame-rate.sh:
//   frame_rate_bench brindle|bare PLAYER_FOLDER MOVIE RENDERER SECONDS [SHOT.png]
// brindle plays MOVIE in Brindle's player (FlashPlayer, its page and configuration); bare plays it
// in a bare web view with nothing but Ruffle and the same font. RENDERER is the Ruffle renderer
// asked for (webgpu, wgpu-webgl, webgl, canvas), or "default": for brindle what the player page
// chooses itself, for bare Ruffle's own choice. The movie (a part of HeavyScene.hx) reports the
// frames it has seen in its shared object "rate"; two seconds after its first report, the frames of
// SECONDS are counted. Prints "name value" lines: the renderer Ruffle used, fps (frames the movie
// saw per second of its own clock), cpu_percent and cpu_ms_per_frame (the CPU time of this process
// and all its descendants, the web engine's, per second and per frame). With SHOT, a picture of the
// view at the end goes there.
//   frame_rate_bench picture brindle|bare PLAYER_FOLDER MOVIE RENDERER SECONDS SHOT.png
// plays any movie for SECONDS and takes its picture, so that the renderers' drawings can be compared.

#include "WaitUntil.h"
#include "viewer/SolFile.h"
#include "viewer/qt/FlashPlayer.h"
#include "viewer/qt/PlayerGroup.h"
#include "viewer/qt/PlayerSchemeHandler.h"
#include "web/qt/WebProfiles.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Clock ticks of CPU time (user and system) of this process and every descendant.
long long cpuTicks() {
    std::map<int, int> parents;
    std::map<int, long long> ticks;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (!std::all_of(name.begin(), name.end(), ::isdigit)) continue;
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        std::getline(stat, line);
        const auto close = line.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream rest(line.substr(close + 2));
        std::string field;
        std::vector<std::string> fields;
        while (rest >> field)
            fields.push_back(field);
        if (fields.size() < 13) continue;
        const int pid = std::stoi(name);
        parents[pid] = std::stoi(fields[1]);
        ticks[pid] = std::stoll(fields[11]) + std::stoll(fields[12]); // utime, stime
    }
    const int self = static_cast<int>(getpid());
    long long sum = 0;
    for (const auto& [pid, parent] : parents) {
        int p = pid;
        while (p > 1 && p != self)
            p = parents.count(p) ? parents[p] : 0;
        if (p == self) sum += ticks[pid];
    }
    return sum;
}

double cpuMs() {
    return cpuTicks() * 1000.0 / sysconf(_SC_CLK_TCK);
}

struct Sample {
    double frames = 0;
    double at = 0;
};

std::optional<Sample> parseRate(const QString& base64) {
    const QByteArray bytes = QByteArray::fromBase64(base64.toLatin1());
    const auto file = viewer::SolFile::parse(std::string_view(bytes.constData(), bytes.size()));
    if (!file) return std::nullopt;
    const auto number = [&](const char* name) -> std::optional<double> {
        const viewer::AmfValue* v = file->value(name);
        if (!v) return std::nullopt;
        return v->type == viewer::AmfValue::Type::Integer ? v->integer : v->number;
    };
    const auto frames = number("frames"), at = number("at");
    if (!frames || !at) return std::nullopt;
    return Sample{*frames, *at};
}

// The page keeps the movie's shared objects in localStorage (Brindle's page in a store of its
// own with the same calls); Ruffle names the renderer it uses in its console line on each start.
const char* const kWatch = R"JS(
    window.usedRenderer = "";
    const log = console.log;
    console.log = function (...args) {
        const found = /Used renderer: ([a-z0-9-]*)/.exec(String(args[0]));
        if (found) window.usedRenderer = found[1];
        return log.apply(console, args);
    };
)JS";
const char* const kRead = R"JS(
    (function () {
        for (let i = 0; i < localStorage.length; ++i) {
            const key = localStorage.key(i);
            if (key && key.endsWith("/rate")) return [window.usedRenderer, localStorage.getItem(key)];
        }
        return [window.usedRenderer, ""];
    })()
)JS";

class Run {
  public:
    explicit Run(QWebEngineView& view) : view_(view) {}

    int measure(int seconds) {
        clock_.start();
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [this] { poll(); });
        timer.start(250);
        if (!waitUntil([&] { return latest_.has_value(); }, 120000)) return fail("the movie did not report");
        const double first = latest_->at;
        waitUntil([&] { return latest_->at >= first + 2000; }, 60000);
        const Sample start = *latest_;
        const double startCpu = latestCpu_, startClock = latestClock_;
        if (!waitUntil([&] { return latest_->at >= start.at + seconds * 1000.0; }, seconds * 1000 + 60000))
            return fail("the movie stopped reporting");
        const Sample end = *latest_;
        const double cpuRate = (latestCpu_ - startCpu) / (latestClock_ - startClock); // ms of CPU per ms
        const double frames = end.frames - start.frames;
        const double span = end.at - start.at;
        std::printf("renderer %s\n", renderer_.isEmpty() ? "unknown" : qPrintable(renderer_));
        std::printf("fps %.2f\n", frames * 1000 / span);
        std::printf("cpu_percent %.0f\n", cpuRate * 100);
        std::printf("cpu_ms_per_frame %.1f\n", frames > 0 ? cpuRate * span / frames : 0.0);
        return 0;
    }

  private:
    // Asks the page for the movie's latest report every quarter second.
    void poll() {
        view_.page()->runJavaScript(QString::fromLatin1(kRead),
                                    [alive = std::weak_ptr(self_)](const QVariant& result) {
                                        if (const auto run = alive.lock()) (*run)->take(result);
                                    });
    }

    void take(const QVariant& result) {
        const QVariantList pair = result.toList();
        if (pair.size() != 2) return;
        renderer_ = pair[0].toString();
        if (auto sample = parseRate(pair[1].toString())) {
            latest_ = *sample;
            latestCpu_ = cpuMs();
            latestClock_ = clock_.elapsed();
        }
    }

    int fail(const char* why) {
        std::fprintf(stderr, "frame_rate_bench: %s\n", why);
        return 1;
    }

    QWebEngineView& view_;
    // Answers that come after this run has ended find it gone.
    std::shared_ptr<Run*> self_ = std::make_shared<Run*>(this);
    QElapsedTimer clock_;
    std::optional<Sample> latest_;
    double latestCpu_ = 0;
    double latestClock_ = 0;
    QString renderer_;
};

QString rendererConfig(const QString& renderer) {
    return renderer == QLatin1String("default")
               ? QString()
               : QStringLiteral("window.RufflePlayer.config.preferredRenderer = \"%1\";").arg(renderer);
}

bool waitForLoad(QWebEngineView& view) {
    QSignalSpy loaded(&view, &QWebEngineView::loadFinished);
    return waitUntil([&] { return !loaded.isEmpty(); }, 60000);
}

// Ruffle has started the movie (and named its renderer).
bool waitForStart(QWebEngineView& view) {
    struct State {
        bool started = false, asking = false;
    };
    const auto state = std::make_shared<State>(); // an answer may come after the wait has ended
    return waitUntil(
        [&] {
            if (!state->asking) {
                state->asking = true;
                view.page()->runJavaScript(QStringLiteral("window.usedRenderer"), [state](const QVariant& v) {
                    state->started = !v.toString().isEmpty();
                    state->asking = false;
                });
            }
            return state->started;
        },
        120000);
}

// What a run does while the movie plays: measures it (then takes a picture when asked), or with
// "picture" only lets it play for SECONDS once Ruffle has started it and takes the picture, of any
// movie.
int play(QWebEngineView& view, const QStringList& args, bool pictureOnly) {
    int status = 0;
    if (pictureOnly) {
        if (!waitForStart(view)) return 1;
        runEventsFor(args[3].toInt() * 1000);
    } else {
        status = Run(view).measure(args[3].toInt());
    }
    if (args.size() > 4) view.grab().save(args[4]);
    return status;
}

int brindle(const QStringList& args, bool pictureOnly) {
    QTemporaryDir app;
    const fs::path root = app.path().toStdString();
    fs::create_directories(root / "Game");
    const fs::path movie = root / "Game" / fs::path(args[1].toStdString()).filename();
    fs::copy_file(args[1].toStdString(), movie);
    PlayerGroup players;
    FlashPlayer player(players, viewer::PlayerFiles{args[0].toStdString(), root / "Game", root / "Saves"});
    player.resize(800, 480);
    player.show();
    if (!waitForLoad(player)) return 1;
    player.page()->runJavaScript(QString::fromLatin1(kWatch) + rendererConfig(args[2]));
    player.setMovie(QString::fromStdString(movie.string()));
    const int status = play(player, args, pictureOnly);
    player.stopMovie();
    waitUntil([&] { return !player.isStopping(); }, 30000);
    return status;
}

int bare(const QStringList& args, bool pictureOnly) {
    // Ruffle's files, the font and the movie beside a page that plays it, read over file://.
    QTemporaryDir dir;
    const QDir player(QFileInfo(args[0]).absoluteFilePath());
    for (const QString& name : player.entryList(QDir::Files))
        QFile::link(player.filePath(name), dir.filePath(name));
    QFile::copy(args[1], dir.filePath(QStringLiteral("movie.swf")));
    QFile page(dir.filePath(QStringLiteral("bare.html")));
    page.open(QIODevice::WriteOnly);
    page.write(R"(<html><head><style>html,body{margin:0;height:100%;background:#000;overflow:hidden}
ruffle-player{display:block;width:100%;height:100%}</style><script src="ruffle.js"></script></head>
<body><script>window.RufflePlayer.config = {autoplay: "on", unmuteOverlay: "hidden", splashScreen: false,
fontSources: ["wqy-microhei-subset.ttf"], defaultFonts: {sans: ["WenQuanYi Micro Hei"]}};
function start() { const p = window.RufflePlayer.newest().createPlayer(); document.body.appendChild(p);
p.ruffle().load({url: "movie.swf"}); }
</script></body></html>)");
    page.close();
    QWebEngineView view;
    view.resize(800, 480);
    view.show();
    view.load(QUrl::fromLocalFile(page.fileName()));
    if (!waitForLoad(view)) return 1;
    view.page()->runJavaScript(QString::fromLatin1(kWatch) + rendererConfig(args[2]) +
                               QStringLiteral("start();"));
    return play(view, args, pictureOnly);
}

} // namespace

int main(int argc, char** argv) {
    PlayerSchemeHandler::registerScheme();
    WebProfiles::prepareEngine();
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.size() < 5) {
        std::fprintf(
            stderr,
            "usage: frame_rate_bench [picture] brindle|bare PLAYER_FOLDER MOVIE RENDERER SECONDS [SHOT]\n");
        return 2;
    }
    const QString mode = args.takeFirst();
    const bool pictureOnly = mode == QLatin1String("picture");
    if (pictureOnly) {
        if (args.size() < 6) return 2;
        const QString page = args.takeFirst();
        return page == QLatin1String("bare") ? bare(args, true) : brindle(args, true);
    }
    if (mode == QLatin1String("brindle")) return brindle(args, false);
    if (mode == QLatin1String("bare")) return bare(args, false);
    return 2;
}
