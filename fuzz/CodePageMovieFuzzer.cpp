// Old movies from the store are rewritten before they play: any bytes as a movie are either left
// alone or come out as an uncompressed movie of the same version whose header gives its true
// length, in both modes, and never crash the rewriting. Every movie is also looked through for its
// scaling as it starts, which must not crash either.

#include "viewer/CodePageMovie.h"
#include "viewer/UnscaledMovie.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string_view>

namespace {

void check(std::string_view original, const std::optional<std::string>& movie) {
    if (!movie) return;
    if (movie->size() < 8 || movie->compare(0, 3, "FWS") != 0 || (*movie)[3] != original[3]) std::abort();
    const auto byte = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>((*movie)[i]));
    };
    if ((byte(4) | byte(5) << 8 | byte(6) << 16 | byte(7) << 24) != movie->size()) std::abort();
    // A rewritten movie has nothing left to rewrite.
    if (viewer::unicodeMovie(*movie)) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    check(bytes, viewer::unicodeMovie(bytes));
    check(bytes, viewer::unicodeMovie(bytes, viewer::CodePageRewrite::Always));
    std::istringstream movie{std::string(bytes)};
    viewer::startsUnscaled(movie);
    return 0;
}
