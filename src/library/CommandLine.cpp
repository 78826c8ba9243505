#include "library/CommandLine.h"

#include "base/RunLock.h"
#include "library/PlayLibrary.h"
#include "library/SaveArchive.h"
#include "sqlite/Error.h"

#include <cstdio>
#include <ctime>

namespace fs = std::filesystem;

namespace library {

namespace {

constexpr const char* kUsage = "用法：brindle [文件.swf ...]\n"
                               "      brindle --backup-saves 文件.zip\n"
                               "      brindle --restore-saves 文件.zip\n"
                               "      brindle --list-played\n"
                               "      brindle --folders\n"
                               "\n"
                               "  文件.swf ...                打开目录窗口，并在应用窗口中打开这些本地游戏\n"
                               "                              （路径或 file:// 地址）\n"
                               "  --backup-saves 文件.zip     把所有游戏的存档备份到 文件.zip\n"
                               "  --restore-saves 文件.zip    用 文件.zip 里的存档恢复（须先关闭 Brindle）\n"
                               "  --list-played               列出玩过的游戏，最近玩的在前，以制表符分隔\n"
                               "  --folders                   显示本用户的数据、设置和缓存文件夹\n"
                               "  --help                      显示本说明\n"
                               "  --version                   显示版本号\n";

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

int listPlayed(const fs::path& dataFolder) {
    LibraryProblem problem;
    const auto library = PlayLibrary::open(dataFolder, &problem);
    if (!library) {
        std::fprintf(stderr, "%s\n", problem.why.c_str());
        return CommandLine::Failed;
    }
    if (!library->setAside().empty())
        std::fprintf(stderr, "游戏库已损坏，已移到“%s”，并重新建立。\n", library->setAside().c_str());
    std::vector<PlayedApp> apps;
    try {
        apps = library->list();
    } catch (const sqlite::Error& error) {
        std::fprintf(stderr, "读不到游戏记录：%s\n", LibraryProblem::of(error).why.c_str());
        return CommandLine::Failed;
    }
    std::printf("地址\t名称\t次数\t时长（秒）\t最近一次（UTC）\n");
    for (const auto& app : apps)
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

int listFolders(const base::Folders& folders) {
    for (const fs::path& folder : folders.prepare())
        std::fprintf(stderr, "无法建立文件夹“%s”。\n", folder.c_str());
    std::printf("数据\t%s\n设置\t%s\n缓存\t%s\n", folders.data.c_str(), folders.config.c_str(),
                folders.cache.c_str());
    return std::fflush(stdout) == 0 ? CommandLine::Done : CommandLine::Failed;
}

// The command an option names, with whether it takes a file; Wrong for anything else.
CommandLine::Action command(const std::string& option, bool& withFile) {
    using Action = CommandLine::Action;
    withFile = option == "--backup-saves" || option == "--restore-saves";
    if (option == "--backup-saves") return Action::BackupSaves;
    if (option == "--restore-saves") return Action::RestoreSaves;
    if (option == "--list-played") return Action::ListPlayed;
    if (option == "--help") return Action::Help;
    if (option == "--version") return Action::Version;
    if (option == "--folders") return Action::Folders;
    return Action::Wrong;
}

} // namespace

CommandLine CommandLine::parse(const std::vector<std::string>& args) {
    CommandLine line;
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (options && arg == "--") {
            options = false;
        } else if (options && arg.size() > 1 && arg.front() == '-') {
            // A command stands alone: nothing before it, its file (if any) after it, nothing more.
            bool withFile = false;
            line.action_ = command(arg, withFile);
            const std::size_t needed = withFile ? 2 : 1;
            if (line.action_ == Action::Wrong || i != 0 || args.size() != needed ||
                (withFile && args[1].empty()))
                line.action_ = Action::Wrong;
            else if (withFile)
                line.zip_ = args[1];
            line.files_.clear();
            return line;
        } else if (arg.empty() || arg == "-") {
            line.action_ = Action::Wrong;
            line.files_.clear();
            return line;
        } else {
            line.files_.push_back(arg);
        }
    }
    return line;
}

int CommandLine::run(const base::Folders& folders, const fs::path& instanceLock,
                     const std::string& version) const {
    const fs::path saves = folders.data / "Saves";
    switch (action_) {
    case Action::Window:
    case Action::Wrong:
        std::fputs(kUsage, stderr);
        return Usage;
    case Action::Help:
        std::fputs(kUsage, stdout);
        return std::fflush(stdout) == 0 ? Done : Failed;
    case Action::Version:
        std::printf("Brindle %s\n", version.c_str());
        return std::fflush(stdout) == 0 ? Done : Failed;
    case Action::Folders:
        return listFolders(folders);
    case Action::ListPlayed:
        folders.prepare();
        return listPlayed(folders.data);
    case Action::BackupSaves:
        return report(SaveArchive::backup(zip_, saves));
    case Action::RestoreSaves:
        break;
    }
    folders.prepare();
    // Held while restoring, so that no Brindle starts to play meanwhile.
    const base::RunLock lock(instanceLock, base::RunLock::Mode::Try);
    if (lock.busy()) {
        std::fputs("Brindle 正在这个文件夹里运行，没有恢复存档：请先关闭 Brindle。\n", stderr);
        return BrindleRuns;
    }
    return report(SaveArchive::restore(zip_, saves));
}

} // namespace library
