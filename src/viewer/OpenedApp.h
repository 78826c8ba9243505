#pragma once
// The app being opened from a catalogue page: its details and whether it is a movie app, read from
// the store before the viewer shows it, and whether it can be shown at all.

#include "pages/AppDetail.h"

#include <functional>
#include <string>
#include <string_view>

namespace viewer {

struct OpenedApp {
    enum class Outcome {
        Read,        // read from the store
        Kept,        // the store could not be reached; the details kept when it last opened
        Unreachable, // the store could not be reached (or did not answer in time)
        NotAnApp     // the store answered, but the link leads to no app
    };

    AppDetail CurrentApp;
    bool IsWidgetApp = false; // a movie app
    bool IsLocalFile = false; // a movie file of the player's own (see LocalMovie), never a store app
    std::string Link;         // the link it was read from; a page app keeps its data under it
    std::string Entry;        // the entry address the link led to, when read from the store
    Outcome outcome = Outcome::Read;

    // Whether the viewer may show it: with anything else it would open empty.
    bool opens() const { return outcome == Outcome::Read || outcome == Outcome::Kept; }

    // Follows the clicked link to the app's entry address and reads the details there. Fetches two
    // pages (three for a page app) and blocks while it does: call it off the user-interface thread.
    // kindKnown, when given, is called with IsWidgetApp as soon as the entry address is read, before
    // the details are, so that the caller can prepare the app's view meanwhile. An entry or detail
    // page that cannot be fetched gives Unreachable; an entry page without an entry address, or a
    // detail page with neither a name nor content, NotAnApp. likelyEntry, the web address the link
    // led to before, is fetched alongside the link, and its page taken for the details when the link
    // still leads there: an app opened again waits for one round trip to the store, not two.
    static OpenedApp read(std::string_view linkAddress, std::string_view storeSite,
                          const std::function<void(bool isWidgetApp)>& kindKnown = {},
                          std::string_view likelyEntry = {});
};

// Whether the entry address is one of the store's widget (movie app) pages: it contains the store
// site followed by "/widget".
bool isWidgetAddress(std::string_view entryAddress, std::string_view storeSite);

} // namespace viewer
