#include "viewer/MovieBytes.h"

#include <algorithm>
#include <zlib.h>

namespace viewer {

namespace {

// Movies are decompressed up to this size at most.
constexpr std::uint32_t kMaxMovieSize = 256u << 20;

} // namespace

std::string movieBody(std::string_view movie, std::size_t limit) {
    if (movie.size() < 8) cannotRewrite();
    MovieBytes header(movie.substr(4, 4));
    const std::uint32_t length = header.u32();
    if (movie[0] == 'F') return std::string(movie.substr(8, limit));
    // zlib packs at most about 1032 bytes into one: a length beyond that is no real one.
    const std::uint64_t most =
        std::min<std::uint64_t>(kMaxMovieSize, (movie.size() - 8) * std::uint64_t{1032} + 64);
    if (length > most || length < 8) cannotRewrite();
    std::string out(std::min<std::size_t>(length - 8, limit), '\0');
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) cannotRewrite();
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(movie.data() + 8));
    stream.avail_in = static_cast<uInt>(movie.size() - 8);
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&stream, Z_FINISH);
    out.resize(out.size() - stream.avail_out);
    inflateEnd(&stream);
    // A movie cut short still plays as far as it goes; only a broken stream stops it.
    if (result != Z_STREAM_END && result != Z_BUF_ERROR && result != Z_OK) cannotRewrite();
    return out;
}

void put16(std::string& out, std::uint32_t value) {
    if (value > 0xFFFF) cannotRewrite();
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

void patch16(std::string& out, std::size_t at, std::uint32_t value) {
    if (value > 0xFFFF) cannotRewrite();
    out[at] = static_cast<char>(value & 0xFF);
    out[at + 1] = static_cast<char>(value >> 8);
}

} // namespace viewer
