#pragma once
// The pages behind an app link: the entry page that forwards to the app's detail page, the detail
// page with the app's data in its script, and what a detail page points at.
//
// Addresses (site is the store's scheme and host):
//   entry         site/appweb/app?id=N        forwards with top.location.href = "detail"
//   movie app     site/widget/detail?id=N     detail page; flash : "site/widget/swf/FILE.swf"
//   movie         site/widget/swf/FILE.swf    Flash movie (a built game)
//   page app      site/appweb/detail?id=N     detail page with <iframe id="app_frame" src="frame">
//   frame         site/appweb/frame?id=N      holds <iframe name="iframe_canvas" src="canvas">
//   canvas        site/appweb/canvas?id=N     the app itself, a small HTML5 game or tool
// Movie apps are the catalogue's "flash" apps; every other app is a page app.

#include "StoreCatalog.h"

#include <optional>
#include <string>
#include <string_view>

namespace appstore {

class AppPages {
  public:
    explicit AppPages(const StoreCatalog& catalog) : catalog_(catalog) {}

    // Each gives nothing for an unknown id or for an app of the other kind.
    std::optional<std::string> entry(std::string_view site, std::string_view id) const;
    std::optional<std::string> movieDetail(std::string_view site, std::string_view id) const;
    std::optional<std::string> pageDetail(std::string_view site, std::string_view id) const;
    std::optional<std::string> frame(std::string_view site, std::string_view id) const;
    std::optional<std::string> canvas(std::string_view id) const;
    // A movie of the store by file name: a built game; nothing for any other name.
    static std::optional<std::string> movie(std::string_view file);

    static std::string detailAddress(std::string_view site, const StoreApp& app);

  private:
    std::optional<StoreApp> find(std::string_view id) const;
    std::string detail(std::string_view site, const StoreApp& app) const;

    const StoreCatalog& catalog_;
};

} // namespace appstore
