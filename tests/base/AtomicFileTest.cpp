#include "base/AtomicFile.h"

#include "TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

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

// The file itself (its inode) tells a file left alone from one replaced with the same bytes.
static ino_t inodeOf(const fs::path& p) {
    struct stat info {};
    return ::stat(p.c_str(), &info) == 0 ? info.st_ino : 0;
}

TEST(AtomicFile, IfChangedLeavesAFileOfTheSameBytesAndReplacesAnyOther) {
    TempDir dir;
    auto file = dir.path() / "a.html";
    ASSERT_TRUE(base::writeFileAtomicIfChanged(file, "page one"));
    const ino_t first = inodeOf(file);
    ASSERT_TRUE(base::writeFileAtomicIfChanged(file, "page one"));
    EXPECT_EQ(inodeOf(file), first);
    // The same length with other bytes, a longer and a shorter file are all replaced.
    for (const std::string bytes : {"page two", "page one!", "page"}) {
        ASSERT_TRUE(base::writeFileAtomicIfChanged(file, bytes));
        EXPECT_EQ(slurp(file), bytes);
    }
    EXPECT_NE(inodeOf(file), first);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(AtomicFile, FailsWithoutTouchingAnythingWhenFolderIsMissing) {
    TempDir dir;
    EXPECT_FALSE(base::writeFileAtomic(dir.path() / "missing" / "a.html", "x"));
    EXPECT_FALSE(fs::exists(dir.path() / "missing"));
}

TEST(AtomicFile, TemporaryNamesAreUniqueAndNameTheirWriter) {
    auto a = base::temporarySibling("/x/Html/GameAll.html");
    auto b = base::temporarySibling("/x/Html/GameAll.html");
    EXPECT_NE(a, b);
    EXPECT_EQ(a.parent_path(), fs::path("/x/Html"));
    EXPECT_EQ(base::temporaryWriter(a.filename().string()), ::getpid());
    EXPECT_EQ(base::temporaryWriter("GameAll.html"), 0);
    EXPECT_EQ(base::temporaryWriter(".GameAll.html.tmp"), 0);
    EXPECT_EQ(base::temporaryWriter(".a.12x.5.tmp"), 0);
    EXPECT_EQ(base::temporaryWriter(".a.1234.ab12-5.tmp"), 1234);
}
