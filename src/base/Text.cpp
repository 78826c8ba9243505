#include "base/Text.h"

#include <cctype>

namespace base {

std::string fromFirst(std::string_view text, std::string_view marker) {
    auto at = text.find(marker);
    return std::string(at == std::string_view::npos ? text : text.substr(at));
}

std::string beforeFirst(std::string_view text, std::string_view marker) {
    return std::string(text.substr(0, text.find(marker)));
}

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(text);
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    for (auto at = text.find(from); at != std::string_view::npos; at = text.find(from, pos)) {
        out.append(text.substr(pos, at - pos));
        out.append(to);
        pos = at + from.size();
    }
    out.append(text.substr(pos));
    return out;
}

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

static std::string trimChars(std::string_view text, std::string_view chars) {
    auto first = text.find_first_not_of(chars);
    if (first == std::string_view::npos) return {};
    auto last = text.find_last_not_of(chars);
    return std::string(text.substr(first, last - first + 1));
}

std::string trimBlanks(std::string_view text) {
    return trimChars(text, " \t");
}

std::string trimSpaces(std::string_view text) {
    return trimChars(text, " ");
}

static bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::string leftChars(std::string_view text, long long count) {
    if (count <= 0) return {};
    std::size_t i = 0;
    for (long long n = 0; i < text.size() && n < count; ++n) {
        ++i;
        while (i < text.size() && isContinuationByte(text[i]))
            ++i;
    }
    return std::string(text.substr(0, i));
}

std::string withoutLastChar(std::string_view text) {
    return leftChars(text, static_cast<long long>(charCount(text)) - 1);
}

std::optional<std::string_view> afterMarker(std::string_view text, std::string_view marker) {
    const auto at = text.find(marker);
    if (at == std::string_view::npos || at + marker.size() >= text.size()) return std::nullopt;
    const auto rest = text.substr(at + marker.size());
    return rest.substr(leftChars(rest, 1).size());
}

std::size_t charCount(std::string_view text) {
    std::size_t n = 0;
    for (char c : text)
        if (!isContinuationByte(c)) ++n;
    return n;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

} // namespace base
