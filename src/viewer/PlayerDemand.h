#pragma once
// Decides when the catalogue keeps a Flash player ready for the movie viewers. A ready player costs
// as much memory as the rest of the catalogue, so it is there only while a movie is likely to be
// clicked: from the moment a page listing movie apps is shown (a game category, search results, the
// played games), the pointer rests on a movie app's link or on the tab of the game area, or a movie
// has just ended, until Idle has passed in which none of that happened. A page listing movie apps
// keeps it for as long as it stays in view. Times come from the caller, so the decision is the same
// under any clock.

#include <chrono>
#include <optional>

namespace viewer {

class PlayerDemand {
  public:
    using Clock = std::chrono::steady_clock;
    // How long a player stays ready after the last sign of a movie.
    static constexpr std::chrono::milliseconds DefaultIdle{std::chrono::minutes(3)};
    // How long the pointer rests on a movie app's link before that counts as a sign.
    static constexpr std::chrono::milliseconds LinkRest{300};
    // How long it rests on the tab of the game area: a tab is aimed at, a link in a list of apps is
    // often only passed over, and the sooner the player starts the sooner it is ready.
    static constexpr std::chrono::milliseconds TabRest{100};

    explicit PlayerDemand(std::chrono::milliseconds idle = DefaultIdle);

    // The page in view lists movie apps (inView) or not. Leaving such a page starts the idle time.
    void moviePageShown(bool inView, Clock::time_point now);
    // A sign of a movie that passes: a rest on a movie app's link, a movie that ended.
    void movieNear(Clock::time_point now);

    // Whether a player should be ready at now.
    bool wanted(Clock::time_point now) const;
    // How long from now until the player is no longer wanted if nothing else happens; nothing while
    // a page listing movie apps is in view or when no player is wanted.
    std::optional<Clock::duration> releaseIn(Clock::time_point now) const;

  private:
    std::chrono::milliseconds idle_;
    bool pageInView_ = false;
    std::optional<Clock::time_point> lastSign_;
};

} // namespace viewer
