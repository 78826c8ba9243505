#pragma once
// Files of the appstore folder compiled into the program, so that it runs from any folder.

#include <string_view>

namespace appstore::embedded {

extern const std::string_view seedSql; // seed.sql: schema and catalogue of a new database
extern const std::string_view mainCss; // main.css: the store's style sheet

} // namespace appstore::embedded
