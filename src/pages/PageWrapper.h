#pragma once
// The fixed frame around every generated page: a header that links the store's style sheet and
// sets the page background colour, and a footer. Neither holds a line break; the page ends in one
// CRLF. Pages are UTF-8 and carry no charset declaration.

#include "pages/PageSite.h"

#include <string>
#include <string_view>

namespace pagewrapper {

inline constexpr std::string_view kStyleSheetPath = "/static/07051645/appweb/styles/main.css";
inline constexpr std::string_view kFooter = "</body> </html> ";
inline constexpr std::string_view kLineEnd = "\r\n";

std::string header(std::string_view staticHost, std::string_view backColor);

// header + body + footer + line end
std::string wrap(std::string_view staticHost, std::string_view backColor, std::string_view body);

// Writes the wrapped page as site.htmlDir/<key>.html, replacing any old file atomically.
bool writePageFile(const PageSite& site, std::string_view key, std::string_view backColor,
                   std::string_view body);

} // namespace pagewrapper
