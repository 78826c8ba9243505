#pragma once
// Text in the Chinese code page (GBK) of old movies, from UTF-8, for writing such movies.

#include <iconv.h>
#include <stdexcept>
#include <string>

inline std::string gbkBytes(const std::string& utf8) {
    iconv_t cd = iconv_open("GBK", "UTF-8");
    std::string out(utf8.size() * 2, '\0');
    char* in = const_cast<char*>(utf8.data());
    char* to = out.data();
    std::size_t inLeft = utf8.size(), outLeft = out.size();
    const bool ok = iconv(cd, &in, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    if (!ok) throw std::runtime_error("not GBK: " + utf8);
    out.resize(out.size() - outLeft);
    return out;
}
