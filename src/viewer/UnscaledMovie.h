#pragma once
// Games of the era made for Flash Player's own window turned its scaling off in their first frame
// with fscommand("allowscale", "false"): the stage then shows at its own size in the middle of the
// player, and what the movie draws beyond its edges shows around it. Ruffle sets a movie's scaling
// only when it starts, so such a movie is started that way.

#include <string_view>

namespace viewer {

// Whether the actions of the movie's first frame (before it shows) hold fscommand("allowscale",
// "false") or fscommand("allowscale", false): the link to "FSCommand:allowscale" with the target
// "false" (in any case) that Flash compiled it to, with both given or both pushed right before it.
// False for anything that is no "FWS" or "CWS" movie, or a damaged one.
bool startsUnscaled(std::string_view movie);

} // namespace viewer
