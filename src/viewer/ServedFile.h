#pragma once
// What the player's scheme hands the page for a file a movie loads: its content type and its
// bytes. Every file of a movie (the movie playing included) passes through servedFile, the one
// place where the bytes a movie gets may differ from those on disk:
//
// - A movie of version 5 or older whose strings are in the Chinese code page is handed over
//   rewritten to show them (see CodePageMovie); every other movie as it is.
// - Text that movies of the Flash MX to 8 years loaded was often kept in the Chinese code page
//   (GBK, as Chinese Windows saved it), which the player would read as UTF-8 and turn into
//   replacement characters. Such a file, when it is no valid UTF-8 but valid GB18030 and holds no
//   NUL byte (which no text has), is handed over as UTF-8. Where the movie playing is of version
//   5 or older, the player reads the variables it loads as Latin text and then decodes their
//   escapes as UTF-8: such a file, unless it is XML (which the player reads as UTF-8 in every
//   version), is handed over with its values in UTF-8, each byte beyond ASCII escaped (%E4%B8%AD),
//   and its names as they are, read alike with the names in the movie.
// - UTF-8 files and binary files pass as they are.
//
// It reads and may rewrite whole movies, so callers run it off the user-interface thread.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace viewer {

struct ServedFile {
    std::string contentType;
    std::string bytes;
};

// The file named file (only its name counts) whose bytes are bytes, as it is served to a movie of
// the version movieVersion (of the movie playing, not of one it loads).
ServedFile servedFile(const std::filesystem::path& file, std::string bytes, int movieVersion = 10);

// The version of the movie whose first bytes are header, or 0 when it is no movie.
int movieVersion(std::string_view header);

// bytes as UTF-8 when they are no valid UTF-8 but valid GB18030 without a NUL byte; nothing
// otherwise.
std::optional<std::string> utf8FromChineseCodePage(std::string_view bytes);

bool isValidUtf8(std::string_view bytes);

} // namespace viewer
