#include "catalogue/UpdateMessage.h"

namespace catalogue {

std::string signedUpdateMessage(std::string_view version, std::string_view fileBytes) {
    static constexpr std::string_view kContext{"Brindle update\0", 15};
    std::string message;
    message.reserve(kContext.size() + version.size() + 1 + fileBytes.size());
    message += kContext;
    message += version;
    message += '\0';
    message += fileBytes;
    return message;
}

} // namespace catalogue
