// The update key of the tests' build of Brindle: the PEM file update-public-key.pem in its
// application folder, read once at start, so that every test run signs with a key pair of its own.
// The shipped program has its key compiled in instead.
#include "base/AppFolder.h"
#include "catalogue/UpdatePublicKey.h"

#include <fstream>
#include <iterator>
#include <string>

std::string_view updatePublicKeyPem() {
    static const std::string pem = [] {
        std::ifstream in(base::applicationFolder() / "update-public-key.pem", std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }();
    return pem;
}
