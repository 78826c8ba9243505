#include "startup/PrivateProfile.h"

#include "base/AtomicFile.h"
#include "base/Text.h"
#include "startup/IniDocument.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>
#include <unistd.h>

namespace startup {

namespace fs = std::filesystem;

namespace {

// The whole file, or nothing when it is missing or cannot be read (a folder, no permission).
std::optional<std::string> readWholeFile(const fs::path& file) {
    std::error_code ec;
    if (file.empty() || !fs::is_regular_file(file, ec)) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string_view withoutQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

bool hasAny(std::string_view text, std::string_view chars) {
    return text.find_first_of(chars) != std::string_view::npos;
}

// Windows refuses to write a read-only file; a rename would replace it regardless, so ask first.
bool mayReplace(const fs::path& file, fs::perms perms) {
    return (perms & fs::perms::owner_write) != fs::perms::none && ::access(file.c_str(), W_OK) == 0;
}

int digitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return 99;
}

} // namespace

std::string getPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, std::int32_t bufferSize,
                                    const fs::path& file) {
    if (bufferSize <= 0) return {};
    std::optional<std::string> value;
    if (auto bytes = readWholeFile(file)) value = IniDocument(*bytes).find(section, key);
    // Windows cuts trailing blanks off the default.
    std::string_view text =
        value ? withoutQuotes(*value) : defaultValue.substr(0, defaultValue.find_last_not_of(" \t") + 1);
    return base::leftChars(text, bufferSize - 1);
}

std::int32_t profileTextToInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    unsigned radix = 10;
    if (i + 1 < text.size() && text[i] == '0') {
        switch (text[i + 1]) {
        case 'x':
            radix = 16;
            break;
        case 'o':
            radix = 8;
            break;
        case 'b':
            radix = 2;
            break;
        }
        if (radix != 10) i += 2;
    }
    std::uint32_t total = 0; // wraps at 32 bits as the Windows conversion does
    for (; i < text.size(); ++i) {
        auto digit = static_cast<unsigned>(digitValue(text[i]));
        if (digit >= radix) break;
        total = total * radix + digit;
    }
    return static_cast<std::int32_t>(negative ? 0u - total : total);
}

std::int32_t getPrivateProfileInt(std::string_view section, std::string_view key, std::int32_t defaultValue,
                                  const fs::path& file) {
    // Windows reads the value into a buffer of 30 characters first.
    std::string text = getPrivateProfileString(section, key, "", 30, file);
    return text.empty() ? defaultValue : profileTextToInt(text);
}

bool writePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               const fs::path& file) {
    using namespace std::string_view_literals;
    constexpr auto lineBreaks = "\r\n\0"sv;
    if (file.empty() || hasAny(section, lineBreaks) || hasAny(key, lineBreaks) || hasAny(value, lineBreaks) ||
        hasAny(key, "=") || hasAny(section, "]"))
        return false;
    std::error_code ec;
    // A linked settings file stays linked: the file the link points to is the one replaced.
    fs::path target = file;
    if (fs::is_symlink(fs::symlink_status(file, ec))) {
        target = fs::weakly_canonical(file, ec);
        if (ec) return false;
    }
    auto status = fs::status(target, ec);
    bool exists = fs::exists(status);
    if (exists && !mayReplace(target, status.permissions())) return false;
    std::optional<std::string> bytes = exists ? readWholeFile(target) : std::string();
    if (!bytes) return false;
    IniDocument doc(*bytes);
    doc.set(section, key, value);
    if (!base::writeFileAtomic(target, doc.bytes())) return false;
    if (exists) fs::permissions(target, status.permissions(), ec); // the new file keeps the old mode
    return true;
}

} // namespace startup
