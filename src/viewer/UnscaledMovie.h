#pragma once
// Games of the era made for Flash Player's own window turned their scaling off with
// fscommand("allowscale", "false"): the stage then shows at its own size in the middle of the
// player, and what the movie draws beyond its edges shows around it. Many did so behind a preloader,
// a few frames in, or from a clip's events or timeline. Ruffle sets a movie's scaling only when it
// starts, so such a movie is started that way, and shows unscaled from its first frame on.

#include <istream>

namespace viewer {

// Whether the movie's actions turn its scaling off: in its main timeline's first frame, or anywhere
// else (later frames, clips' timelines and events, buttons, clips' initialisation) when none turns
// it on again. The command is the link to "FSCommand:allowscale" with the target "false" (in any
// case) or false that Flash compiled it to, with both given or both pushed right before it ("true"
// or true turns scaling on). The movie is read from its stream in order, up to the end of its
// timeline at most. False for anything that is no "FWS" or "CWS" movie, or a movie of ActionScript 3.
bool startsUnscaled(std::istream& movie);

} // namespace viewer
