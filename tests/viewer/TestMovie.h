#pragma once
// A small uncompressed SWF for the player tests: a red square that slides from left to right over a
// blue background, frames frames at 12 per second, looping. The stage is 200 x 150 pixels.

#include <cstdint>
#include <string>

std::string testMovie(int frames = 24);
