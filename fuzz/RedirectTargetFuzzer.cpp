// Reads arbitrary entry pages: the target is empty or a web address taken whole from the page,
// without quotes.

#include "base/Url.h"
#include "pages/RedirectTarget.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view page(reinterpret_cast<const char*>(data), size);
    const auto target = ParseRedirectTarget(page);
    if (target.empty()) return 0;
    if (!base::isWebAddress(target) || target.find('"') != std::string::npos) std::abort();
    if (page.find("top.location.href = \"" + target + "\"") == std::string_view::npos) std::abort();
    return 0;
}
