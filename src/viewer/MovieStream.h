#pragma once
// A Flash movie read in order from a stream, past its 8-byte header: the bytes of a compressed
// ("CWS") movie inflated as they are read, through a small buffer, so that looking through a large
// movie holds neither the file nor its inflated bytes. Parts not needed are skipped: an uncompressed
// movie's by seeking past them, a compressed one's by inflating them into that buffer.

#include "viewer/MovieBytes.h"

#include <array>
#include <cstddef>
#include <istream>
#include <string>
#include <zlib.h>

namespace viewer {

class MovieStream {
  public:
    // Throws CannotRewrite for anything that does not start as an "FWS" or "CWS" movie.
    explicit MovieStream(std::istream& in);
    ~MovieStream();
    MovieStream(const MovieStream&) = delete;
    MovieStream& operator=(const MovieStream&) = delete;

    // The next n bytes, and skipping them. Both throw CannotRewrite when the movie ends before them
    // or its compressed stream is broken; memory grows with the bytes there are, not with n.
    std::string read(std::size_t n);
    void skip(std::size_t n);
    // The movie's version, from its header.
    int version() const { return version_; }

  private:
    // Up to n bytes into out; fewer only at the movie's end.
    std::size_t pull(char* out, std::size_t n);

    std::istream& in_;
    int version_ = 0;
    bool compressed_ = false;
    bool ended_ = false;
    z_stream zip_{};
    std::array<char, 16 << 10> input_{};
};

} // namespace viewer
