#pragma once
// The updater's rebuild of the page cache: the home page and every category page of the
// catalogue's rebuild list, fetched by a few worker threads at once. Each page is written whole by
// its builder (temporary file, then rename), so a run that is stopped at any moment leaves every
// page file either as it was or completely rebuilt.

#include "pages/Catalogue.h"
#include "pages/PageSite.h"

#include <span>
#include <string>

class CacheRebuild {
  public:
    // Twelve fetches at a time: the 32 pages take three rounds of store latency instead of 32.
    static constexpr int kWorkers = 12;

    CacheRebuild(PageSite site, std::string backColor)
        : site_(std::move(site)), backColor_(std::move(backColor)) {}

    // Builds every entry (home page builder for the home page, category list builder for the
    // others) and returns how many page files were written. A page that cannot be fetched or cut
    // keeps its old file; the other pages are built all the same.
    int run(std::span<const CatalogueEntry> entries, int workers = kWorkers) const;

    // Removes temporary files that writers of dead processes left in the page cache folder (a
    // writer killed between writing and renaming). Temporaries of running processes stay.
    static void removeStaleTemporaries(const std::filesystem::path& htmlDir);

  private:
    bool build(const CatalogueEntry& entry) const;

    PageSite site_;
    std::string backColor_;
};
