#include "viewer/PlayerDemand.h"

namespace viewer {

PlayerDemand::PlayerDemand(std::chrono::milliseconds idle) : idle_(idle) {}

void PlayerDemand::moviePageShown(bool inView, Clock::time_point now) {
    if (pageInView_ && !inView) lastSign_ = now;
    pageInView_ = inView;
}

void PlayerDemand::movieNear(Clock::time_point now) {
    if (!lastSign_ || *lastSign_ < now) lastSign_ = now;
}

bool PlayerDemand::wanted(Clock::time_point now) const {
    return pageInView_ || (lastSign_ && now - *lastSign_ < idle_);
}

std::optional<PlayerDemand::Clock::duration> PlayerDemand::releaseIn(Clock::time_point now) const {
    if (pageInView_ || !wanted(now)) return std::nullopt;
    return *lastSign_ + idle_ - now;
}

} // namespace viewer
