#pragma once
// The page shown in place of a catalogue page that could not be built (store unreachable, a broken
// or oversized answer): a short note on the page background colour. It is never written to the
// page cache, so it cannot stand in for a real page on a later visit.

#include <string>
#include <string_view>

// The note page's HTML. Characters other than letters, digits and '#' are dropped from backColor,
// since it comes from the settings file and lands in the markup.
std::string UnavailablePage(std::string_view backColor);
