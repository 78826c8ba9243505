#pragma once
// What the maker's signature on an update covers: the version that the update page announces
// together with the file. A signature made for one version therefore never verifies for another,
// so an old signed release cannot be announced again as a newer one.
//
// The signed message is, byte by byte: the 14 bytes "Brindle update" and a NUL, the version text
// exactly as the page's Version key reads (UTF-8, the blanks around it removed), one NUL, and then
// every byte of the file.

#include <string>
#include <string_view>

namespace catalogue {

std::string signedUpdateMessage(std::string_view version, std::string_view fileBytes);

} // namespace catalogue
