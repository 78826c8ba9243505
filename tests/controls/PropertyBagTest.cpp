#include "controls/PropertyBag.h"

#include <gtest/gtest.h>

TEST(PropertyBag, KeepsWriteOrderAndSkipsDefaults) {
    PropertyBag bag;
    bag.WriteProperty("Max", std::int32_t{100}, std::int32_t{100});
    bag.WriteProperty("Value", std::int32_t{37}, std::int32_t{0});
    bag.WriteProperty("Caption", std::string("x"));
    bag.WriteProperty("value", std::int32_t{38}, std::int32_t{0});
    ASSERT_EQ(bag.entries().size(), 2u);
    EXPECT_EQ(bag.entries()[0].first, "Value");
    EXPECT_EQ(bag.ReadProperty("VALUE", std::int32_t{0}), PropertyBag::Value(std::int32_t{38}));
    EXPECT_EQ(bag.ReadProperty("Max", std::int32_t{100}), PropertyBag::Value(std::int32_t{100}));
    bag.WriteProperty("Value", std::int32_t{0}, std::int32_t{0});
    EXPECT_EQ(bag.entries().size(), 1u);
}
