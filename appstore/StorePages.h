#pragma once
// The store's pages, rendered from its catalogue: home page, category lists, search results, the
// maker's update and statistics pages, app icons and the not-found page.

#include "StoreCatalog.h"

#include <optional>
#include <string>
#include <string_view>

namespace appstore {

class StorePages {
  public:
    static constexpr int kAppsPerPage = 8;
    static constexpr int kSearchLimit = 40;

    explicit StorePages(const StoreCatalog& catalog) : catalog_(catalog) {}

    std::string home(std::string_view site) const;
    // A category list page for the query values cid ("games" or a number), leaf_cid and page;
    // nothing for an unknown category.
    std::optional<std::string> category(std::string_view site, std::string_view cid, std::string_view leafCid,
                                        std::string_view page) const;
    std::string search(std::string_view site, std::string_view words) const;

    // The maker's update page in INI form; version overrides the published release's version. The
    // page carries a Signature line only when a signature is given.
    std::string updatePage(std::string_view site, const std::optional<std::string>& version,
                           const std::optional<std::string>& signature) const;
    std::string statistics(long long requestsServed) const;

    // A generated SVG icon for an app id given as text; nothing for an unknown id.
    std::optional<std::string> icon(std::string_view id) const;

    static std::string notFound(std::string_view path);

  private:
    const StoreCatalog& catalog_;
};

} // namespace appstore
