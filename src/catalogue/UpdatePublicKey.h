#pragma once
// The maker's public key that new versions must be signed with, compiled in from the PEM file the
// build names (BRINDLE_UPDATE_PUBLIC_KEY; by default the key file beside this header). It lives in
// a library of its own (update_public_key), so only the program that ships links it.

#include <string_view>

std::string_view updatePublicKeyPem();
