#pragma once
// The app being opened from a catalogue page: its details and whether it is a movie app, read from
// the store before the viewer shows it.

#include "pages/AppDetail.h"

#include <string>
#include <string_view>

namespace viewer {

struct OpenedApp {
    AppDetail CurrentApp;
    bool IsWidgetApp = false; // a movie app

    // Follows the clicked link to the app's entry address and reads the details there. Fetches two
    // pages (three for a page app) and blocks while it does: call it off the user-interface thread.
    static OpenedApp read(std::string_view linkAddress, std::string_view storeSite);
};

// Whether the entry address is one of the store's widget (movie app) pages: it contains the store
// site followed by "/widget".
bool isWidgetAddress(std::string_view entryAddress, std::string_view storeSite);

} // namespace viewer
