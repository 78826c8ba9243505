#pragma once
// Version numbers of the update check: the program's own version and the published one are both
// turned into whole numbers, and only a higher published number means an update. A page that
// announces the same or an older version is ignored, so no update page can move a user back.

#include <cstdint>
#include <string>
#include <string_view>

namespace catalogue {

// Major, minor and revision of this build joined with "." ("1.0.0").
std::string ownVersionText();

// The leading decimal number of text rounded to the nearest integer, halves to even: "1.0.0" gives 1,
// "1.4" 1, "1.5" 2, "2.5" 2; text that does not start with a number gives 0.
std::int32_t versionNumber(std::string_view text);

// True when the published version's number is higher than the own version's.
bool updateDue(std::string_view publishedVersion, std::string_view ownVersion = ownVersionText());

} // namespace catalogue
