#pragma once
// Percent captions of the progress bar, formatted the way the classic "0%", "0.0%" and "0.00%"
// number patterns do it: the number is first taken to 15 significant decimal digits, then multiplied
// by 100 and rounded to the pattern's decimals with halves going away from zero (0.125 with "0%" is
// "13%", -0.125 is "-13%"). A negative number that rounds to zero keeps its sign ("-0%"). There is
// no digit grouping.

#include <string>

namespace progressbar {

// number as a percentage with 0, 1 or 2 decimals; a number that is not finite gives an empty text.
std::string formatPercent(double number, int decimals);

} // namespace progressbar
