// Feeds arbitrary text as an update page's signature and version and arbitrary bytes as the new
// version's file to the signature check with the shipped key: the first line of the input is the
// signature, the second the version, the rest the file. Nothing may crash, and no input may verify
// (nobody here holds the private key).
#include "catalogue/UpdatePublicKey.h"
#include "catalogue/UpdateSignature.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const UpdateSignature checker(updatePublicKeyPem());
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string_view rest = input;
    const auto line = [&rest] {
        const auto end = rest.find('\n');
        const auto text = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        return text;
    };
    const auto signature = line();
    const auto version = line();
    if (checker.verify(version, rest, signature)) std::abort();
    return 0;
}
