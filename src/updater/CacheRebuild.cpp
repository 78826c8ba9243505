#include "updater/CacheRebuild.h"

#include "base/AtomicFile.h"
#include "base/TaskPool.h"
#include "pages/CategoryPageBuilder.h"
#include "pages/FetchText.h"
#include "pages/HomePageBuilder.h"

#include <atomic>
#include <vector>

int CacheRebuild::run(std::span<const CatalogueEntry> entries, long perHost) const {
    // Every page is fetched at once and written as soon as its fetch ends; the pages are
    // independent files, so the order in which they finish does not matter. The writes run on
    // threads of their own: each waits for the disk (its file is made durable before it replaces
    // the old one), and on the fetching thread those waits would add up and hold back the answers
    // still coming in.
    std::vector<std::string> addresses;
    addresses.reserve(entries.size());
    for (const auto& entry : entries)
        addresses.push_back(Catalogue::storeAddress(site_.storeSite, entry));
    std::atomic<int> written{0};
    {
        base::TaskPool writers(kWriterThreads);
        FetchPages(addresses, "utf-8", perHost, [&](std::size_t index, std::optional<std::string> page) {
            writers.post([this, &written, &entry = entries[index], page = std::move(page)] {
                if (write(entry, page.value_or(std::string()))) ++written;
            });
        });
    }
    return written;
}

bool CacheRebuild::write(const CatalogueEntry& entry, std::string_view fetched) const {
    if (entry.builder == PageBuilder::Home) return WriteHomePage(site_, fetched, backColor_, entry.key);
    return WriteCategoryPage(site_, entry.key, fetched, backColor_);
}

void CacheRebuild::removeStaleTemporaries(const std::filesystem::path& htmlDir) {
    // Brindle writes pages here too, so only the temporaries of ended writers go.
    base::removeTemporaries(htmlDir, false);
}
