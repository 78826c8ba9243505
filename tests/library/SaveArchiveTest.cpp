#include "library/SaveArchive.h"

#include "TempDir.h"
#include "base/AtomicFile.h"

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zip.h>

using namespace library;
namespace fs = std::filesystem;

namespace {

// A Flash save holding count (AMF3), as Ruffle writes it.
std::string save(const std::string& name, int count) {
    const auto u16 = [](std::size_t v) {
        return std::string{static_cast<char>(v >> 8), static_cast<char>(v & 0xff)};
    };
    const std::string body = std::string("\x0b"
                                         "count\x04",
                                         7) +
                             static_cast<char>(count) + '\0';
    const std::string rest = std::string("TCSO\0\x04\0\0\0\0", 10) + u16(name.size()) + name +
                             std::string(3, '\0') + '\x03' + body;
    return std::string("\0\xbf", 2) + u16(0) + u16(rest.size()) + rest;
}

// Every file below folder with its bytes, links as "-> target".
std::map<std::string, std::string> snapshot(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const auto name = entry.path().lexically_relative(folder).string();
        if (entry.is_symlink())
            files[name] = "-> " + fs::read_symlink(entry.path()).string();
        else if (entry.is_regular_file())
            files[name] = std::string(
                std::istreambuf_iterator<char>(std::ifstream(entry.path(), std::ios::binary).rdbuf()),
                std::istreambuf_iterator<char>());
        else
            files[name + "/"] = "";
    }
    return files;
}

struct Entry {
    std::string name;
    std::string bytes;
    mode_t mode = S_IFREG | 0644;
};

// A zip made with libzip, then with every entry's declared size set to declaredSize when given
// (in the local and the central header alike, as a forger would).
void writeZip(const fs::path& file, const std::vector<Entry>& entries,
              std::optional<std::uint32_t> declaredSize = {}, zip_flags_t encoding = ZIP_FL_ENC_UTF_8) {
    int error = 0;
    zip_t* archive = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_TRUE(archive);
    for (const auto& entry : entries) {
        auto* source = zip_source_buffer(archive, entry.bytes.data(), entry.bytes.size(), 0);
        const auto index = zip_file_add(archive, entry.name.c_str(), source, encoding);
        ASSERT_GE(index, 0) << entry.name;
        zip_file_set_external_attributes(archive, index, 0, ZIP_OPSYS_UNIX,
                                         static_cast<zip_uint32_t>(entry.mode) << 16);
    }
    ASSERT_EQ(zip_close(archive), 0);
    if (!declaredSize) return;
    std::string bytes(std::istreambuf_iterator<char>(std::ifstream(file, std::ios::binary).rdbuf()), {});
    const auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<char>(v >> (8 * i));
    };
    for (std::size_t at = bytes.find("PK\x03\x04"); at != std::string::npos;
         at = bytes.find("PK\x03\x04", at + 4))
        put32(at + 22, *declaredSize);
    for (std::size_t at = bytes.find("PK\x01\x02"); at != std::string::npos;
         at = bytes.find("PK\x01\x02", at + 4))
        put32(at + 24, *declaredSize);
    ASSERT_TRUE(base::writeFileAtomic(file, bytes));
}

struct SaveArchiveTest : ::testing::Test {
    TempDir folder;
    fs::path saves = folder.path() / "Saves";
    fs::path zip = folder.path() / "backup.zip";

    void SetUp() override {
        fs::create_directories(saves / "plays.swf");
        fs::create_directories(saves / "snake.swf");
        ASSERT_TRUE(base::writeFileAtomic(saves / "plays.swf" / "plays.sol", save("plays", 3)));
        ASSERT_TRUE(base::writeFileAtomic(saves / "plays.swf" / "a%2Fb.sol", save("a/b", 1)));
        ASSERT_TRUE(base::writeFileAtomic(saves / "snake.swf" / "best.sol", save("best", 42)));
    }
};

} // namespace

TEST_F(SaveArchiveTest, ABackupRestoresWhatWasSavedAndAMovieGetsExactlyItsBackedUpSaves) {
    // Not saves: left out of the backup, and said so.
    ASSERT_TRUE(base::writeFileAtomic(saves / "snake.swf" / "notes.txt", "x"));
    ASSERT_TRUE(base::writeFileAtomic(saves / "snake.swf" / "broken.sol", "not a save"));
    fs::create_symlink("/etc/passwd", saves / "snake.swf" / "link.sol");
    const auto original = snapshot(saves);

    auto backup = SaveArchive::backup(zip, saves);
    ASSERT_TRUE(backup.ok()) << backup.message;
    EXPECT_EQ(backup.files, 3u);
    EXPECT_EQ(backup.movies, (std::vector<std::string>{"plays.swf", "snake.swf"}));
    EXPECT_NE(backup.message.find("3 个文件不是能读的存档"), std::string::npos) << backup.message;

    // All of them deleted and restored.
    fs::remove_all(saves);
    auto restore = SaveArchive::restore(zip, saves);
    ASSERT_TRUE(restore.ok()) << restore.message;
    EXPECT_EQ(restore.files, 3u);
    auto expected = original;
    for (const auto* skipped : {"snake.swf/notes.txt", "snake.swf/broken.sol", "snake.swf/link.sol"})
        expected.erase(skipped);
    EXPECT_EQ(snapshot(saves), expected) << "no staging folder left either";

    // One game: its folder becomes the backup's, a save made since is dropped, the other game
    // keeps its newer save.
    ASSERT_TRUE(SaveArchive::backup(zip, saves, {"plays.swf"}).ok());
    ASSERT_TRUE(base::writeFileAtomic(saves / "plays.swf" / "plays.sol", save("plays", 7)));
    ASSERT_TRUE(base::writeFileAtomic(saves / "plays.swf" / "later.sol", save("later", 1)));
    ASSERT_TRUE(base::writeFileAtomic(saves / "snake.swf" / "best.sol", save("best", 50)));
    std::vector<std::string> asked;
    restore = SaveArchive::restore(zip, saves, {"plays.swf", [&](const std::string& movie) {
                                                    asked.push_back(movie);
                                                    return false;
                                                }});
    ASSERT_TRUE(restore.ok()) << restore.message;
    EXPECT_EQ(asked, std::vector<std::string>{"plays.swf"});
    expected["snake.swf/best.sol"] = save("best", 50);
    EXPECT_EQ(snapshot(saves), expected);

    // Nothing saved at all: an empty zip, which a restore refuses.
    fs::remove_all(saves);
    fs::create_directories(saves);
    ASSERT_TRUE(SaveArchive::backup(zip, saves).ok());
    int error = 0;
    zip_t* empty = zip_open(zip.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    ASSERT_TRUE(empty) << "a valid zip";
    EXPECT_EQ(zip_get_num_entries(empty, 0), 0);
    zip_discard(empty);
    const auto twice = SaveArchive::restore(zip, saves);
    EXPECT_EQ(twice.status, SaveArchive::Status::Refused) << twice.message;
}

TEST_F(SaveArchiveTest, ARestoreRefusesAnythingButTheMoviesOwnGoodSavesAndChangesNothing) {
    const std::string good = save("plays", 9);
    const std::string zeros(SaveArchive::MaxFileBytes + 1, '\0');
    struct Case {
        std::string what;
        std::string says; // in the message
        std::vector<Entry> entries;
        std::optional<std::uint32_t> declared = {};
        bool onlyPlays = false;
    };
    const std::vector<Case> cases{
        {"../ out of the folder",
         "不是存档",
         {{"plays.swf/plays.sol", good}, {"plays.swf/../../evil.sol", good}}},
        {"../ as the movie", "不是存档", {{"../plays.sol", good}}},
        {"absolute", "不是存档", {{"/tmp/plays.swf/plays.sol", good}}},
        {"backslash", "不是存档", {{"plays.swf\\..\\..\\evil.sol", good}}},
        {"deeper folder", "不是存档", {{"plays.swf/sub/plays.sol", good}}},
        {"no movie folder", "不是存档", {{"plays.sol", good}}},
        {"hidden movie folder", "不是存档", {{".restore/plays.sol", good}}},
        {"not a save's name", "不是存档", {{"plays.swf/readme.txt", good}}},
        {"another spelling of a save's name", "不是存档", {{"plays.swf/%70lays.sol", good}}},
        {"a link", "链接", {{"plays.swf/plays.sol", "/etc/passwd", S_IFLNK | 0777}}},
        {"damaged save",
         "已损坏",
         {{"plays.swf/plays.sol", good}, {"snake.swf/best.sol", good.substr(0, good.size() - 3)}}},
        {"bomb by declared size", "太大", {{"plays.swf/plays.sol", good}, {"plays.swf/big.sol", zeros}}},
        {"bomb larger than declared", "太大", {{"plays.swf/big.sol", zeros}}, 100},
        {"bomb by declared total", "超过 256 MB", std::vector<Entry>(20, Entry{"", good}),
         SaveArchive::MaxFileBytes - 1},
        {"another movie for one game",
         "另一个游戏",
         {{"plays.swf/plays.sol", good}, {"snake.swf/best.sol", good}},
         {},
         true},
        {"the game's viewer is open", "正在运行", {{"plays.swf/plays.sol", good}}, {}, true},
    };
    const auto before = snapshot(saves);
    for (auto test : cases) {
        for (std::size_t i = 0; i < test.entries.size(); ++i)
            if (test.entries[i].name.empty())
                test.entries[i].name = "m" + std::to_string(i) + ".swf/plays.sol";
        writeZip(zip, test.entries, test.declared);
        SaveArchive::RestoreOptions options;
        if (test.onlyPlays) options.onlyMovie = "plays.swf";
        if (test.what == "the game's viewer is open") options.inUse = [](const std::string&) { return true; };
        const auto result = SaveArchive::restore(zip, saves, options);
        EXPECT_EQ(result.status, SaveArchive::Status::Refused) << test.what << ": " << result.message;
        EXPECT_NE(result.message.find(test.says), std::string::npos) << test.what << ": " << result.message;
        EXPECT_EQ(snapshot(saves), before) << test.what;
    }
    EXPECT_FALSE(fs::exists(folder.path() / "evil.sol"));

    // Not a zip at all.
    ASSERT_TRUE(base::writeFileAtomic(zip, "PK but no zip"));
    EXPECT_EQ(SaveArchive::restore(zip, saves).status, SaveArchive::Status::Failed);
    EXPECT_EQ(snapshot(saves), before);
}

// Zips as other tools write them: names in GBK without the UTF-8 mark are read as GBK; a movie's
// saves set aside as unreadable stay with it; a zip naming one file twice is refused. A restore cut
// short leaves its staging folder only until the next start.
TEST_F(SaveArchiveTest, GbkNamesRejectedSavesDuplicatesAndLeftoversOfAnInterruptedRestore) {
    const std::string gbkGame = "\xd3\xce\xcf\xb7.swf"; // 游戏.swf in GBK
    writeZip(zip, {{gbkGame + "/plays.sol", save("plays", 7)}}, {}, ZIP_FL_ENC_GUESS);
    const auto gbk = SaveArchive::restore(zip, saves);
    ASSERT_TRUE(gbk.ok()) << gbk.message;
    EXPECT_EQ(gbk.movies, std::vector<std::string>{"游戏.swf"});
    EXPECT_TRUE(fs::is_regular_file(saves / "游戏.swf" / "plays.sol"));

    fs::create_directory(saves / "plays.swf" / "rejected");
    ASSERT_TRUE(base::writeFileAtomic(saves / "plays.swf" / "rejected" / "old.sol", "unreadable"));
    writeZip(zip, {{"plays.swf/plays.sol", save("plays", 9)}});
    SaveArchive::RestoreOptions one;
    one.onlyMovie = "plays.swf";
    ASSERT_TRUE(SaveArchive::restore(zip, saves, one).ok());
    EXPECT_FALSE(fs::exists(saves / "plays.swf" / "a%2Fb.sol"));
    EXPECT_TRUE(fs::is_regular_file(saves / "plays.swf" / "rejected" / "old.sol"));

    // Two entries with one name: the second one's name written over with the first's.
    writeZip(zip, {{"plays.swf/aaaaa.sol", save("aaaaa", 1)}, {"plays.swf/bbbbb.sol", save("bbbbb", 2)}});
    std::string bytes(std::istreambuf_iterator<char>(std::ifstream(zip, std::ios::binary).rdbuf()), {});
    for (std::size_t at = bytes.find("bbbbb.sol"); at != std::string::npos; at = bytes.find("bbbbb.sol"))
        bytes.replace(at, 5, "aaaaa");
    ASSERT_TRUE(base::writeFileAtomic(zip, bytes));
    const auto before = snapshot(saves);
    const auto twice = SaveArchive::restore(zip, saves);
    EXPECT_EQ(twice.status, SaveArchive::Status::Refused) << twice.message;
    EXPECT_EQ(snapshot(saves), before);

    // The staging folder of a restore whose process ended goes; this process's own stays.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) ::_exit(fs::create_directory(base::temporarySibling(saves / "restore")) ? 0 : 1);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    const fs::path mine = base::temporarySibling(saves / "restore");
    fs::create_directory(mine);
    ASSERT_EQ(snapshot(saves).size(), before.size() + 2);
    SaveArchive::removeLeftovers(saves);
    EXPECT_EQ(snapshot(saves).size(), before.size() + 1);
    EXPECT_TRUE(fs::is_directory(mine));
}

// A backup of an earlier version names a game's saves folder by the movie's bare name; a restore of
// that game takes it into the game's folder of now, and refuses a zip that holds both or another's.
TEST_F(SaveArchiveTest, AnEarlierVersionsBackupRestoresIntoTheGameItNames) {
    const std::string game = "s_1~0123456789abcdef~plays.swf";
    fs::create_directories(saves / game);
    ASSERT_TRUE(base::writeFileAtomic(saves / game / "plays.sol", save("plays", 5)));
    SaveArchive::RestoreOptions options;
    options.onlyMovie = game;

    writeZip(zip, {{"plays.swf/", "", S_IFDIR | 0755}, {"plays.swf/plays.sol", save("plays", 9)}});
    EXPECT_EQ(SaveArchive::check(zip, options).movies, std::vector<std::string>{game});
    const auto before = snapshot(saves / "plays.swf");
    const auto result = SaveArchive::restore(zip, saves, options);
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(result.movies, std::vector<std::string>{game});
    EXPECT_EQ(snapshot(saves / game), (std::map<std::string, std::string>{{"plays.sol", save("plays", 9)}}));
    EXPECT_EQ(snapshot(saves / "plays.swf"), before); // the shared folder of then is left alone

    const auto now = snapshot(saves);
    for (const auto& [entries, says] : std::vector<std::pair<std::vector<Entry>, std::string>>{
             {{{"plays.swf/plays.sol", save("plays", 1)}, {game + "/plays.sol", save("plays", 2)}},
              "无法确定"},
             {{{"snake.swf/best.sol", save("best", 1)}}, "另一个游戏"},
             {{{"s_2~0123456789abcdef~plays.swf/plays.sol", save("plays", 1)}}, "另一个游戏"}}) {
        writeZip(zip, entries);
        const auto refused = SaveArchive::restore(zip, saves, options);
        EXPECT_EQ(refused.status, SaveArchive::Status::Refused) << refused.message;
        EXPECT_NE(refused.message.find(says), std::string::npos) << refused.message;
    }
    EXPECT_EQ(snapshot(saves), now);
}

// A restore that fails on the way puts back the games it changed and says nothing changed; when
// putting one back fails too, it says that game's saves may be partly changed and where its old
// saves are kept, out of the reach of the clean-up of interrupted restores.
TEST_F(SaveArchiveTest, ARestoreWhoseRollbackFailsSaysTheSavesMayBePartlyChangedAndWhereTheOldOnesAre) {
    writeZip(zip, {{"plays.swf/plays.sol", save("plays", 8)}, {"snake.swf/best.sol", save("best", 9)}});
    SaveArchive::RestoreOptions options;
    options.nameOf = [](const std::string& movie) { return movie == "plays.swf" ? "计数器" : "贪吃蛇"; };
    // Each exchange in turn is done (true) or fails (false): plays.swf's is done, snake.swf's
    // fails, and then plays.swf's exchange back.
    std::vector<bool> script;
    options.exchange = [&](const fs::path& staged, const fs::path& target) {
        const bool done = !script.empty() && script.front();
        if (!script.empty()) script.erase(script.begin());
        return done && ::renameat2(AT_FDCWD, staged.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0;
    };
    const auto before = snapshot(saves);

    script = {true, false, true};
    const auto rolledBack = SaveArchive::restore(zip, saves, options);
    EXPECT_EQ(rolledBack.status, SaveArchive::Status::Failed);
    EXPECT_NE(rolledBack.message.find("存档没有改动"), std::string::npos) << rolledBack.message;
    EXPECT_EQ(snapshot(saves), before);

    script = {true, false, false};
    const auto partly = SaveArchive::restore(zip, saves, options);
    EXPECT_EQ(partly.status, SaveArchive::Status::Failed);
    EXPECT_EQ(partly.message.find("没有改动"), std::string::npos) << partly.message;
    EXPECT_NE(partly.message.find("“计数器”的存档可能已被部分改动"), std::string::npos) << partly.message;
    std::vector<fs::path> kept;
    for (const auto& entry : fs::directory_iterator(folder.path()))
        if (entry.path().filename().string().starts_with("恢复前的存档-")) kept.push_back(entry.path());
    ASSERT_EQ(kept.size(), 1u) << partly.message;
    EXPECT_NE(partly.message.find(kept.front().string()), std::string::npos) << partly.message;
    SaveArchive::removeLeftovers(saves);
    const auto old = snapshot(kept.front());
    EXPECT_EQ(old.at("plays.swf/plays.sol"), before.at("plays.swf/plays.sol"));
    EXPECT_EQ(old.at("plays.swf/a%2Fb.sol"), before.at("plays.swf/a%2Fb.sol"));
    const auto now = snapshot(saves);
    EXPECT_EQ(now.at("plays.swf/plays.sol"), save("plays", 8)) << "the game's saves stay as the zip's";
    EXPECT_EQ(now.at("snake.swf/best.sol"), before.at("snake.swf/best.sol"));
    EXPECT_EQ(now.size(), 4u) << "nothing else is left in the saves folder"; // two folders, two saves
}
