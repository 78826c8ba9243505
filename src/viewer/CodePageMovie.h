#pragma once
// Flash movies of version 5 and older keep their strings in the code page of the system they were
// made on, which for Chinese movies is GBK; the player reads such strings as Latin text. A movie
// like that is handed to the player rewritten: every string in UTF-8 and the version raised to 6,
// the first version whose strings are UTF-8 and the last whose identifiers ignore case, as before.
//
// Strings live in frame, sprite and initialisation actions (pushed values, constant pools, link
// addresses and targets, frame labels to go to, function names and parameters, catch variables),
// in button actions, in the clip actions of placements, in placement names, in text fields (the
// variable and the first text), in frame labels, in exported and imported names and in font names.
// Actions that change length move the branches, blocks and sizes around them along. The clip event
// flags of placements, two bytes wide before version 6, are widened to the four bytes of version 6.

#include <optional>
#include <string>
#include <string_view>

namespace viewer {

// Which movies to rewrite.
enum class CodePageRewrite {
    ChineseOnly, // movies with a string beyond ASCII (all of them GBK)
    Always,      // also plain ASCII movies (to compare how the two versions play)
};

// The movie rewritten, or nothing when it is to be played as it is: a movie of version 6 or later,
// a movie of plain ASCII strings (unless rewrite says Always), one with a string that is not GBK,
// and a damaged movie or one whose rewritten actions would not fit their length and offset fields.
// A rewritten movie is uncompressed ("FWS").
std::optional<std::string> unicodeMovie(std::string_view movie,
                                        CodePageRewrite rewrite = CodePageRewrite::ChineseOnly);

} // namespace viewer
