#include "viewer/FlashSaves.h"

#include "TempDir.h"
#include "viewer/PlayerFiles.h"
#include "viewer/SaveWriter.h"
#include "viewer/SolBytes.h"

#include <fstream>
#include <gtest/gtest.h>
#include <set>

using viewer::FlashSaves;
namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every file below root, as paths relative to it.
std::set<std::string> filesBelow(const fs::path& root) {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (!entry.is_directory()) files.insert(fs::relative(entry.path(), root).string());
    return files;
}

class FlashSavesTest : public ::testing::Test {
  protected:
    TempDir app;
    fs::path saves = app.path() / "Saves";
    FlashSaves game{saves, "game.swf", "app", "Game/game.swf"};
};

} // namespace

TEST_F(FlashSavesTest, EveryPathOfTheMovieMapsToItsOwnFolder) {
    const fs::path folder = saves / "game.swf";
    EXPECT_EQ(game.folder(), folder);
    EXPECT_EQ(game.fileOf("app/Game/game.swf/progress"), folder / "progress.sol"); // no localPath
    EXPECT_EQ(game.fileOf("app/Game/progress"), folder / "progress.sol");          // localPath "/Game"
    EXPECT_EQ(game.fileOf("app//progress"), folder / "progress.sol");              // localPath "/"
    EXPECT_EQ(game.fileOf("app/Game/game.swf/#levels/one"), folder / "levels%2Fone.sol");
    EXPECT_EQ(game.fileOf("app/Game/game.swf/存档"), folder / "存档.sol");

    // And back: a file is offered under every path, the movie's own first.
    EXPECT_EQ(game.keysOf("progress.sol"),
              (std::vector<std::string>{"app/Game/game.swf/progress", "app/Game/progress", "app//progress"}));
    EXPECT_EQ(game.keysOf("levels%2Fone.sol").front(), "app/Game/game.swf/#levels/one");
}

TEST_F(FlashSavesTest, KeysOfOtherMoviesOrHostsAndBrokenKeysAreRefused) {
    for (const char* key :
         {"app/Game/other.swf/progress", "app/Other/game.swf/progress", "host/Game/game.swf/progress",
          "app/Game/game.swf/", "app/Game/game.swf/a/b", "app/Game/game.swf/#plain", "app", "",
          "app/Game/game.swfx/progress", "app/Gam/progress"})
        EXPECT_FALSE(game.fileOf(key)) << key;
    // A movie whose name could not be a folder keeps nothing.
    for (const char* name : {"", "..", "a/b.swf"}) {
        FlashSaves bad(saves, name, "app", "Game/x.swf");
        EXPECT_FALSE(bad.usable()) << name;
        EXPECT_FALSE(bad.fileOf("app/Game/x.swf/progress")) << name;
        EXPECT_TRUE(bad.load().empty());
    }
}

TEST_F(FlashSavesTest, HostileNamesStayOneFileInsideTheFolder) {
    const std::string hostile[] = {
        "#../../../Brindle.ini", "#../x",       "..",         ".",      ".hidden", "%2F", "a\\b",
        "#/etc/passwd",          "line\nbreak", "#a/../../b", "nul\x01"};
    viewer::SaveWriter writer;
    for (const std::string& name : hostile) {
        auto file = game.fileOf("app/Game/game.swf/" + name);
        if (!file) continue;
        EXPECT_EQ(file->parent_path(), game.folder()) << name;
        EXPECT_TRUE(viewer::isPlainFileName(file->filename().string())) << name;
        EXPECT_NE(file->filename().string()[0], '.') << name;
        writer.put(*file, sol("x", 3, amf3Text("name") + "\x06" + amf3Text(name) + '\0'));
    }
    writer.waitIdle();
    EXPECT_EQ(writer.failures(), 0);
    // Everything landed in the movie's folder, nothing beside it.
    for (const std::string& file : filesBelow(app.path()))
        EXPECT_TRUE(file.starts_with("Saves/game.swf/") && file.find('/', 15) == std::string::npos) << file;

    // Each file gives its name back, so the saves come back under the keys they were made with.
    std::set<std::string> names;
    for (const auto& save : game.load())
        names.insert(save.bytes);
    EXPECT_EQ(names.size(), filesBelow(saves).size());
}

TEST_F(FlashSavesTest, FileNamesAreOneToOne) {
    EXPECT_EQ(FlashSaves::fileNameOf("progress"), "progress.sol");
    EXPECT_EQ(FlashSaves::fileNameOf("a/b%c"), "a%2Fb%25c.sol");
    EXPECT_EQ(FlashSaves::fileNameOf(".x"), "%2Ex.sol");
    EXPECT_EQ(FlashSaves::fileNameOf("x."), "x..sol");
    EXPECT_FALSE(FlashSaves::fileNameOf(""));
    EXPECT_FALSE(FlashSaves::fileNameOf(std::string(300, 'a')));
    for (const char* name : {"progress", "a/b%c", ".x", "存档", "a b"})
        EXPECT_EQ(FlashSaves::nameOf(*FlashSaves::fileNameOf(name)), name);
    // Other spellings and other files are no saves.
    for (const char* file : {"a%2fb.sol", "%41.sol", "a%2.sol", "a%.sol", ".sol", "a.txt", "a.sol.tmp",
                             ".a.sol.123.abcd-0.tmp", "a/b.sol", ".x.sol"})
        EXPECT_FALSE(FlashSaves::nameOf(file)) << file;
}

TEST_F(FlashSavesTest, LoadsTheSavesTheReaderTakesAndMovesTheOthersAsideWithoutOverwriting) {
    const fs::path folder = game.folder(), rejected = folder / "rejected";
    fs::create_directories(rejected);
    const std::string good = sol("progress", 3, amf3Text("count") + "\x04\x03" + '\0');
    const std::string deep = nestedSave(200'000); // stalls the player for good
    std::ofstream(folder / "progress.sol", std::ios::binary) << good;
    std::ofstream(folder / "deep.sol", std::ios::binary) << deep;
    std::ofstream(folder / "short.sol", std::ios::binary) << good.substr(0, good.size() - 1);
    std::ofstream(folder / "huge.sol", std::ios::binary) << std::string(16 * 1024 * 1024 + 1, '\0');
    std::ofstream(rejected / "deep.sol", std::ios::binary) << "refused earlier";
    std::ofstream(folder / "notes.txt") << "not a save";
    fs::create_directory(folder / "dir.sol");
    fs::create_directories(saves / "other.swf");
    std::ofstream(saves / "other.swf" / "secret.sol") << "other movie";

    for (int round = 0; round < 2; ++round) {
        auto loaded = game.load();
        ASSERT_EQ(loaded.size(), 1u);
        EXPECT_EQ(loaded[0].keys.size(), 3u);
        for (const auto& key : loaded[0].keys)
            EXPECT_TRUE(key.ends_with("/progress")) << key;
        EXPECT_EQ(loaded[0].bytes, good);
    }
    EXPECT_EQ(
        filesBelow(saves),
        (std::set<std::string>{"game.swf/progress.sol", "game.swf/notes.txt", "game.swf/rejected/deep.sol",
                               "game.swf/rejected/deep-2.sol", "game.swf/rejected/short.sol",
                               "game.swf/rejected/huge.sol", "other.swf/secret.sol"}));
    EXPECT_EQ(readFile(rejected / "deep.sol"), "refused earlier");
    EXPECT_EQ(readFile(rejected / "deep-2.sol"), deep);
}

TEST(SaveWriterTest, WritesAtomicallyKeepsTheLatestAndRemoves) {
    TempDir dir;
    const fs::path file = dir.path() / "Saves" / "m.swf" / "a.sol";
    {
        viewer::SaveWriter writer;
        for (int i = 0; i < 100; ++i)
            writer.put(file, "v" + std::to_string(i));
        writer.waitIdle();
        EXPECT_EQ(readFile(file), "v99");
        writer.put(file, std::nullopt);
        writer.waitIdle();
        EXPECT_FALSE(fs::exists(file));
        writer.put(file, "last");
    } // the destructor writes what still waits
    EXPECT_EQ(readFile(file), "last");
    EXPECT_EQ(filesBelow(dir.path()).size(), 1u) << "no temporary file is left";

    // Many files changed over and over while the threads write: each ends with its latest bytes.
    {
        viewer::SaveWriter writer;
        for (int round = 0; round < 20; ++round)
            for (int i = 0; i < 30; ++i)
                writer.put(dir.path() / "many" / (std::to_string(i) + ".sol"), std::to_string(round));
        writer.waitIdle();
        for (int i = 0; i < 30; ++i)
            EXPECT_EQ(readFile(dir.path() / "many" / (std::to_string(i) + ".sol")), "19") << i;
    }
    EXPECT_EQ(filesBelow(dir.path()).size(), 31u) << "no temporary file is left";
}

TEST(SaveWriterTest, AFailedWriteIsCountedReportedWithItsFileAndLeavesTheOldFile) {
    TempDir dir;
    std::ofstream(dir.path() / "taken") << "a file where a folder should be";
    viewer::SaveWriter writer;
    std::vector<fs::path> reported;
    writer.setFailureReport([&](const fs::path& file) { reported.push_back(file); });
    writer.put(dir.path() / "taken" / "a.sol", "x");
    writer.put(dir.path() / "fine" / "b.sol", "y");
    writer.waitIdle(dir.path() / "taken");
    writer.waitIdle();
    EXPECT_EQ(writer.failures(), 1);
    EXPECT_EQ(reported, std::vector<fs::path>{dir.path() / "taken" / "a.sol"});
    EXPECT_EQ(readFile(dir.path() / "taken"), "a file where a folder should be");
    EXPECT_EQ(readFile(dir.path() / "fine" / "b.sol"), "y");
}
