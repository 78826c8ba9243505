#include "viewer/OpenedApp.h"

#include "base/Text.h"
#include "base/Url.h"
#include "pages/FetchText.h"
#include "pages/RedirectTarget.h"

namespace viewer {

OpenedApp OpenedApp::read(std::string_view linkAddress, std::string_view storeSite,
                          const std::function<void(bool isWidgetApp)>& kindKnown,
                          std::string_view likelyEntry) {
    const auto fetch = [](std::string_view address) { return FetchPage(address, "utf-8"); };
    OpenedApp app;
    app.Link = linkAddress;
    std::optional<std::string> entryPage, likelyDetailPage;
    if (base::isWebAddress(likelyEntry)) {
        const std::string addresses[] = {std::string(linkAddress), std::string(likelyEntry)};
        FetchPages(addresses, "utf-8", 2, [&](std::size_t i, std::optional<std::string> page) {
            (i == 0 ? entryPage : likelyDetailPage) = std::move(page);
        });
    } else {
        entryPage = fetch(linkAddress);
    }
    if (!entryPage) {
        app.outcome = Outcome::Unreachable;
        return app;
    }
    const std::string entry = ParseRedirectTarget(*entryPage);
    if (entry.empty()) {
        app.outcome = Outcome::NotAnApp;
        return app;
    }
    app.Entry = entry;
    app.IsWidgetApp = isWidgetAddress(entry, storeSite);
    if (kindKnown) kindKnown(app.IsWidgetApp);
    const auto detailPage =
        entry == likelyEntry && likelyDetailPage ? std::move(likelyDetailPage) : fetch(entry);
    if (!detailPage) {
        app.outcome = Outcome::Unreachable;
        return app;
    }
    // A page app's frame page that cannot be fetched leaves the frame address, which the viewer
    // loads itself.
    app.CurrentApp = ParseAppDetail(
        *detailPage, [&](std::string_view address) { return fetch(address).value_or(std::string()); });
    // An error page in place of the details: neither a caption nor anything to show.
    if (app.CurrentApp.Name.empty() && app.CurrentApp.ContentUrl.empty()) app.outcome = Outcome::NotAnApp;
    return app;
}

bool isWidgetAddress(std::string_view entryAddress, std::string_view storeSite) {
    return base::contains(entryAddress, std::string(storeSite) + "/widget");
}

} // namespace viewer
