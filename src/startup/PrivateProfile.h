#pragma once
// Our replacement of the Windows private-profile functions (GetPrivateProfileStringA,
// GetPrivateProfileIntA, WritePrivateProfileStringA) over a file path. Files are UTF-8 text, with
// or without a byte-order mark, with CRLF or LF line ends. Every call reads the file anew; a write
// replaces the whole file atomically. Nothing is cached and no handle stays open.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace startup {

// The value of key in section, or defaultValue when the file, section or key is missing. Blanks
// around the value are removed and so is one pair of matching single or double quotes around it.
// bufferSize counts characters including the terminator Windows keeps room for: at most
// bufferSize - 1 characters (UTF-8 code points, never half of one) come back; nothing when
// bufferSize <= 0.
std::string getPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, std::int32_t bufferSize,
                                    const std::filesystem::path& file);

// The value of key read as an integer the way Windows does: blanks skipped, an optional sign, a
// "0x" (hexadecimal), "0o" (octal) or "0b" (binary) prefix, then the leading digits; the number wraps
// at 32 bits. Text without digits gives 0; a missing or empty value gives defaultValue.
std::int32_t getPrivateProfileInt(std::string_view section, std::string_view key, std::int32_t defaultValue,
                                  const std::filesystem::path& file);

// Writes key=value into section, creating the file, the section or the key when missing and keeping
// the rest of the file as it was. False when the file cannot be written (missing folder, read-only
// file, a folder in its place) and when a name or the value would break the file's line structure
// (a line break or NUL anywhere, "=" in the key, "]" in the section).
bool writePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               const std::filesystem::path& file);

// The integer rule of getPrivateProfileInt applied to text.
std::int32_t profileTextToInt(std::string_view text);

} // namespace startup
