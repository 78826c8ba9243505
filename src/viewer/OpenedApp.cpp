#include "viewer/OpenedApp.h"

#include "base/Text.h"
#include "pages/RedirectTarget.h"

namespace viewer {

OpenedApp OpenedApp::read(std::string_view linkAddress, std::string_view storeSite,
                          const std::function<void(bool isWidgetApp)>& kindKnown) {
    const std::string entry = ReadRedirectTarget(linkAddress);
    const bool isWidgetApp = isWidgetAddress(entry, storeSite);
    if (kindKnown) kindKnown(isWidgetApp);
    return {ReadAppDetail(entry), isWidgetApp};
}

bool isWidgetAddress(std::string_view entryAddress, std::string_view storeSite) {
    return base::contains(entryAddress, std::string(storeSite) + "/widget");
}

} // namespace viewer
