#include "updater/CacheRebuild.h"

#include "pages/CategoryPageBuilder.h"
#include "pages/HomePageBuilder.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <thread>
#include <vector>

namespace {

// The writing process of a temporary named ".<file>.<pid>.<n>.tmp"; 0 for other names.
pid_t writerOf(const std::string& name) {
    if (!name.starts_with(".") || !name.ends_with(".tmp")) return 0;
    const std::string_view stem(name.data(), name.size() - 4);
    const auto counterDot = stem.rfind('.');
    if (counterDot == std::string_view::npos || counterDot == 0) return 0;
    const auto pidDot = stem.rfind('.', counterDot - 1);
    if (pidDot == std::string_view::npos) return 0;
    pid_t pid = 0;
    const auto digits = stem.substr(pidDot + 1, counterDot - pidDot - 1);
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
    return error == std::errc() && end == digits.data() + digits.size() ? pid : 0;
}

} // namespace

bool CacheRebuild::build(const CatalogueEntry& entry) const {
    const auto address = Catalogue::storeAddress(site_.storeSite, entry);
    if (entry.builder == PageBuilder::Home) return BuildHomePage(site_, address, backColor_, entry.key);
    return BuildCategoryPage(site_, entry.key, address, backColor_, nullptr);
}

int CacheRebuild::run(std::span<const CatalogueEntry> entries, int workers) const {
    // Each worker takes the next entry in table order until none is left; the pages are
    // independent files, so the order in which they finish does not matter.
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
    std::error_code ec;
    for (const auto& item : std::filesystem::directory_iterator(htmlDir, ec)) {
        const pid_t writer = writerOf(item.path().filename().string());
        if (writer > 0 && ::kill(writer, 0) != 0 && errno == ESRCH) std::filesystem::remove(item.path(), ec);
    }
}
