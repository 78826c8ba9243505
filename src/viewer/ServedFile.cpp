#include "viewer/ServedFile.h"

#include "base/CodePageText.h"
#include "viewer/CodePageMovie.h"
#include "viewer/PlayerFiles.h"

namespace viewer {

namespace {

// Files larger than this are no text a movie loads; they pass as they are.
constexpr std::size_t kMaxTextBytes = 16u << 20;

} // namespace

bool isValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 0;
        char32_t point = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            point = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            point = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            point = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > bytes.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            point = (point << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and points beyond Unicode are no UTF-8.
        if ((length == 3 && point < 0x800) || (length == 4 && (point < 0x10000 || point > 0x10FFFF)) ||
            (point >= 0xD800 && point <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

std::optional<std::string> utf8FromChineseCodePage(std::string_view bytes) {
    if (bytes.size() > kMaxTextBytes || bytes.find('\0') != std::string_view::npos || isValidUtf8(bytes))
        return std::nullopt;
    return base::CodePageText("GB18030").toUtf8(bytes);
}

ServedFile servedFile(const std::filesystem::path& file, std::string bytes) {
    std::string type = contentTypeOf(file);
    if (type == "application/x-shockwave-flash") {
        if (auto movie = unicodeMovie(bytes)) bytes = std::move(*movie);
    } else if (auto text = utf8FromChineseCodePage(bytes)) {
        bytes = std::move(*text);
        type = "text/plain;charset=utf-8";
    }
    return {std::move(type), std::move(bytes)};
}

} // namespace viewer
