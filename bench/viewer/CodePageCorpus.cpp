// codepage_corpus PLAYER_FOLDER TESTS_FOLDER: how old movies play once rewritten with their pushed
// strings built at run time (viewer/CodePageMovie, every pushed string that is no name), against a
// corpus of movies with the traces they are known to print: every TESTS_FOLDER/<name>/test.swf of
// version 5 or older that has an output.txt beside it (and, in test.toml, how many frames it runs).
// Each movie plays as it is and rewritten, one after the other, in one web view with Ruffle from
// PLAYER_FOLDER; the rewritten movie is written beside the original as test.rewritten.swf, so the
// files it loads beside itself are found alike. A line per movie says whether the original traced
// what it should and whether the rewritten one traced the same as the original, with the first line
// that differs; the last lines give the shares, also of the movies marked by a file
// version-neutral beside them (movies whose version 5 and 6 builds traced the same in Flash Player).

#include "viewer/CodePageMovie.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <cstdio>

namespace {

// Collects what the movies trace, which the page logs with a "trace:" before it.
class TracePage : public QWebEnginePage {
  public:
    using QWebEnginePage::QWebEnginePage;
    QStringList traces;

  protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int,
                                  const QString&) override {
        if (message.startsWith(QLatin1String("trace:"))) traces << message.mid(6);
    }
};

void runEventsUntil(const std::function<bool()>& done, qint64 ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

QString normalized(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    while (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

struct Movie {
    QString name;
    QString folder;
    int frames = 1;
    double frameRate = 12;
    bool neutral = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: codepage_corpus PLAYER_FOLDER TESTS_FOLDER\n");
        return 2;
    }
    const QDir player(QDir(QString::fromLocal8Bit(argv[1])).absolutePath());
    const QDir tests(QString::fromLocal8Bit(argv[2]));

    std::vector<Movie> movies;
    int notRewritten = 0;
    for (const QString& name : tests.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QDir folder(tests.filePath(name));
        QFile swf(folder.filePath(QStringLiteral("test.swf")));
        if (!folder.exists(QStringLiteral("output.txt")) || !swf.open(QIODevice::ReadOnly)) continue;
        const QByteArray bytes = swf.readAll();
        if (bytes.size() < 8 || static_cast<unsigned char>(bytes[3]) > 5) continue;
        const auto rewritten = viewer::unicodeMovie(std::string_view(bytes.constData(), bytes.size()),
                                                    viewer::CodePageRewrite::Always);
        if (!rewritten) {
            std::printf("%-50s not rewritten\n", qPrintable(name));
            ++notRewritten;
            continue;
        }
        QFile out(folder.filePath(QStringLiteral("test.rewritten.swf")));
        if (!out.open(QIODevice::WriteOnly)) return 1;
        out.write(rewritten->data(), static_cast<qint64>(rewritten->size()));
        Movie movie{name, folder.path()};
        movie.neutral = folder.exists(QStringLiteral("version-neutral"));
        QFile toml(folder.filePath(QStringLiteral("test.toml")));
        if (toml.open(QIODevice::ReadOnly)) {
            const auto match =
                QRegularExpression(QStringLiteral("num_frames\\s*=\\s*(\\d+)")).match(toml.readAll());
            if (match.hasMatch()) movie.frames = match.captured(1).toInt();
        }
        // The frame rate follows the stage's rectangle, of 5 + 4 n bits, n in its first 5 bits.
        const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(rewritten->at(i)); };
        const std::size_t rate = 8 + (5 + 4 * (byte(8) >> 3) + 7) / 8;
        movie.frameRate = std::max(1.0, byte(rate + 1) + byte(rate) / 256.0);
        movies.push_back(movie);
    }

    // Ruffle's files and a page that plays one movie at a time in a fresh player.
    QTemporaryDir dir;
    for (const QString& name : player.entryList(QDir::Files))
        QFile::link(player.filePath(name), dir.filePath(name));
    QFile page(dir.filePath(QStringLiteral("corpus.html")));
    if (!page.open(QIODevice::WriteOnly)) return 1;
    page.write(R"(<html><head><script src="ruffle.js"></script></head><body style="margin:0"><script>
window.RufflePlayer.config = {autoplay: "on", unmuteOverlay: "hidden", splashScreen: false,
    warnOnUnsupportedContent: false};
let player = null;
function play(url) {
    if (player) player.remove();
    player = window.RufflePlayer.newest().createPlayer();
    player.style.width = "550px"; player.style.height = "400px";
    document.body.appendChild(player);
    // The movie starts once its file has been read, after Ruffle's instance exists.
    player.ruffle().load({url: url}).then(() => {
        player.ruffle().traceObserver = (message) => console.log("trace:" + message);
    });
}
</script></body></html>)");
    page.close();

    TracePage tracePage;
    QWebEngineView view;
    view.setPage(&tracePage);
    view.resize(550, 400);
    view.show();
    bool loaded = false;
    QObject::connect(&view, &QWebEngineView::loadFinished, [&] { loaded = true; });
    view.load(QUrl::fromLocalFile(page.fileName()));
    runEventsUntil([&] { return loaded; }, 30000);

    // Plays a movie until it has traced expected, or for its frames and a margin.
    bool first = true;
    const auto traced = [&](const Movie& movie, const QString& file, const QString& expected) {
        tracePage.traces.clear();
        const QUrl url = QUrl::fromLocalFile(QDir(movie.folder).filePath(file));
        tracePage.runJavaScript(QStringLiteral("play(\"%1\")").arg(url.toString(QUrl::FullyEncoded)));
        const qint64 margin = first ? 15000 : 3000;
        first = false;
        runEventsUntil([&] { return normalized(tracePage.traces.join('\n')) == expected; },
                       static_cast<qint64>(movie.frames / movie.frameRate * 1000) + margin);
        return normalized(tracePage.traces.join('\n'));
    };

    int asExpected = 0, same = 0, sameOfExpected = 0, neutral = 0, sameOfNeutral = 0;
    for (const Movie& movie : movies) {
        QFile output(QDir(movie.folder).filePath(QStringLiteral("output.txt")));
        output.open(QIODevice::ReadOnly);
        const QString expected = normalized(QString::fromUtf8(output.readAll()));
        const QString original = traced(movie, QStringLiteral("test.swf"), expected);
        const QString rewritten = traced(movie, QStringLiteral("test.rewritten.swf"), original);
        const bool ok = original == expected, equal = rewritten == original;
        asExpected += ok;
        same += equal;
        sameOfExpected += ok && equal;
        neutral += movie.neutral;
        sameOfNeutral += movie.neutral && equal;
        std::printf("%-50s original %s, rewritten %s\n", qPrintable(movie.name),
                    ok ? "as expected" : "differs", equal ? "the same" : "DIFFERS");
        if (!equal) {
            // The first line that differs, and the counts of lines.
            const QStringList a = original.split('\n'), b = rewritten.split('\n');
            qsizetype line = 0;
            while (line < a.size() && line < b.size() && a[line] == b[line])
                ++line;
            std::printf("  line %lld of %lld and %lld:\n  original:  %s\n  rewritten: %s\n",
                        static_cast<long long>(line + 1), static_cast<long long>(a.size()),
                        static_cast<long long>(b.size()), qPrintable(a.value(line).left(200)),
                        qPrintable(b.value(line).left(200)));
        }
        std::fflush(stdout);
    }
    const auto share = [](int part, int whole) { return whole ? 100.0 * part / whole : 0.0; };
    std::printf("movies %zu, not rewritten %d\n", movies.size(), notRewritten);
    std::printf("original traces as expected: %d (%.1f %%)\n", asExpected, share(asExpected, movies.size()));
    std::printf("identical traces: %d of %zu (%.1f %%)\n", same, movies.size(), share(same, movies.size()));
    std::printf("identical traces where the original traced as expected: %d of %d (%.1f %%)\n",
                sameOfExpected, asExpected, share(sameOfExpected, asExpected));
    if (neutral)
        std::printf("identical traces of version-neutral movies: %d of %d (%.1f %%)\n", sameOfNeutral,
                    neutral, share(sameOfNeutral, neutral));
    return 0;
}
