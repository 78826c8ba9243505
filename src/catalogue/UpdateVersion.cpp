#include "catalogue/UpdateVersion.h"

#include "base/Numbers.h"

namespace catalogue {

std::string ownVersionText() {
    return std::to_string(BRINDLE_VERSION_MAJOR) + "." + std::to_string(BRINDLE_VERSION_MINOR) + "." +
           std::to_string(BRINDLE_VERSION_PATCH);
}

std::int32_t versionNumber(std::string_view text) {
    return base::leadingInt(text);
}

bool updateDue(std::string_view publishedVersion, std::string_view ownVersion) {
    return versionNumber(publishedVersion) > versionNumber(ownVersion);
}

} // namespace catalogue
