#include "base/Folders.h"

#include "TempDir.h"
#include "base/PersonalServersIni.h"

#include <fstream>
#include <gtest/gtest.h>
#include <map>

using base::Folders;
namespace fs = std::filesystem;

namespace {

Folders::Environment environment(std::map<std::string, std::string> values) {
    return [values = std::move(values)](const char* name) -> const char* {
        const auto found = values.find(name);
        return found == values.end() ? nullptr : found->second.c_str();
    };
}

} // namespace

TEST(FoldersTest, AWritableProgramFolderKeepsEverythingBesideItElseEachUserHasXdgFolders) {
    TempDir dir;
    const fs::path program = dir.path() / "program";
    fs::create_directories(program);
    const auto env =
        environment({{"HOME", "/home/ann"}, {"XDG_CONFIG_HOME", "/cfg"}, {"XDG_CACHE_HOME", "rel"}});

    const Folders writable = Folders::decide(program, true, env);
    EXPECT_TRUE(writable.beside());
    EXPECT_EQ(writable.data, program);
    EXPECT_EQ(writable.config, program);
    EXPECT_EQ(writable.cache, program);

    // Unset and relative variables fall back on the home folder; absolute ones count.
    const Folders readOnly = Folders::decide(program, false, env);
    EXPECT_FALSE(readOnly.beside());
    EXPECT_EQ(readOnly.program, program);
    EXPECT_EQ(readOnly.data, "/home/ann/.local/share/brindle");
    EXPECT_EQ(readOnly.config, "/cfg/brindle");
    EXPECT_EQ(readOnly.cache, "/home/ann/.cache/brindle");

    // A folder marked as shared (root may write into the package's files) counts as read-only.
    std::ofstream(program / Folders::SharedInstallMarker).put('\n');
    EXPECT_EQ(Folders::decide(program, true, env).data, "/home/ann/.local/share/brindle");
}

TEST(FoldersTest, PrepareMakesTheUserFoldersAndCopiesServersIniOnlyAtTheFirstStart) {
    TempDir dir;
    const fs::path program = dir.path() / "program";
    fs::create_directories(program);
    std::ofstream(program / "Servers.ini") << "[Store]\nSite = http://store.example\n";
    const Folders folders =
        Folders::decide(program, false, environment({{"HOME", (dir.path() / "home").string()}}));

    EXPECT_TRUE(folders.prepare().empty());
    for (const fs::path& folder : {folders.data, folders.config, folders.cache})
        EXPECT_TRUE(fs::is_directory(folder)) << folder;
    std::ifstream copied(folders.config / "Servers.ini");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(copied), {}),
              "[Store]\nSite = http://store.example\n");

    // The user's edit stays at the next start.
    std::ofstream(folders.config / "Servers.ini") << "[Store]\nSite = http://mine.example\n";
    EXPECT_TRUE(folders.prepare().empty());
    std::ifstream kept(folders.config / "Servers.ini");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "[Store]\nSite = http://mine.example\n");

    // A data folder that cannot be made is reported.
    std::ofstream(dir.path() / "file") << "x";
    const Folders blocked(program, dir.path() / "file" / "data", folders.config, folders.cache);
    EXPECT_EQ(blocked.prepare(), std::vector<fs::path>{dir.path() / "file" / "data"});
}

TEST(FoldersTest, EachUserCopyNamesABundledStorePortOfItsOwnAndLeavesOtherServersAlone) {
    const std::string program = "; the bundled store on 127.0.0.1:8780 when a key is missing\n"
                                "[Store]\r\nSite = http://127.0.0.1:8780\r\n"
                                "Static = \"http://localhost:8780/\"\n"
                                "[Maker]\nServer = http://127.0.0.1:87801\n"
                                "Mirror = http://maker.example:8780\n";
    EXPECT_EQ(base::personalServersIni(program, 1001),
              "; the bundled store on 127.0.0.1:8780 when a key is missing\n"
              "[Store]\r\nSite = http://127.0.0.1:21001\r\n"
              "Static = \"http://localhost:21001/\"\n"
              "[Maker]\nServer = http://127.0.0.1:87801\n"
              "Mirror = http://maker.example:8780\n");
    EXPECT_NE(base::personalServersIni(program, 1000), base::personalServersIni(program, 1001));
}
