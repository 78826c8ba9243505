#include "base/CodePageText.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <iconv.h>

namespace base {

namespace {
const auto kNoDescriptor = reinterpret_cast<void*>(static_cast<std::intptr_t>(-1));
}

CodePageText::CodePageText(const char* charset) : cd_(iconv_open("UTF-8", charset)) {}

CodePageText::~CodePageText() {
    if (cd_ != kNoDescriptor) iconv_close(static_cast<iconv_t>(cd_));
}

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::optional<std::string> CodePageText::toUtf8(std::string_view text) const {
    if (isAscii(text)) return std::string(text);
    if (cd_ == kNoDescriptor) return std::nullopt;
    auto* cd = static_cast<iconv_t>(cd_);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) return std::nullopt;
    }
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    if (iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) return std::nullopt;
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    return out;
}

} // namespace base
