// What a movie's start costs on the worker that reads its saves, for bench/viewer/saves.sh: 16 MB of
// saves in eight files, each a game's usual mix (a 1.5 MB byte array, a 400 KB string, 5,000 small
// objects of one class), handed over by FlashSaves::load as at a movie's start; the same files read
// whole with SolFile::parse, as the tools do; a 220 KB file whose references ask for gigabytes; and
// looking through the main timeline of a large compressed movie for its scaling (startsUnscaled):
// 10 MB of definitions, three quarters images that do not compress and a quarter that does, behind
// a preloader and without the command, so that it is read to its end. The saves' benchmarks report
// the process's peak resident memory so far as peak_mib.

#include "SwfWriter.h"
#include "TempDir.h"
#include "base/AtomicFile.h"
#include "viewer/CompressedMovie.h"
#include "viewer/FlashSaves.h"
#include "viewer/PreloaderFrames.h"
#include "viewer/SolBytes.h"
#include "viewer/SolFile.h"
#include "viewer/UnscaledMovie.h"

#include <benchmark/benchmark.h>
#include <fstream>
#include <random>
#include <sys/resource.h>

namespace fs = std::filesystem;

namespace {

constexpr int kFiles = 8;

std::string amf3Bytes(const std::string& bytes) {
    return u29(static_cast<unsigned>(bytes.size()) << 1 | 1) + bytes;
}

std::string usualSave(int n) {
    std::string body;
    body += amf3Text("shot") + "\x0c" + amf3Bytes(std::string(1'500'000, static_cast<char>(n))) + '\0';
    body += amf3Text("level") + "\x06" + amf3Bytes(std::string(400'000, 'a' + n)) + '\0';
    // An array of objects of one sealed class {x, y, kind}: the class is written once, then referred to.
    body += amf3Text("units") + "\x09" + u29(5'000 << 1 | 1) + "\x01";
    for (int i = 0; i < 5'000; ++i) {
        if (i == 0)
            body += "\x0a\x33" + amf3Text("Unit") + amf3Text("x") + amf3Text("y") + amf3Text("kind");
        else
            body += "\x0a\x01";
        body += "\x04" + u29(i % 100) + "\x04" + u29(i / 100) + "\x04\x03";
    }
    body += '\0';
    return sol("save" + std::to_string(n), 3, body);
}

const TempDir& savesFolder() {
    static const TempDir folder;
    static const bool filled = [] {
        fs::create_directories(folder.path() / "game.swf");
        for (int n = 0; n < kFiles; ++n)
            base::writeFileAtomic(folder.path() / "game.swf" / ("save" + std::to_string(n) + ".sol"),
                                  usualSave(n));
        return true;
    }();
    (void)filled;
    return folder;
}

void reportPeak(benchmark::State& state) {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_mib"] = static_cast<double>(usage.ru_maxrss) / 1024;
}

void LoadMovieSaves(benchmark::State& state) {
    const viewer::FlashSaves saves(savesFolder().path(), "game.swf", "app", "Game/game.swf");
    std::size_t bytes = 0;
    for (auto _ : state) {
        const auto loaded = saves.load();
        bytes = 0;
        for (const auto& save : loaded)
            bytes += save.bytes.size();
        benchmark::DoNotOptimize(bytes);
    }
    if (bytes < kFiles * 1'900'000u) state.SkipWithError("the saves were not all handed over");
    state.counters["mib"] = static_cast<double>(bytes) / (1 << 20);
    reportPeak(state);
}
BENCHMARK(LoadMovieSaves)->Unit(benchmark::kMillisecond);

void ParseMovieSaves(benchmark::State& state) {
    for (auto _ : state)
        for (const auto& entry : fs::directory_iterator(savesFolder().path() / "game.swf")) {
            const auto file = viewer::SolFile::read(entry.path());
            if (!file) state.SkipWithError("a save was refused");
            benchmark::DoNotOptimize(file);
        }
    reportPeak(state);
}
BENCHMARK(ParseMovieSaves)->Unit(benchmark::kMillisecond);

void RefuseReferenceBomb(benchmark::State& state) {
    // A 20,000-byte string referred to 99,990 times.
    std::string body =
        amf3Text("a") + "\x09" + u29(99'991 << 1 | 1) + "\x01\x06" + amf3Bytes(std::string(20'000, 'x'));
    for (int i = 0; i < 99'990; ++i)
        body += "\x06\x02";
    const std::string bomb = sol("bomb", 3, body + '\0');
    for (auto _ : state)
        if (viewer::SolFile::parse(bomb)) state.SkipWithError("the bomb was read");
    reportPeak(state);
}
BENCHMARK(RefuseReferenceBomb)->Unit(benchmark::kMillisecond);

const TempDir& largeMovieFolder() {
    static const TempDir folder;
    static const bool written = [] {
        swf::MovieWriter movie(800, 600, 24, {0, 0, 0});
        movie.setVersion(8);
        for (const swf::Actions& frame : preloaderFrames()) {
            movie.doAction(frame);
            movie.showFrame();
        }
        std::mt19937 random(7);
        for (int i = 0; i < 100; ++i) {
            std::string body(100'000, '\0');
            if (i % 4 == 0) // a lossless bitmap: runs of a few colours
                for (std::size_t b = 0; b < body.size(); ++b)
                    body[b] = static_cast<char>((b / 64 + random() % 2) % 7);
            else // a JPEG
                for (char& b : body)
                    b = static_cast<char>(random());
            movie.tag(i % 4 == 0 ? 36 : 21, body);
        }
        swf::Actions game;
        game.op(swf::Op::Stop);
        movie.doAction(game);
        movie.showFrame();
        std::ofstream(folder.path() / "large.swf", std::ios::binary) << compressed(movie.bytes());
        return true;
    }();
    (void)written;
    return folder;
}

void LookThroughLargeMovie(benchmark::State& state) {
    const auto file = largeMovieFolder().path() / "large.swf";
    for (auto _ : state) {
        std::ifstream in(file, std::ios::binary);
        if (viewer::startsUnscaled(in)) state.SkipWithError("the movie was taken as unscaled");
    }
    state.counters["file_mib"] = static_cast<double>(fs::file_size(file)) / (1 << 20);
}
BENCHMARK(LookThroughLargeMovie)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
