#include "viewer/MovieStream.h"

#include <algorithm>
#include <string_view>

namespace viewer {

namespace {

constexpr std::size_t kChunk = 16 << 10;

} // namespace

MovieStream::MovieStream(std::istream& in) : in_(in) {
    char header[8];
    if (!in_.read(header, sizeof header)) cannotRewrite();
    const std::string_view signature(header, 3);
    if (signature != "FWS" && signature != "CWS") cannotRewrite();
    compressed_ = signature == "CWS";
    version_ = static_cast<unsigned char>(header[3]);
    if (compressed_ && inflateInit(&zip_) != Z_OK) cannotRewrite();
}

MovieStream::~MovieStream() {
    if (compressed_) inflateEnd(&zip_);
}

std::string MovieStream::read(std::size_t n) {
    std::string out;
    while (out.size() < n) {
        const std::size_t at = out.size(), part = std::min(n - at, kChunk);
        out.resize(at + part);
        if (pull(out.data() + at, part) != part) cannotRewrite();
    }
    return out;
}

void MovieStream::skip(std::size_t n) {
    if (!compressed_) {
        if (!in_.seekg(static_cast<std::streamoff>(n), std::ios::cur)) cannotRewrite();
        return;
    }
    char scratch[kChunk];
    for (std::size_t part; n > 0; n -= part) {
        part = std::min(n, kChunk);
        if (pull(scratch, part) != part) cannotRewrite();
    }
}

std::size_t MovieStream::pull(char* out, std::size_t n) {
    if (!compressed_)
        return static_cast<std::size_t>(in_.read(out, static_cast<std::streamsize>(n)).gcount());
    zip_.next_out = reinterpret_cast<Bytef*>(out);
    zip_.avail_out = static_cast<uInt>(n);
    while (zip_.avail_out > 0 && !ended_) {
        if (zip_.avail_in == 0) {
            const auto got = in_.read(input_.data(), input_.size()).gcount();
            if (got == 0) break; // the file is cut short: the movie ends here
            zip_.next_in = reinterpret_cast<Bytef*>(input_.data());
            zip_.avail_in = static_cast<uInt>(got);
        }
        const int result = inflate(&zip_, Z_NO_FLUSH);
        if (result == Z_STREAM_END)
            ended_ = true;
        else if (result != Z_OK && !(result == Z_BUF_ERROR && zip_.avail_in == 0))
            cannotRewrite();
    }
    return n - zip_.avail_out;
}

} // namespace viewer
