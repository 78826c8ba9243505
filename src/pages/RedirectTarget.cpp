#include "pages/RedirectTarget.h"

#include "base/Url.h"
#include "pages/FetchText.h"

namespace {

constexpr std::string_view kAssignment = "top.location.href = \"";

} // namespace

std::string ParseRedirectTarget(std::string_view entryPage) {
    const auto at = entryPage.find(kAssignment);
    if (at == std::string_view::npos) return {};
    const auto rest = entryPage.substr(at + kAssignment.size());
    const auto quote = rest.find('"');
    if (quote == std::string_view::npos) return {};
    const std::string target(rest.substr(0, quote));
    return base::isWebAddress(target) ? target : std::string();
}

std::string ReadRedirectTarget(std::string_view entryAddress) {
    return ParseRedirectTarget(FetchText(entryAddress, "utf-8"));
}
