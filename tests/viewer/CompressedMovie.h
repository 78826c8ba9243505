#pragma once
// An uncompressed movie ("FWS") as the same movie compressed with zlib ("CWS").

#include <string>
#include <zlib.h>

inline std::string compressed(const std::string& movie) {
    uLongf size = compressBound(static_cast<uLong>(movie.size() - 8));
    std::string out(size, '\0');
    compress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(movie.data() + 8),
             static_cast<uLong>(movie.size() - 8));
    out.resize(size);
    return "CWS" + movie.substr(3, 5) + out;
}
