#include "base/RunLock.h"

#include "TempDir.h"

#include <gtest/gtest.h>
#include <optional>

using base::RunLock;

// Each RunLock opens the file anew, and the system keeps one lock per opening, so two of them in one
// process stand for two processes.
TEST(RunLock, ATryGivesWayToTheHolderAndTakesTheLockOnceItIsFree) {
    TempDir dir;
    const auto file = dir.path() / "Brindle.lock";
    std::optional<RunLock> first(std::in_place, file, RunLock::Mode::Try);
    ASSERT_TRUE(first->held());
    EXPECT_FALSE(first->busy());

    const RunLock second(file, RunLock::Mode::Try);
    EXPECT_FALSE(second.held());
    EXPECT_TRUE(second.busy());

    first.reset();
    const RunLock third(file, RunLock::Mode::Try);
    EXPECT_TRUE(third.held());
}

TEST(RunLock, AFileThatCannotBeOpenedGivesNoLockAndIsNotBusy) {
    TempDir dir;
    for (const auto mode : {RunLock::Mode::Try, RunLock::Mode::Wait}) {
        const RunLock lock(dir.path() / "missing" / "Brindle.lock", mode);
        EXPECT_FALSE(lock.held());
        EXPECT_FALSE(lock.busy());
    }
}
