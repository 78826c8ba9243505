#include "viewer/ServedFile.h"

#include "base/CodePageText.h"
#include "viewer/CodePageMovie.h"
#include "viewer/PlayerFiles.h"

namespace viewer {

namespace {

// Files larger than this are no text a movie loads; they pass as they are.
constexpr std::size_t kMaxTextBytes = 16u << 20;

// Variables in the Chinese code page (name=value&...) as a movie of version 5 or older reads them:
// the names as they are, which the player reads as Latin text as it does the names in the movie
// (its text fields' variables), and the values in UTF-8 with each byte beyond ASCII escaped. The
// code page's characters never hold the bytes of "&" and "=".
std::string loadedVariables(std::string_view gbk) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const base::CodePageText codePage("GB18030");
    std::string out;
    for (std::size_t start = 0; start <= gbk.size();) {
        const std::size_t end = std::min(gbk.find('&', start), gbk.size());
        const std::string_view pair = gbk.substr(start, end - start);
        const std::size_t equals = std::min(pair.find('='), pair.size());
        out += pair.substr(0, equals);
        for (const char c : codePage.toUtf8(pair.substr(equals)).value_or("")) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x80)
                out += c;
            else
                out += {'%', kHex[byte >> 4], kHex[byte & 0xF]};
        }
        if (end < gbk.size()) out += '&';
        start = end + 1;
    }
    return out;
}

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

int movieVersion(std::string_view header) {
    if (header.size() < 4 || (header.substr(0, 3) != "FWS" && header.substr(0, 3) != "CWS")) return 0;
    return static_cast<unsigned char>(header[3]);
}

ServedFile servedFile(const std::filesystem::path& file, std::string bytes, int movieVersion) {
    std::string type = contentTypeOf(file);
    if (type == "application/x-shockwave-flash") {
        if (auto movie = unicodeMovie(bytes)) bytes = std::move(*movie);
    } else if (auto text = utf8FromChineseCodePage(bytes)) {
        const auto first = text->find_first_not_of(" \t\r\n");
        const bool xml = first != std::string::npos && (*text)[first] == '<';
        bytes = movieVersion > 0 && movieVersion <= 5 && !xml ? loadedVariables(bytes) : std::move(*text);
        type = "text/plain;charset=utf-8";
    }
    return {std::move(type), std::move(bytes)};
}

} // namespace viewer
