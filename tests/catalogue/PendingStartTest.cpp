#include "catalogue/PendingStart.h"

#include "startup/ProcessLauncher.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

struct RecordingLauncher : ProcessLauncher {
    std::vector<std::filesystem::path> started;
    bool result = true;
    bool startDetached(const std::filesystem::path& program) override {
        started.push_back(program);
        return result;
    }
};

} // namespace

TEST(PendingStart, RunsTheLastNamedProgramOnceAndNothingWhenNoneIsNamed) {
    RecordingLauncher launcher;
    EXPECT_TRUE(PendingStart::run(launcher));
    EXPECT_TRUE(launcher.started.empty());

    PendingStart::set("/app/Update/BrindleSetup.bin");
    PendingStart::set("/app/Brindle");
    EXPECT_TRUE(PendingStart::run(launcher));
    EXPECT_TRUE(PendingStart::run(launcher));
    EXPECT_EQ(launcher.started, std::vector<std::filesystem::path>{"/app/Brindle"});

    launcher.result = false;
    PendingStart::set("/app/Brindle");
    EXPECT_FALSE(PendingStart::run(launcher));
    EXPECT_EQ(PendingStart::take(), std::nullopt);
}
