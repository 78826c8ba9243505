#pragma once
// Strict decoding of text in a legacy code page (such as "GBK" or "GB18030", as iconv names them)
// to UTF-8: a text holding any byte sequence the code page does not define is refused as a whole,
// never patched with replacement characters, so that a caller can tell text of that code page
// from text of another.

#include <optional>
#include <string>
#include <string_view>

namespace base {

class CodePageText {
  public:
    explicit CodePageText(const char* charset);
    ~CodePageText();
    CodePageText(const CodePageText&) = delete;
    CodePageText& operator=(const CodePageText&) = delete;

    // text as UTF-8, or nothing when it is not well-formed in the code page (or the code page is
    // unknown). Plain ASCII comes back as it is.
    std::optional<std::string> toUtf8(std::string_view text) const;

  private:
    void* cd_; // the iconv descriptor; (void*)-1 when the code page is unknown
};

// Whether text has no byte above 0x7F.
bool isAscii(std::string_view text);

} // namespace base
