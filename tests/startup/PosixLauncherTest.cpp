#include "startup/PosixLauncher.h"

#include "TempDir.h"

#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Children of this process that have ended but were not reaped.
int zombieChildren() {
    int count = 0;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line)) continue;
        auto close = line.rfind(')');
        if (close == std::string::npos) continue;
        char state = 0;
        int ppid = 0;
        if (std::sscanf(line.c_str() + close + 1, " %c %d", &state, &ppid) == 2 && ppid == ::getpid() &&
            state == 'Z')
            ++count;
    }
    return count;
}

template <typename Condition> bool eventually(Condition done) {
    for (int i = 0; i < 500 && !done(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return done();
}

} // namespace

TEST(PosixLauncher, StartsTheProgramWithoutWaitingAndLeavesNoZombie) {
    TempDir dir;
    auto program = dir.path() / "Sorrel";
    auto marker = dir.path() / "ran";
    std::ofstream(program) << "#!/bin/sh\necho started > '" << marker.string() << "'\n";
    fs::permissions(program, fs::perms::owner_all);
    PosixLauncher launcher;
    ASSERT_TRUE(launcher.startDetached(program));
    EXPECT_TRUE(eventually([&] { return fs::exists(marker); }));
    EXPECT_TRUE(eventually([] { return zombieChildren() == 0; }));
}

TEST(PosixLauncher, TheProgramInheritsNoDescriptorBeyondStandardInputOutputAndError) {
    TempDir dir;
    auto program = dir.path() / "Brindle";
    auto listing = dir.path() / "descriptors";
    std::ofstream(program) << "#!/bin/sh\nls -l /proc/$$/fd > '" << listing.string() << ".part' && mv '"
                           << listing.string() << ".part' '" << listing.string() << "'\n";
    fs::permissions(program, fs::perms::owner_all);
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0); // open without close-on-exec, as a library's socket may be
    struct stat pipeStat {};
    ASSERT_EQ(::fstat(pipeEnds[0], &pipeStat), 0);
    PosixLauncher launcher;
    ASSERT_TRUE(launcher.startDetached(program));
    ASSERT_TRUE(eventually([&] { return fs::exists(listing); }));
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    std::ifstream in(listing);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.find("pipe:[" + std::to_string(pipeStat.st_ino) + "]"), std::string::npos) << text;
}

TEST(PosixLauncher, ReportsAProgramThatCannotStart) {
    TempDir dir;
    PosixLauncher launcher;
    EXPECT_FALSE(launcher.startDetached(dir.path() / "missing"));
    std::ofstream(dir.path() / "plain") << "not executable";
    EXPECT_FALSE(launcher.startDetached(dir.path() / "plain"));
}
