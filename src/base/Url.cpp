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

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

std::string decodePercent(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int high = text[i] == '%' && i + 2 < text.size() ? hexValue(text[i + 1]) : -1;
        const int low = high >= 0 ? hexValue(text[i + 2]) : -1;
        if (low >= 0) {
            out += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string encodePathSegment(std::string_view segment) {
    static constexpr std::string_view kept = "-._~!$&'()*+,;=:@";
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : segment) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
            kept.find(c) != std::string_view::npos) {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        }
    }
    return out;
}

} // namespace base
