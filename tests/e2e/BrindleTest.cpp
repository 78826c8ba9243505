// Brindle run as a program from a fresh application folder (offscreen, so no display is needed).

#include "BrindleFolder.h"
#include "ChildProcess.h"
#include "SorrelFolder.h"
#include "StoreProcess.h"
#include "WaitUntil.h"
#include "base/RunLock.h"
#include "catalogue/UpdateVersion.h"

#include <QTest>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kDefaultSettings =
    "[Main]\r\nSkinName = Default \r\nLen = 7\r\n[Color]\r\nTabColor = 1381653\r\n"
    "TabBackColor = 16181985\r\nWebBackColor = #E1EAF6\r\n\r\n";

// The process ids whose parent is pid.
std::set<pid_t> childrenOf(pid_t pid) {
    std::set<pid_t> children;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line)) continue;
        // "pid (name) state ppid ...": the name may hold spaces, so read after its closing bracket.
        const auto close = line.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream rest(line.substr(close + 2));
        char state;
        pid_t parent = 0;
        rest >> state >> parent;
        if (parent == pid) children.insert(std::stoi(entry.path().filename().string()));
    }
    return children;
}

bool running(pid_t pid) {
    return fs::exists("/proc/" + std::to_string(pid));
}

// Whether a process runs program (one that has ended has no executable any more).
bool runs(const fs::path& program) {
    const fs::path wanted = fs::weakly_canonical(program);
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::error_code ec;
        if (fs::read_symlink(entry.path() / "exe", ec) == wanted) return true;
    }
    return false;
}

} // namespace

TEST(BrindleTest, FirstStartInAFolderWithLeftoversThenSigtermEndsItAndItsWebEngineProcesses) {
    StoreProcess store;
    BrindleFolder folder(store.site(), {"Brindle", "Sorrel"});
    // What killed downloads and writes leave (also one named after a process that still runs: no
    // other writer can be at work while Brindle holds the folder), and files that are no such.
    const fs::path game = folder.path() / "Game", update = folder.path() / "Update";
    const std::vector<fs::path> leftovers{game / ".bkdl.4194303.0a1b2c3d-0.tmp",
                                          game / (".bkdl." + std::to_string(::getpid()) + ".0a1b2c3d-1.tmp"),
                                          update / ".BrindleSetup.bin.4194303.0a1b2c3d-2.tmp",
                                          folder.path() / "Apps" / ".0123.ini.4194303.0a1b2c3d-3.tmp"};
    const std::vector<fs::path> others{game / "blocks.swf", game / ".notes.tmp", update / "BrindleSetup.bin"};
    for (const fs::path& file : leftovers) {
        fs::create_directories(file.parent_path());
        writeFile(file, "part");
    }
    for (const fs::path& file : others)
        writeFile(file, "whole");
    ChildProcess brindle(folder.path() / "Brindle", {}, false, folder.path() / "brindle.log");

    // Sorrel rebuilds the whole cache; the window shows the home page, whose style sheet the
    // web engine fetches from the store.
    ASSERT_TRUE(waitUntil(
        [&] {
            return fs::exists(folder.html() / "Read5.html") &&
                   store.log().find("GET /static/") != std::string::npos;
        },
        30000))
        << store.log();
    EXPECT_EQ(readFile(folder.path() / "Brindle.ini"), kDefaultSettings);
    EXPECT_TRUE(fs::exists(folder.page("HomeAll")));
    for (const fs::path& file : leftovers)
        EXPECT_FALSE(fs::exists(file)) << file;
    for (const fs::path& file : others)
        EXPECT_TRUE(fs::exists(file)) << file;
    // The maker's statistics and update pages were asked for.
    EXPECT_NE(store.log().find("GET /box/tj.html"), std::string::npos);
    EXPECT_NE(store.log().find("GET /box/update.html"), std::string::npos);

    const std::set<pid_t> engine = childrenOf(brindle.pid());
    EXPECT_FALSE(engine.empty()) << "the web engine runs in processes of its own";
    brindle.kill(SIGTERM);
    EXPECT_EQ(brindle.wait(std::chrono::seconds(20)), 0);
    for (pid_t pid : engine)
        EXPECT_TRUE(waitUntil([&] { return !running(pid); }, 10000)) << "web-engine process " << pid;
}

TEST(BrindleTest, ARenamedProgramUsesASettingsFileOfItsName) {
    StoreProcess store;
    BrindleFolder folder(store.site());
    fs::copy_file(builtAppFolder() / "Brindle", folder.path() / "Box");
    ChildProcess box(folder.path() / "Box", {}, false);
    ASSERT_TRUE(waitUntil([&] { return fs::exists(folder.page("HomeAll")); }, 30000));
    EXPECT_EQ(readFile(folder.path() / "Box.ini"), kDefaultSettings);
    EXPECT_FALSE(fs::exists(folder.path() / "Brindle.ini"));
    box.kill(SIGTERM);
    EXPECT_EQ(box.wait(std::chrono::seconds(20)), 0);
}

TEST(BrindleTest, ASecondStartInTheFolderEndsWithoutRunningSorrelAndAKilledInstanceBlocksNoStart) {
    StoreProcess store;
    BrindleFolder folder(store.site(), {"Brindle", "Sorrel"});
    const auto sorrelDone = [&] {
        return fs::exists(folder.html() / "Read5.html") &&
               base::RunLock(folder.path() / "Sorrel.lock", base::RunLock::Mode::Try).held();
    };
    // How many requests the store has had for addresses that start with path.
    const auto requests = [&](const std::string& path) {
        const std::string log = store.log();
        std::size_t count = 0;
        for (auto at = log.find("GET " + path); at != std::string::npos; at = log.find("GET " + path, at + 1))
            ++count;
        return count;
    };
    const auto storePages = [&] { return requests("/appweb/"); };
    auto first = std::make_unique<ChildProcess>(folder.path() / "Brindle", std::vector<std::string>{}, false);
    ASSERT_TRUE(waitUntil(sorrelDone, 30000)) << store.log();
    ASSERT_TRUE(waitUntil([&] { return !runs(folder.path() / "Sorrel"); }, 10000));
    const std::size_t pages = storePages();

    ChildProcess second(folder.path() / "Brindle", {}, false);
    EXPECT_EQ(second.wait(std::chrono::seconds(10)), 0);
    EXPECT_FALSE(first->wait(std::chrono::milliseconds(0)).has_value()) << "the first one keeps running";
    // A Sorrel that the second start had started would run now (it runs before its starter goes
    // on), or would have asked the store for its pages already.
    EXPECT_FALSE(runs(folder.path() / "Sorrel")) << "no second Sorrel";
    EXPECT_EQ(storePages(), pages) << "no second Sorrel";

    // Killed, it leaves its socket behind; the next start runs all the same.
    first->kill(SIGKILL);
    first->wait(std::chrono::seconds(10));
    first.reset();
    const std::size_t updateChecks = requests("/box/update.html");
    ChildProcess third(folder.path() / "Brindle", {}, false);
    EXPECT_TRUE(waitUntil([&] { return storePages() > pages; }, 30000)) << "the next start runs Sorrel";
    // Its window, which asks for the update page, is up: a SIGTERM ends it in order from then on.
    EXPECT_TRUE(waitUntil([&] { return requests("/box/update.html") > updateChecks; }, 30000));
    EXPECT_FALSE(third.wait(std::chrono::milliseconds(0)).has_value()) << "and keeps running";
    third.kill(SIGTERM);
    EXPECT_EQ(third.wait(std::chrono::seconds(20)), 0);
}

TEST(BrindleTest, ItsCommandLineNeedsNoDisplayAndAWrongOneOpensNoWindow) {
    TempDir dir;
    BrindleFolder folder("http://127.0.0.1:9", {"Brindle"});
    // Without any display: a command that tried to open a window would abort.
    const std::string platform = qEnvironmentVariable("QT_QPA_PLATFORM").toStdString();
    ::unsetenv("QT_QPA_PLATFORM");
    ::unsetenv("DISPLAY");
    const auto run = [&](const std::vector<std::string>& args, std::string& out) {
        const fs::path errors = dir.path() / "errors";
        ChildProcess brindle(folder.path() / "Brindle", args, true, errors);
        out.clear();
        while (const auto line = brindle.readLine(std::chrono::seconds(20)))
            out += *line + "\n";
        const auto status = brindle.wait(std::chrono::seconds(20));
        return std::make_pair(status.value_or(-1), readFile(errors));
    };
    std::string out;
    auto [status, errors] = run({"--help"}, out);
    EXPECT_EQ(status, 0) << errors;
    EXPECT_EQ(out.rfind("用法：brindle", 0), 0u) << out;
    std::tie(status, errors) = run({"--version"}, out);
    EXPECT_EQ(status, 0) << errors;
    EXPECT_EQ(out, "Brindle " + catalogue::ownVersionText() + "\n");
    std::tie(status, errors) = run({"--list-played"}, out);
    EXPECT_EQ(status, 0) << errors;
    EXPECT_EQ(out, "地址\t名称\t次数\t时长（秒）\t最近一次（UTC）\n");
    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"--backup-save", (dir.path() / "x.zip").string()}, {"--backup-saves"}}) {
        std::tie(status, errors) = run(wrong, out);
        EXPECT_EQ(status, 2) << testing::PrintToString(wrong);
        EXPECT_EQ(errors.rfind("用法：brindle", 0), 0u) << errors;
        EXPECT_EQ(out, "");
    }
    EXPECT_FALSE(fs::exists(dir.path() / "x.zip"));
    // Nothing of a window's start ran in the folder.
    EXPECT_FALSE(fs::exists(folder.path() / "Brindle.ini"));
    if (!platform.empty()) ::setenv("QT_QPA_PLATFORM", platform.c_str(), 1);
}
