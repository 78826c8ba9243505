#pragma once
// Files of the appstore folder compiled into the program, so that it runs from any folder.

#include <string_view>
#include <utility>
#include <vector>

namespace appstore::embedded {

extern const std::string_view seedSql; // seed.sql: schema and catalogue of a new database
extern const std::string_view mainCss; // main.css: the store's style sheet
// canvas/NAME.html: the HTML5 apps that page apps run, as (NAME, body) pairs: each body (style,
// markup and script) goes into a page with the app's name as its title and heading.
extern const std::vector<std::pair<std::string_view, std::string_view>> canvasApps;
// The built games of games/ as (NAME.swf, movie) pairs.
extern const std::vector<std::pair<std::string_view, std::string_view>> storeGames;

} // namespace appstore::embedded
