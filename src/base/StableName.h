#pragma once
// File and folder names derived from a text (an app's link), the same on every machine and in
// every build, so that what was kept for the text is found again in the next run.

#include <string>
#include <string_view>

namespace base {

// 16 lower-case hex digits of the text's 64-bit FNV-1a hash: safe as a file or folder name
// anywhere. Different texts may share a name; whoever keeps the text beside settles a clash.
std::string stableName(std::string_view text);

// Whether name has the form stableName() gives.
bool isStableName(std::string_view name);

} // namespace base
