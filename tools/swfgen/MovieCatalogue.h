#pragma once
// The bundled store's Flash movies: one small looping animation per movie app, drawn by the SWF
// writer (falling blocks for the block game, swinging hook for the miner, rising bubbles, ...).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace swf {

// File names of every movie, e.g. "blocks.swf", in a fixed order.
std::vector<std::string> movieNames();

// The movie of that file name; nothing for a name not in the catalogue.
std::optional<std::string> movieBytes(std::string_view name);

} // namespace swf
