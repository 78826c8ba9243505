#include "catalogue/StoreSearch.h"

#include <gtest/gtest.h>

using namespace catalogue;

namespace {
constexpr std::string_view Site = "http://127.0.0.1:8780";
}

TEST(StoreSearch, AddressCarriesTheTextExactlyAsTyped) {
    EXPECT_EQ(SearchAddress(Site, "植物 大战"), "http://127.0.0.1:8780/appweb/search?w=植物 大战");
    EXPECT_EQ(SearchAddress(Site, " a&b=%20 "), "http://127.0.0.1:8780/appweb/search?w= a&b=%20 ");
    EXPECT_EQ(SearchAddress(Site, ""), "http://127.0.0.1:8780/appweb/search?w=");
}

TEST(StoreSearch, OnlyTheStoreSitesSearchIsCaptured) {
    EXPECT_TRUE(IsStoreSearch("http://127.0.0.1:8780/appweb/search?w=%E6%B8%B8", Site));
    EXPECT_TRUE(IsStoreSearch("http://127.0.0.1:8780/appweb/search", Site));
    // Anywhere in the address, as a forwarding link carries it.
    EXPECT_TRUE(IsStoreSearch("http://x.test/go?to=http://127.0.0.1:8780/appweb/search?w=a", Site));
    EXPECT_FALSE(IsStoreSearch("http://127.0.0.1:8780/appweb/c?cid=games", Site));
    EXPECT_FALSE(IsStoreSearch("http://127.0.0.1:8781/appweb/search?w=a", Site)); // another port
    EXPECT_FALSE(IsStoreSearch("http://other.test/appweb/search?w=a", Site));
    EXPECT_FALSE(IsStoreSearch("file:///app/Html/SouSuo.html", Site));
}

TEST(StoreSearch, TheStoresRelativeLinksInLocalPagesLeadToTheStore) {
    EXPECT_EQ(StoreLinkAddress("file:///appweb/app?id=3", Site), "http://127.0.0.1:8780/appweb/app?id=3");
    EXPECT_EQ(StoreLinkAddress("file:///appweb/search?w=%E6%B8%B8", Site),
              "http://127.0.0.1:8780/appweb/search?w=%E6%B8%B8");
    EXPECT_EQ(StoreLinkAddress("file:///widget/detail?id=1", Site),
              "http://127.0.0.1:8780/widget/detail?id=1");
    // Absolute links and local files of other places stay as they are.
    EXPECT_EQ(StoreLinkAddress("http://127.0.0.1:8780/appweb/app?id=3", Site),
              "http://127.0.0.1:8780/appweb/app?id=3");
    EXPECT_EQ(StoreLinkAddress("file:///app/Html/SouSuo.html", Site), "file:///app/Html/SouSuo.html");
    EXPECT_EQ(StoreLinkAddress("file:///appwebx/app?id=3", Site), "file:///appwebx/app?id=3");
}
