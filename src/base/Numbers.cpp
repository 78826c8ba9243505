#include "base/Numbers.h"

#include "base/Text.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace base {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Length of the decimal number at the start of text (after blanks were skipped), 0 when none.
std::size_t numberLength(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i]))
        ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j]))
                ++j;
            i = j;
        }
    }
    return i;
}

double parseDecimal(std::string_view number) {
    return std::strtod(std::string(number).c_str(), nullptr);
}

} // namespace

double leadingNumber(std::string_view text) {
    auto start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) return 0;
    text.remove_prefix(start);
    auto len = numberLength(text);
    return len == 0 ? 0 : parseDecimal(text.substr(0, len));
}

std::int32_t roundHalfEven(double value) {
    if (std::isnan(value)) return 0;
    double r = std::nearbyint(value); // default rounding mode: to nearest, ties to even
    if (r >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    if (r <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(r);
}

std::int32_t leadingInt(std::string_view text) {
    return roundHalfEven(leadingNumber(text));
}

std::optional<std::int32_t> toInt32(std::string_view text) {
    std::string t = trimBlanks(text);
    if (t.size() > 2 && t[0] == '&' && (t[1] == 'H' || t[1] == 'h')) {
        std::string_view hex = std::string_view(t).substr(2);
        if (hex.size() > 8) return std::nullopt;
        std::uint32_t v = 0;
        for (char c : hex) {
            if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
            v = v * 16 +
                static_cast<std::uint32_t>(std::isdigit(static_cast<unsigned char>(c))
                                               ? c - '0'
                                               : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10);
        }
        return static_cast<std::int32_t>(v);
    }
    if (t.empty() || numberLength(t) != t.size()) return std::nullopt;
    double r = std::nearbyint(parseDecimal(t));
    if (!(r >= std::numeric_limits<std::int32_t>::min() && r <= std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    return static_cast<std::int32_t>(r);
}

} // namespace base
