// Feeds arbitrary text as an update page's signature and arbitrary bytes as the new version to the
// signature check with the shipped key: the first line of the input is the signature, the rest the
// file. Nothing may crash, and no input may verify (nobody here holds the private key).
#include "catalogue/UpdatePublicKey.h"
#include "catalogue/UpdateSignature.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const UpdateSignature checker(updatePublicKeyPem());
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto lineEnd = input.find('\n');
    const auto signature = input.substr(0, lineEnd);
    const auto bytes = lineEnd == std::string_view::npos ? std::string_view() : input.substr(lineEnd + 1);
    if (checker.verify(bytes, signature)) std::abort();
    return 0;
}
