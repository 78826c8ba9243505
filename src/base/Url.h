#pragma once
// Addresses as a browser sends them.

#include <string>
#include <string_view>

namespace base {

// Browser-style address clean-up: leading and trailing spaces and control characters dropped, tabs
// and line breaks removed, then in everything after the host: spaces, other control characters,
// the characters " < > ` { } and every non-ASCII byte written as %XX (upper-case hex of the UTF-8
// bytes). Existing %XX escapes and everything else are kept.
std::string normaliseUrl(std::string_view url);

// Whether address is an http:// or https:// address (scheme in any case): the only addresses that
// are followed when a store page names them.
bool isWebAddress(std::string_view address);

// Text with every %XX escape (two hex digits) replaced by its byte; other text, a lone "%"
// included, is kept.
std::string decodePercent(std::string_view text);

// One path segment of an address: letters, digits and -._~!$&'()*+,;=:@ kept, every other byte
// (also "/", "%", "?" and "#") written as %XX.
std::string encodePathSegment(std::string_view segment);

} // namespace base
