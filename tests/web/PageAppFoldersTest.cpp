#include "web/PageAppFolders.h"

#include "TempDir.h"
#include "base/StableName.h"

#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

void write(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text;
}

std::string read(const fs::path& file) {
    std::ifstream in(file);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The store of earlier versions that all page apps shared: what pages stored and the engine's cache.
void writeSharedStore(const fs::path& root) {
    write(root / "Local Storage" / "leveldb" / "000003.log", "notes");
    write(root / "IndexedDB" / "site.indexeddb.leveldb" / "CURRENT", "db");
    write(root / "Cookies.txt", "last=1");
    write(root / "Cache" / "data_0", "cached");
    write(root / "Network Persistent State", "{}");
}

} // namespace

TEST(PageAppFoldersTest, TheSharedStoreGoesToEveryAppOpenedAfterwardsAndNoAppSeesAnothersLaterData) {
    TempDir app;
    const fs::path root = app.path() / "PageApps";
    writeSharedStore(root);
    web::PageAppFolders folders(root);
    folders.splitShared();

    // What pages stored is set aside; the cache and housekeeping are gone.
    EXPECT_EQ(read(root / "Shared" / "Local Storage" / "leveldb" / "000003.log"), "notes");
    EXPECT_EQ(read(root / "Shared" / "Cookies.txt"), "last=1");
    EXPECT_FALSE(fs::exists(root / "Shared" / "Cache"));
    EXPECT_FALSE(fs::exists(root / "Local Storage"));
    EXPECT_FALSE(fs::exists(root / "Cache"));
    EXPECT_FALSE(fs::exists(root / "Network Persistent State"));

    const fs::path a = folders.folderFor("http://store/appweb/app?id=1");
    EXPECT_EQ(a, root / base::stableName("http://store/appweb/app?id=1"));
    EXPECT_EQ(read(a / "Local Storage" / "leveldb" / "000003.log"), "notes");
    EXPECT_EQ(read(a / "IndexedDB" / "site.indexeddb.leveldb" / "CURRENT"), "db");
    write(a / "Cookies.txt", "last=a");

    // The next app gets the shared store as it was, not what the first app made of it; an app
    // opened again keeps its own.
    const fs::path b = folders.folderFor("http://store/appweb/app?id=2");
    EXPECT_NE(a, b);
    EXPECT_EQ(read(b / "Cookies.txt"), "last=1");
    EXPECT_EQ(folders.folderFor("http://store/appweb/app?id=1"), a);
    EXPECT_EQ(read(a / "Cookies.txt"), "last=a");

    // A later start finds nothing more to split and leaves the apps' folders alone.
    folders.splitShared();
    EXPECT_EQ(read(a / "Cookies.txt"), "last=a");
    EXPECT_EQ(read(root / "Shared" / "Cookies.txt"), "last=1");
}

TEST(PageAppFoldersTest, AnInterruptedSplitOrCopyIsCompletedOrRedoneAndWithoutAnOldStoreAppsStartEmpty) {
    TempDir app;
    const fs::path root = app.path() / "PageApps";
    web::PageAppFolders folders(root);
    EXPECT_FALSE(fs::exists(folders.folderFor("http://store/appweb/app?id=1")));

    // Killed halfway through the split: part of the store already moved aside.
    writeSharedStore(root);
    fs::create_directories(root / "Shared.tmp");
    fs::rename(root / "Cookies.txt", root / "Shared.tmp" / "Cookies.txt");
    // Killed while copying the shared store for an app.
    const std::string name = base::stableName("http://store/appweb/app?id=3");
    write(root / (name + ".tmp") / "Cookies.txt", "half");
    folders.splitShared();
    EXPECT_EQ(read(root / "Shared" / "Cookies.txt"), "last=1");
    EXPECT_EQ(read(root / "Shared" / "Local Storage" / "leveldb" / "000003.log"), "notes");
    EXPECT_FALSE(fs::exists(root / "Shared.tmp"));

    const fs::path c = folders.folderFor("http://store/appweb/app?id=3");
    EXPECT_EQ(read(c / "Cookies.txt"), "last=1");
    EXPECT_FALSE(fs::exists(root / (name + ".tmp")));
}

TEST(PageAppFoldersTest, UnknownEntriesAndSharedSurviveEveryStart) {
    TempDir app;
    const fs::path root = app.path() / "PageApps";
    web::PageAppFolders folders(root);

    // Left by an earlier version, which split the store without a mark: its Shared/ and a folder
    // of no known kind, which a later start (with an engine's leftovers beside them) keeps.
    write(root / "Shared" / "Cookies.txt", "kept=1");
    write(root / "Backup" / "Cookies.txt", "mine");
    write(root / "Cookies.txt", "stray");
    folders.splitShared();
    EXPECT_EQ(read(root / "Shared" / "Cookies.txt"), "kept=1");
    EXPECT_EQ(read(root / "Backup" / "Cookies.txt"), "mine");
    EXPECT_EQ(read(root / "Cookies.txt"), "stray");

    // Once split, nothing there is moved again, not even an old store's names.
    writeSharedStore(root);
    folders.splitShared();
    EXPECT_EQ(read(root / "Shared" / "Cookies.txt"), "kept=1");
    EXPECT_EQ(read(root / "Local Storage" / "leveldb" / "000003.log"), "notes");
    EXPECT_EQ(read(root / "Cache" / "data_0"), "cached");
    EXPECT_EQ(read(root / "Backup" / "Cookies.txt"), "mine");

    // The first split of an old store moves what pages stored and leaves the unknown folder alone.
    TempDir older;
    const fs::path oldRoot = older.path() / "PageApps";
    writeSharedStore(oldRoot);
    write(oldRoot / "Backup" / "notes.txt", "mine");
    web::PageAppFolders(oldRoot).splitShared();
    EXPECT_EQ(read(oldRoot / "Shared" / "Cookies.txt"), "last=1");
    EXPECT_EQ(read(oldRoot / "Backup" / "notes.txt"), "mine");
}
