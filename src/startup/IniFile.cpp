#include "startup/IniFile.h"

#include "base/Text.h"
#include "startup/PrivateProfile.h"

void IniFile::SpecifyIni(std::string_view filePathName) {
    path_ = base::trimSpaces(filePathName);
}

bool IniFile::fileNamed() {
    ErrorMsg = path_.empty() ? "没有指定 INI 文件" : "";
    return !path_.empty();
}

bool IniFile::WriteString(std::string_view Section, std::string_view key, std::string_view Value) {
    if (!fileNamed()) return false;
    if (startup::writePrivateProfileString(Section, key, Value, path_)) return true;
    ErrorMsg = "写入失败";
    return false;
}

std::string IniFile::ReadString(std::string_view Section, std::string_view key, std::int32_t SIZE) {
    if (!fileNamed()) return {};
    return startup::getPrivateProfileString(Section, key, "", SIZE, path_);
}

std::int32_t IniFile::ReadInt(std::string_view Section, std::string_view key) {
    auto value = startup::getPrivateProfileInt(Section, key, 0, path_);
    if (value != 0) return value;
    // 0 may be the default: a second read with another default tells a missing key from a real 0.
    value = startup::getPrivateProfileInt(Section, key, 1, path_);
    if (value == 1) {
        ErrorMsg = "不能读取";
        return 0;
    }
    return value;
}
