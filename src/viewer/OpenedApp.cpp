#include "viewer/OpenedApp.h"

#include "base/Text.h"
#include "pages/RedirectTarget.h"

namespace viewer {

OpenedApp OpenedApp::read(std::string_view linkAddress, std::string_view storeSite) {
    const std::string entry = ReadRedirectTarget(linkAddress);
    return {ReadAppDetail(entry), isWidgetAddress(entry, storeSite)};
}

bool isWidgetAddress(std::string_view entryAddress, std::string_view storeSite) {
    return base::contains(entryAddress, std::string(storeSite) + "/widget");
}

} // namespace viewer
