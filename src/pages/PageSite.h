#pragma once
// Where the page builders write and which store they point the pages at.

#include <filesystem>
#include <string>

struct PageSite {
    std::filesystem::path htmlDir; // the page cache folder (application folder / Html)
    std::string storeSite;         // scheme and host (and port) of the store, no trailing "/"
    std::string staticHost;        // scheme and host of the store's static files (style sheet)
};
