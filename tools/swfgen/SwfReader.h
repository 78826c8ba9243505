#pragma once
// Reads a Flash movie back, structure by structure, as strictly as a player must: the header (of
// an uncompressed or a zlib-compressed movie), every tag's extent, and inside the tags the writer
// uses every bit field (shape styles and records, placement matrices and colour transforms), device
// fonts, text fields and ActionScript 2 actions. Of an ActionScript 3 movie it tells whether it
// says so and which class it starts. Used to check the written and the built movies.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace swf {

struct MovieSummary {
    int version = 0;
    int widthPx = 0, heightPx = 0;
    double frameRate = 0;
    int frameCount = 0; // as the header announces
    int framesShown = 0;
    std::uint32_t background = 0; // 0xRRGGBB
    int shapes = 0, edges = 0, placements = 0;
    bool compressed = false;
    bool actionScript3 = false;        // the file attributes announce ActionScript 3
    int scriptBlocks = 0;              // DoABC tags: compiled ActionScript 3
    std::string documentClass;         // the class that symbol 0, the main timeline, is bound to
    int actionBlocks = 0, actions = 0; // DoAction tags and the ActionScript 2 actions in them
    std::vector<std::string> fonts;    // the names of the defined fonts
    std::vector<std::string> texts;    // the first text of each text field
    // Per shown frame, one text per occupied depth saying what stands there and how: frames that
    // differ are frames that move.
    std::vector<std::string> frames;
};

// Throws std::runtime_error naming the first fault: a wrong signature or length, compressed data
// that does not inflate to exactly the announced length, a tag running
// past its end or the file's, a shape whose records do not end or whose outline does not close, a
// style index out of range, a placement of an undefined character or a move on an empty depth,
// a frame count that differs from the frames shown, a symbol class table that runs past its tag,
// a text field in an undefined font or with a string that runs past its tag, actions that run
// past their tag or lack the end action, a jump that lands inside an action or outside its
// block, a function longer than its block, or bytes after the end tag.
MovieSummary readMovie(std::string_view bytes);

} // namespace swf
