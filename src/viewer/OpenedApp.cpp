#include "viewer/OpenedApp.h"

#include "base/Text.h"
#include "pages/FetchText.h"
#include "pages/RedirectTarget.h"

namespace viewer {

OpenedApp OpenedApp::read(std::string_view linkAddress, std::string_view storeSite,
                          const std::function<void(bool isWidgetApp)>& kindKnown) {
    const auto fetch = [](std::string_view address) { return FetchPage(address, "utf-8"); };
    OpenedApp app;
    app.Link = linkAddress;
    const auto entryPage = fetch(linkAddress);
    if (!entryPage) {
        app.outcome = Outcome::Unreachable;
        return app;
    }
    const std::string entry = ParseRedirectTarget(*entryPage);
    if (entry.empty()) {
        app.outcome = Outcome::NotAnApp;
        return app;
    }
    app.IsWidgetApp = isWidgetAddress(entry, storeSite);
    if (kindKnown) kindKnown(app.IsWidgetApp);
    const auto detailPage = fetch(entry);
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
