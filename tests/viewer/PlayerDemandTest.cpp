#include "viewer/PlayerDemand.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using viewer::PlayerDemand;

namespace {

const PlayerDemand::Clock::time_point T0{};

// The player is wanted from a movie page's showing for as long as it is in view, then for the idle
// time after it left, and not at all before any sign of a movie.
TEST(PlayerDemandTest, AMoviePageKeepsThePlayerWhileInViewAndForTheIdleTimeAfter) {
    PlayerDemand demand(3min);
    EXPECT_FALSE(demand.wanted(T0));
    demand.moviePageShown(false, T0); // the home page at start
    EXPECT_FALSE(demand.wanted(T0 + 1h));
    EXPECT_FALSE(demand.releaseIn(T0 + 1h));

    demand.moviePageShown(true, T0 + 10s);
    EXPECT_TRUE(demand.wanted(T0 + 10s));
    EXPECT_TRUE(demand.wanted(T0 + 2h)); // still in view
    EXPECT_FALSE(demand.releaseIn(T0 + 2h));
    demand.moviePageShown(true, T0 + 2h); // shown again (a resize), nothing changes

    demand.moviePageShown(false, T0 + 2h + 1s);
    EXPECT_EQ(demand.releaseIn(T0 + 2h + 1s), 3min);
    EXPECT_EQ(demand.releaseIn(T0 + 2h + 2min), 1min + 1s);
    EXPECT_TRUE(demand.wanted(T0 + 2h + 3min));
    EXPECT_FALSE(demand.wanted(T0 + 2h + 3min + 1s));
    EXPECT_FALSE(demand.releaseIn(T0 + 2h + 3min + 1s));
    // Another page without movies does not start the idle time again.
    demand.moviePageShown(false, T0 + 2h + 4min);
    EXPECT_FALSE(demand.wanted(T0 + 2h + 4min));
}

// A sign that passes (a rest on a movie link, a movie that ended) wants the player for the idle
// time from the latest sign; a page left earlier or a late report of an older sign does not cut it.
TEST(PlayerDemandTest, SignsOfAMovieWantThePlayerForTheIdleTimeFromTheLatest) {
    PlayerDemand demand(1min);
    demand.movieNear(T0);
    EXPECT_TRUE(demand.wanted(T0 + 59s));
    EXPECT_FALSE(demand.wanted(T0 + 60s));

    demand.movieNear(T0 + 2min);
    demand.movieNear(T0 + 2min + 30s);
    demand.movieNear(T0 + 2min); // reported late
    EXPECT_EQ(demand.releaseIn(T0 + 3min), 30s);
    EXPECT_TRUE(demand.wanted(T0 + 3min + 29s));

    // A movie page shown and left within that time ends its idle time a minute after leaving.
    demand.moviePageShown(true, T0 + 3min);
    demand.moviePageShown(false, T0 + 3min + 10s);
    EXPECT_TRUE(demand.wanted(T0 + 4min + 9s));
    EXPECT_FALSE(demand.wanted(T0 + 4min + 10s));
}

} // namespace
