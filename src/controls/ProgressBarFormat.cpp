#include "controls/ProgressBarFormat.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace progressbar {

namespace {

constexpr int kSignificantDigits = 15;

// Adds one to a string of decimal digits ("199" -> "200", "99" -> "100", "" -> "1").
void incrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

} // namespace

std::string formatPercent(double number, int decimals) {
    if (!std::isfinite(number)) return {};

    // "d.dddddddddddddde+XX": the 15 significant digits and the decimal exponent of the first one.
    char text[40];
    std::snprintf(text, sizeof text, "%.*e", kSignificantDigits - 1, std::fabs(number));
    std::string digits = std::string(1, text[0]) + std::string(text + 2, kSignificantDigits - 1);
    int exponent = std::atoi(text + kSignificantDigits + 2) + 2; // times 100 for the percent

    // Keep the digits down to the pattern's last decimal; the first dropped digit decides the rounding.
    int kept = exponent + 1 + decimals;
    std::string scaled; // the rounded number times 10^decimals, as digits
    bool roundUp = false;
    if (kept >= kSignificantDigits) {
        scaled = digits + std::string(kept - kSignificantDigits, '0');
    } else if (kept >= 0) {
        scaled = digits.substr(0, kept);
        roundUp = digits[kept] >= '5';
    }
    if (roundUp) incrementDigits(scaled);
    if (scaled.size() < static_cast<std::size_t>(decimals) + 1)
        scaled.insert(0, decimals + 1 - scaled.size(), '0');

    auto integerDigits = scaled.size() - decimals;
    auto firstNonZero = scaled.find_first_not_of('0');
    if (firstNonZero == std::string::npos || firstNonZero >= integerDigits) firstNonZero = integerDigits - 1;

    std::string result = number < 0 ? "-" : "";
    result += scaled.substr(firstNonZero, integerDigits - firstNonZero);
    if (decimals > 0) result += "." + scaled.substr(integerDigits);
    return result + "%";
}

} // namespace progressbar
