#pragma once
// The INI access class of both programs: names one file, then reads and writes its keys through the
// private-profile functions. It keeps no handle and caches nothing.

#include <cstdint>
#include <string>
#include <string_view>

class IniFile {
  public:
    // Text of the last failure; cleared only by the file-named check of WriteString and ReadString.
    std::string ErrorMsg;

    // Names the file: the argument without leading and trailing spaces. The file need not exist.
    void SpecifyIni(std::string_view filePathName);

    // Writes key=Value into Section. False when no file is named ("没有指定 INI 文件") or the write
    // fails ("写入失败").
    bool WriteString(std::string_view Section, std::string_view key, std::string_view Value);

    // The value of key in Section cut to SIZE - 1 characters; "" when no file is named or the file,
    // section or key is missing.
    std::string ReadString(std::string_view Section, std::string_view key, std::int32_t SIZE);

    // The value as an integer. A missing key (or one that is empty) gives 0 and sets "不能读取"; a
    // key that really holds 0 gives 0 and leaves ErrorMsg alone.
    std::int32_t ReadInt(std::string_view Section, std::string_view key);

    const std::string& filePath() const { return path_; }

  private:
    bool fileNamed();

    std::string path_;
};
