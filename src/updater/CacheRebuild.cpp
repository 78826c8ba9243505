#include "updater/CacheRebuild.h"

#include "base/AtomicFile.h"
#include "pages/CategoryPageBuilder.h"
#include "pages/HomePageBuilder.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

bool CacheRebuild::build(const CatalogueEntry& entry) const {
    const auto address = Catalogue::storeAddress(site_.storeSite, entry);
    if (entry.builder == PageBuilder::Home) return BuildHomePage(site_, address, backColor_, entry.key);
    return BuildCategoryPage(site_, entry.key, address, backColor_, nullptr);
}

int CacheRebuild::run(std::span<const CatalogueEntry> entries, int workers) const {
    // Each worker takes the next entry in table order until none is left; the pages are
    // independent files, so the order in which they finish does not matter.
    if (entries.empty()) return 0;
    std::atomic<std::size_t> next{0};
    std::atomic<int> written{0};
    {
        std::vector<std::jthread> pool;
        const auto count =
            std::clamp<std::size_t>(static_cast<std::size_t>(std::max(workers, 1)), 1, entries.size());
        for (std::size_t i = 0; i < count; ++i) {
            pool.emplace_back([&] {
                for (auto index = next++; index < entries.size(); index = next++)
                    if (build(entries[index])) ++written;
            });
        }
    }
    return written;
}

void CacheRebuild::removeStaleTemporaries(const std::filesystem::path& htmlDir) {
    // Brindle writes pages here too, so only the temporaries of ended writers go.
    base::removeTemporaries(htmlDir, false);
}
