// Reads arbitrary detail pages (the input up to its first NUL byte; the rest is the frame page)
// and checks what the reader promises: no crash, a record whatever the page, only web addresses
// fetched, and the cleaned texts' fixed parts.

#include "base/Url.h"
#include "pages/AppDetail.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto split = input.find('\0');
    const std::string_view page = input.substr(0, split);
    const std::string_view framePage = split == std::string_view::npos ? "" : input.substr(split + 1);

    int fetches = 0;
    const auto detail = ParseAppDetail(page, [&](std::string_view address) {
        require(base::isWebAddress(address));
        ++fetches;
        return std::string(framePage);
    });
    require(fetches <= 1);
    require(detail.Description.ends_with("     "));
    require(detail.Developer.starts_with("提供商："));
    require(detail.MovieFile.find('/') == std::string::npos);
    if (!detail.MovieFile.empty()) {
        require(detail.ContentUrl.ends_with(".swf") && detail.ContentUrl.ends_with(detail.MovieFile));
    } else if (!detail.ContentUrl.empty()) {
        require(base::isWebAddress(detail.ContentUrl));
        require(detail.ContentUrl.find('"') == std::string::npos);
    }
    for (const auto* field : {&detail.Name, &detail.Icon, &detail.Logo})
        require(field->size() <= page.size());

    require(CleanText(std::string(input)).ends_with("     "));
    return 0;
}
