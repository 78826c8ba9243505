#pragma once
// Flash movies of version 5 and older keep their strings in the code page of the system they were
// made on, which for Chinese movies is GBK; the player reads such strings as Latin text. A movie
// like that is handed to the player rewritten, its version kept so that every rule of its language
// stays: each pushed string beyond ASCII is built at run time from its characters' codes (see
// ActionCode), in frame, sprite and initialisation actions, button actions and the clip actions of
// placements; a text field's first text beyond ASCII becomes HTML with the characters as numbers.
// Names the player reads from tags and function headers (placement names, text field variables,
// frame labels, exported and imported names, function names and parameters) stay as they are, and
// so does a pushed string that may be compared with one of them, so that both read alike.

#include <optional>
#include <string>
#include <string_view>

namespace viewer {

// Which movies to rewrite.
enum class CodePageRewrite {
    ChineseOnly, // movies with a string beyond ASCII (all of them GBK), and only those strings
    Always,      // every pushed string that is no name, ASCII too (to compare how movies play)
};

// The movie rewritten, or nothing when it is to be played as it is: a movie of version 6 or later,
// a movie with nothing to rewrite (unless rewrite says Always), one with a string that is not GBK,
// one with a push of a constant beyond ASCII where which pool it refers to is not certain, and a
// damaged movie or one whose rewritten actions would not fit their length and offset fields. A
// rewritten movie is uncompressed ("FWS") and of the same version.
std::optional<std::string> unicodeMovie(std::string_view movie,
                                        CodePageRewrite rewrite = CodePageRewrite::ChineseOnly);

} // namespace viewer
