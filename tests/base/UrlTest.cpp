#include "base/Url.h"

#include <gtest/gtest.h>

using base::normaliseUrl;

TEST(NormaliseUrl, EncodesLikeABrowser) {
    EXPECT_EQ(normaliseUrl("http://h:1/appweb/search?w=a b"), "http://h:1/appweb/search?w=a%20b");
    EXPECT_EQ(normaliseUrl("  http://h/s?w=游戏\r\n"), "http://h/s?w=%E6%B8%B8%E6%88%8F");
    EXPECT_EQ(normaliseUrl("http://h/s?w=%E6%B8%B8&x=1%2"), "http://h/s?w=%E6%B8%B8&x=1%2");
    EXPECT_EQ(normaliseUrl("http://h/a\tb?q=\"<x>\""), "http://h/ab?q=%22%3Cx%3E%22");
    EXPECT_EQ(normaliseUrl("http://h/appweb/c?cid=1&leaf_cid=7"), "http://h/appweb/c?cid=1&leaf_cid=7");
}

TEST(IsWebAddress, OnlyHttpAndHttpsWithSomethingAfterTheScheme) {
    EXPECT_TRUE(base::isWebAddress("http://h/a.swf"));
    EXPECT_TRUE(base::isWebAddress("HTTPS://h"));
    for (const char* other : {"http://", "file:///etc/passwd", "/etc/passwd", "javascript:alert(1)",
                              "httpx://h", " http://h", ""})
        EXPECT_FALSE(base::isWebAddress(other)) << other;
}
