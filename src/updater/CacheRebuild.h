#pragma once
// The updater's rebuild of the page cache: the home page and every category page of the
// catalogue's rebuild list, all fetched at once over reused connections. Each page is written whole by
// its builder (temporary file, then rename), so a run that is stopped at any moment leaves every
// page file either as it was or completely rebuilt.

#include "pages/Catalogue.h"
#include "pages/PageSite.h"

#include <span>
#include <string>
#include <string_view>

class CacheRebuild {
  public:
    // Connections open to the store at a time. One per page of the rebuild list, so that the
    // whole list costs one round of store latency even over HTTP/1.1, where a connection carries
    // one request at a time; a store that speaks HTTP/2 gets all of them on one connection.
    static constexpr long kConnectionsPerHost = 32;
    // Page files written at once.
    static constexpr int kWriterThreads = 8;

    CacheRebuild(PageSite site, std::string backColor)
        : site_(std::move(site)), backColor_(std::move(backColor)) {}

    // Builds every entry (home page builder for the home page, category list builder for the
    // others) and returns how many page files were written. A page that cannot be fetched or cut
    // keeps its old file; the other pages are built all the same.
    int run(std::span<const CatalogueEntry> entries, long perHost = kConnectionsPerHost) const;

    // Removes temporary files that writers of dead processes left in the page cache folder (a
    // writer killed between writing and renaming). Temporaries of running processes stay.
    static void removeStaleTemporaries(const std::filesystem::path& htmlDir);

  private:
    bool write(const CatalogueEntry& entry, std::string_view fetched) const;

    PageSite site_;
    std::string backColor_;
};
