#include "base/Url.h"

#include "base/Text.h"

namespace base {

namespace {

bool isControlOrSpace(unsigned char c) {
    return c <= 0x20;
}

bool needsEscape(unsigned char c) {
    switch (c) {
    case ' ':
    case '"':
    case '<':
    case '>':
    case '`':
    case '{':
    case '}':
    case 0x7F:
        return true;
    default:
        return c < 0x20 || c >= 0x80;
    }
}

// Offset of the first character after "scheme://host[:port]"; 0 when there is no "://".
std::size_t authorityEnd(std::string_view url) {
    const auto scheme = url.find("://");
    if (scheme == std::string_view::npos) return 0;
    const auto end = url.find_first_of("/?#", scheme + 3);
    return end == std::string_view::npos ? url.size() : end;
}

} // namespace

std::string normaliseUrl(std::string_view url) {
    while (!url.empty() && isControlOrSpace(static_cast<unsigned char>(url.front())))
        url.remove_prefix(1);
    while (!url.empty() && isControlOrSpace(static_cast<unsigned char>(url.back())))
        url.remove_suffix(1);
    std::string cleaned;
    for (char c : url)
        if (c != '\t' && c != '\n' && c != '\r') cleaned += c;

    static constexpr char kHex[] = "0123456789ABCDEF";
    const std::size_t keepUpTo = authorityEnd(cleaned);
    std::string out = cleaned.substr(0, keepUpTo);
    for (std::size_t i = keepUpTo; i < cleaned.size(); ++i) {
        const auto c = static_cast<unsigned char>(cleaned[i]);
        if (needsEscape(c)) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

bool isWebAddress(std::string_view address) {
    const auto startsWith = [&](std::string_view scheme) {
        return address.size() > scheme.size() && equalsNoCase(address.substr(0, scheme.size()), scheme);
    };
    return startsWith("http://") || startsWith("https://");
}

} // namespace base
