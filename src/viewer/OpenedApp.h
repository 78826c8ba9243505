#pragma once
// The app being opened from a catalogue page: its details and whether it is a movie app, read from
// the store before the viewer shows it.

#include "pages/AppDetail.h"

#include <functional>
#include <string>
#include <string_view>

namespace viewer {

struct OpenedApp {
    AppDetail CurrentApp;
    bool IsWidgetApp = false; // a movie app

    // Follows the clicked link to the app's entry address and reads the details there. Fetches two
    // pages (three for a page app) and blocks while it does: call it off the user-interface thread.
    // kindKnown, when given, is called with IsWidgetApp as soon as the entry address is read, before
    // the details are, so that the caller can prepare the app's view meanwhile.
    static OpenedApp read(std::string_view linkAddress, std::string_view storeSite,
                          const std::function<void(bool isWidgetApp)>& kindKnown = {});
};

// Whether the entry address is one of the store's widget (movie app) pages: it contains the store
// site followed by "/widget".
bool isWidgetAddress(std::string_view entryAddress, std::string_view storeSite);

} // namespace viewer
