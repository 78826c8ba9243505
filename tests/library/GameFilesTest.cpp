#include "library/GameFiles.h"

#include "TempDir.h"
#include "base/AtomicFile.h"

#include <gtest/gtest.h>

using library::GameFiles;
namespace fs = std::filesystem;

TEST(GameFilesTest, SizesCountTheMovieAndItsSavesFolderWithoutFollowingLinksAndDeletingLeavesOthers) {
    TempDir folder;
    const GameFiles files(folder.path());
    fs::create_directories(files.gameFolder());
    fs::create_directories(files.savesFolder() / "blocks.swf" / "deeper");
    fs::create_directories(files.savesFolder() / "snake.swf");
    ASSERT_TRUE(base::writeFileAtomic(files.gameFolder() / "blocks.swf?level=2", std::string(1000, 'm')));
    ASSERT_TRUE(base::writeFileAtomic(files.gameFolder() / "snake.swf", std::string(500, 'm')));
    ASSERT_TRUE(base::writeFileAtomic(files.savesFolder() / "blocks.swf" / "best.sol", std::string(30, 's')));
    ASSERT_TRUE(
        base::writeFileAtomic(files.savesFolder() / "blocks.swf" / "deeper" / "x", std::string(5, 's')));
    ASSERT_TRUE(base::writeFileAtomic(files.savesFolder() / "snake.swf" / "best.sol", std::string(7, 's')));
    // A large file elsewhere, linked from both folders: not counted.
    ASSERT_TRUE(base::writeFileAtomic(folder.path() / "large", std::string(100000, 'x')));
    fs::create_symlink(folder.path() / "large", files.gameFolder() / "link.swf");
    fs::create_symlink(folder.path() / "large", files.savesFolder() / "snake.swf" / "link.sol");
    fs::create_directory_symlink(folder.path(), files.savesFolder() / "loop.swf");

    EXPECT_EQ(GameFiles::savesNameOf("blocks.swf?level=2"), "blocks.swf");
    EXPECT_EQ(GameFiles::savesNameOf(""), std::nullopt);
    EXPECT_EQ(GameFiles::savesNameOf("../x.swf"), std::nullopt);
    const auto usage = files.usage();
    for (const auto& [movie, bytes, saves] : {std::tuple{"blocks.swf?level=2", 1000u, 35u},
                                              {"snake.swf", 500u, 7u},
                                              {"link.swf", 0u, 0u},
                                              {"../large", 0u, 0u},
                                              {"", 0u, 0u}}) {
        EXPECT_EQ(files.movieBytes(movie), bytes) << movie;
        EXPECT_EQ(usage.movieBytes(movie), bytes) << movie;
        EXPECT_EQ(files.savesBytes(movie), saves) << movie;
        EXPECT_EQ(usage.savesBytes(movie), saves) << movie;
    }
    EXPECT_EQ(usage.game, 1500u);
    EXPECT_EQ(usage.allSaves, 42u);
    EXPECT_EQ(GameFiles::folderBytes(files.savesFolder()), 42u);

    EXPECT_TRUE(files.deleteSaves("blocks.swf?level=2"));
    EXPECT_TRUE(files.deleteMovie("blocks.swf?level=2"));
    EXPECT_FALSE(files.deleteMovie("../large"));
    EXPECT_TRUE(fs::exists(folder.path() / "large"));
    EXPECT_EQ(files.usage().allSaves, 7u);
    EXPECT_EQ(files.usage().game, 500u);
    EXPECT_EQ(std::distance(fs::directory_iterator(files.savesFolder()), fs::directory_iterator()), 2)
        << "nothing left aside";
}
