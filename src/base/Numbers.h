#pragma once
// Number rules of the settings and skin files.

#include <cstdint>
#include <optional>
#include <string_view>

namespace base {

// The leading decimal number of text: optional blanks, sign, digits, one decimal point, digits and
// an exponent. "255abc" gives 255, "1.0.0" gives 1.0, text that does not start with a number gives 0.
double leadingNumber(std::string_view text);

// Nearest integer, halves to the even neighbour (12.5 -> 12, 13.5 -> 14), saturated to 32 bits.
std::int32_t roundHalfEven(double value);

// leadingNumber then roundHalfEven: the conversion of colour and version texts.
std::int32_t leadingInt(std::string_view text);

// A whole text as a 32-bit integer: blanks around it ignored, a decimal number with fraction rounded
// halves to even, or "&H" with up to 8 hexadecimal digits (taken as a 32-bit pattern, so
// "&H8000000F" is negative). Empty text, other text and values out of range give nothing.
std::optional<std::int32_t> toInt32(std::string_view text);

} // namespace base
