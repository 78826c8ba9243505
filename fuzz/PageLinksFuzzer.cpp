// Parses arbitrary paging-file text and checks that the link table never overflows.

#include "pages/PageLinks.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PageLinkTable table;
    const auto addresses = ParsePageLinks(std::string_view(reinterpret_cast<const char*>(data), size), table);
    if (table.PageLinkCount < 0 || table.PageLinkCount > 8) std::abort();
    if (addresses.next.size() > size || addresses.previous.size() > size) std::abort();
    for (const auto& link : table.PageLinks)
        if (link.Url.find('"') != std::string::npos) std::abort(); // an address ends at its quote
    return 0;
}
