#pragma once
// Reads an uncompressed Flash movie back, structure by structure, as strictly as a player must:
// the header, every tag's extent, and inside the tags the writer uses every bit field (shape
// styles and records, placement matrices and colour transforms). Used to check generated movies.

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
    // Per shown frame, one text per occupied depth saying what stands there and how: frames that
    // differ are frames that move.
    std::vector<std::string> frames;
};

// Throws std::runtime_error naming the first fault: a wrong signature or length, a tag running
// past its end or the file's, a shape whose records do not end or whose outline does not close, a
// style index out of range, a placement of an undefined character or a move on an empty depth,
// a frame count that differs from the frames shown, or bytes after the end tag.
MovieSummary readMovie(std::string_view bytes);

} // namespace swf
