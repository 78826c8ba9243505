#pragma once
// The rules of the viewer's movie: which file name it lives under in the Game folder, and the
// progress bar value of a download.

#include "pages/AppDetail.h"
#include "viewer/MoviePlace.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace viewer {

// Shown in the player's place when the movie cannot run (a broken file, a player failure).
inline constexpr std::string_view MovieFailedNote = "应用暂时无法运行，请点击“重载应用”再试。";
// Shown over the player for a while when the movie wanted to keep more saves than a game may.
inline constexpr std::string_view SavesFullNote =
    "这个游戏的存档已经达到上限（16 MB），新的进度没有保存；已有的存档不受影响。";
// Shown the same way when a save could not be written to disk.
inline constexpr std::string_view SavesNotWrittenNote =
    "存档无法写入磁盘（磁盘已满，或存档文件夹不能写入），这个游戏新的进度没有保存。";

// Shown in the player's place when the movie's download stopped, by the download's error message:
// a full disk is said as such, since reloading alone cannot help then.
std::string downloadFailedNote(std::string_view error);

// Where the app's movie and the files it loads are kept in Game (see MoviePlace): from its movie
// address, when MovieFile is a plain file name, the address is a web address and its file name is
// MovieFile. Otherwise nothing: the app opens without a movie, so no store text can make the viewer
// read a local file or write outside Game.
std::optional<MoviePlace> moviePlaceOf(const AppDetail& app);

// The progress bar's value for a download at fraction percent (0 to 1): percent x 100 rounded to the
// nearest, halves to even; a fraction above 1 (more bytes than announced) holds the bar at 100.
std::int32_t progressValue(float percent);

} // namespace viewer
