#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TempDir.h"
#include "base/AtomicFile.h"

namespace fs = std::filesystem;

static std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(AtomicFile, ReplacesWholeFileAndLeavesNoTemporaryBehind) {
    TempDir dir;
    auto file = dir.path() / "a.html";
    ASSERT_TRUE(base::writeFileAtomic(file, "first version, longer"));
    ASSERT_TRUE(base::writeFileAtomic(file, "second"));
    EXPECT_EQ(slurp(file), "second");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(AtomicFile, FailsWithoutTouchingAnythingWhenFolderIsMissing) {
    TempDir dir;
    EXPECT_FALSE(base::writeFileAtomic(dir.path() / "missing" / "a.html", "x"));
    EXPECT_FALSE(fs::exists(dir.path() / "missing"));
}
