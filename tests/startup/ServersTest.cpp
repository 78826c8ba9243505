#include "startup/Servers.h"

#include "TempDir.h"

#include <fstream>
#include <gtest/gtest.h>

TEST(Servers, MissingFileOrKeysMeanTheBundledStore) {
    TempDir dir;
    auto s = Servers::read(dir.path());
    EXPECT_EQ(s.site, "http://127.0.0.1:8780");
    EXPECT_EQ(s.staticHost, "http://127.0.0.1:8780");
    EXPECT_EQ(s.makerServer, "http://127.0.0.1:8780");

    std::ofstream(dir.path() / "Servers.ini") << "[Store]\nSite = http://store.test:9000/ \nStatic =\n"
                                                 "[maker]\nserver=https://maker.test//\n";
    s = Servers::read(dir.path());
    EXPECT_EQ(s.site, "http://store.test:9000");
    EXPECT_EQ(s.staticHost, "http://127.0.0.1:8780");
    EXPECT_EQ(s.makerServer, "https://maker.test");
}
