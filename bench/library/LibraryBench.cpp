// What the 我的游戏 page reads when it shows, with 500 played apps: the list from the library
// (already open, and opened anew as by a first click), and the sizes of every app's movie and
// saves and of Game/ and Saves/.

#include "TempDir.h"
#include "base/AtomicFile.h"
#include "library/GameFiles.h"
#include "library/PlayLibrary.h"

#include <benchmark/benchmark.h>

namespace fs = std::filesystem;

namespace {

constexpr int kApps = 500;

// 500 apps, two in three of them movies with a movie in Game/ and two saves each.
const TempDir& filledFolder() {
    static const TempDir folder;
    static const bool filled = [] {
        auto library = library::PlayLibrary::open(folder.path());
        fs::create_directories(folder.path() / "Game");
        for (int i = 0; i < kApps; ++i) {
            const std::string id = std::to_string(i);
            const bool movie = i % 3 != 0;
            const std::string movieFile = movie ? "game" + id + ".swf" : "";
            library->recordOpen("http://127.0.0.1:8780/appweb/app?id=" + id, "游戏 " + id, movie, movieFile,
                                id + ".png", 1'700'000'000 + i * 60);
            library->addPlayTime("http://127.0.0.1:8780/appweb/app?id=" + id, i * 7);
            if (!movie) continue;
            base::writeFileAtomic(folder.path() / "Game" / movieFile, std::string(50'000, 'm'));
            fs::create_directories(folder.path() / "Saves" / movieFile);
            for (const char* save : {"best.sol", "level.sol"})
                base::writeFileAtomic(folder.path() / "Saves" / movieFile / save, std::string(300, 's'));
        }
        return true;
    }();
    (void)filled;
    return folder;
}

void ListOpenLibrary(benchmark::State& state) {
    const auto library = library::PlayLibrary::open(filledFolder().path());
    for (auto _ : state) {
        auto apps = library->list();
        if (apps.size() != kApps) state.SkipWithError("not all apps listed");
        benchmark::DoNotOptimize(apps);
    }
}
BENCHMARK(ListOpenLibrary)->Unit(benchmark::kMillisecond);

void OpenAndList(benchmark::State& state) {
    for (auto _ : state) {
        auto apps = library::PlayLibrary::open(filledFolder().path())->list();
        benchmark::DoNotOptimize(apps);
    }
}
BENCHMARK(OpenAndList)->Unit(benchmark::kMillisecond);

void ListWithSizes(benchmark::State& state) {
    const auto library = library::PlayLibrary::open(filledFolder().path());
    const library::GameFiles files(filledFolder().path());
    for (auto _ : state) {
        const auto usage = files.usage();
        std::uintmax_t total = usage.game + usage.allSaves;
        const auto apps = library->list();
        for (const auto& app : apps)
            total += usage.movieBytes(app.movieFile) + usage.savesBytes(app.movieFile);
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(ListWithSizes)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
