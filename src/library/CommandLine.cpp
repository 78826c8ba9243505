#include "library/CommandLine.h"

#include "base/RunLock.h"
#include "library/PlayLibrary.h"
#include "library/SaveArchive.h"

#include <cstdio>
#include <ctime>

namespace fs = std::filesystem;

namespace library {

namespace {

constexpr const char* kUsage =
    "用法：Brindle --backup-saves 文件.zip | --restore-saves 文件.zip | --list-played\n";

std::string isoTime(std::int64_t seconds) {
    const std::time_t time = seconds;
    std::tm utc{};
    gmtime_r(&time, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

std::string oneField(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return text;
}

int listPlayed(const fs::path& appFolder) {
    std::string problem;
    const auto library = PlayLibrary::open(appFolder, &problem);
    if (!library) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return CommandLine::Failed;
    }
    if (!library->setAside().empty())
        std::fprintf(stderr, "游戏库已损坏，已移到“%s”，并重新建立。\n", library->setAside().c_str());
    const auto apps = library->list();
    if (!apps) {
        std::fprintf(stderr, "暂时读不到游戏记录：另一个程序正在使用 Library.db，请稍后再试。\n");
        return CommandLine::Failed;
    }
    for (const auto& app : *apps)
        std::printf("%s\t%s\t%lld\t%lld\t%s\n", oneField(app.link).c_str(), oneField(app.name).c_str(),
                    static_cast<long long>(app.plays), static_cast<long long>(app.seconds),
                    isoTime(app.lastPlayed).c_str());
    return std::fflush(stdout) == 0 ? CommandLine::Done : CommandLine::Failed;
}

int report(const SaveArchive::Result& result) {
    if (result.ok()) {
        std::printf("%s\n", result.message.c_str());
        return CommandLine::Done;
    }
    std::fprintf(stderr, "%s\n", result.message.c_str());
    return result.status == SaveArchive::Status::Refused ? CommandLine::Refused : CommandLine::Failed;
}

} // namespace

bool CommandLine::wanted(const std::vector<std::string>& args) {
    return !args.empty() && (args.front() == "--backup-saves" || args.front() == "--restore-saves" ||
                             args.front() == "--list-played");
}

int CommandLine::run(const std::vector<std::string>& args, const fs::path& appFolder,
                     const fs::path& instanceLock) {
    const std::string command = args.empty() ? "" : args.front();
    const bool withFile = command == "--backup-saves" || command == "--restore-saves";
    if (!(withFile && args.size() == 2 && !args[1].empty()) &&
        !(command == "--list-played" && args.size() == 1)) {
        std::fputs(kUsage, stderr);
        return Usage;
    }
    if (command == "--list-played") return listPlayed(appFolder);
    const fs::path zip = args[1];
    const fs::path saves = appFolder / "Saves";
    if (command == "--backup-saves") return report(SaveArchive::backup(zip, saves));
    // Held while restoring, so that no Brindle starts to play meanwhile.
    const base::RunLock lock(instanceLock, base::RunLock::Mode::Try);
    if (lock.busy()) {
        std::fputs("Brindle 正在这个文件夹里运行，没有恢复存档：请先关闭 Brindle。\n", stderr);
        return BrindleRuns;
    }
    return report(SaveArchive::restore(zip, saves));
}

} // namespace library
