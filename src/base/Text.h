#pragma once
// Plain text rules shared by every subsystem: store pages are taken apart by
// case-sensitive, first-occurrence search for fixed markers, never parsed.

#include <optional>
#include <string>
#include <string_view>

namespace base {

// Text from the first occurrence of marker (included) to the end; the whole text when it is missing.
std::string fromFirst(std::string_view text, std::string_view marker);

// Text before the first occurrence of marker; the whole text when it is missing.
std::string beforeFirst(std::string_view text, std::string_view marker);

// Every occurrence of from replaced by to, scanning left to right without rescanning replacements.
std::string replaceAll(std::string_view text, std::string_view from, std::string_view to);

bool contains(std::string_view text, std::string_view part);

// Leading and trailing blanks (spaces and tabs) removed.
std::string trimBlanks(std::string_view text);

// Leading and trailing spaces (only ' ') removed.
std::string trimSpaces(std::string_view text);

// The first count characters (UTF-8 code points) of text; the whole text when it is shorter.
std::string leftChars(std::string_view text, long long count);

// Text without its last character (one whole UTF-8 code point); empty for an empty text.
std::string withoutLastChar(std::string_view text);

// The text after the first occurrence of marker and one more character (in store pages a quote or
// a space; a multi-byte character is skipped whole, so no value starts inside one); nullopt when
// the marker is missing or nothing follows it.
std::optional<std::string_view> afterMarker(std::string_view text, std::string_view marker);

// Number of UTF-8 code points in text.
std::size_t charCount(std::string_view text);

bool equalsNoCase(std::string_view a, std::string_view b);

} // namespace base
