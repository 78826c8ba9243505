#pragma once
// The text of one INI file, kept line by line so that a change touches only the line it is about
// and every other byte (comments, blank lines, line ends, a UTF-8 byte-order mark) stays as it was.
//
// Lines are read the way the Windows private-profile functions read them: "[name]" starts a
// section, "key=value" is an entry, a line starting with ";" is a comment and any other line is
// ignored. Names match without regard to case, blanks around names and values (in the file and in
// the names asked for) do not count, and
// when a section or key occurs twice the first one wins.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace startup {

class IniDocument {
  public:
    explicit IniDocument(std::string_view bytes);

    // The value of key in the first section named section, blanks around it removed; nothing when
    // the section or the key is missing.
    std::optional<std::string> find(std::string_view section, std::string_view key) const;

    // Sets key to value in the first section named section: an existing entry's line becomes
    // "key=value" (keeping the key as the file spells it), a new entry goes after the section's last
    // non-blank line, and a missing section is added at the end of the file.
    void set(std::string_view section, std::string_view key, std::string_view value);

    // The whole file as bytes.
    std::string bytes() const;

  private:
    struct Line {
        std::string text;
        std::string end; // "\r\n", "\n", or "" for a last line without a line end
    };

    std::size_t firstSection(std::string_view section) const; // lines_.size() when missing
    std::size_t sectionEnd(std::size_t header) const;         // index of the next header or the end
    void insertLine(std::size_t at, std::string text);

    bool bom_ = false;
    std::string newline_; // the line end the file uses, for the lines we add
    std::vector<Line> lines_;
};

} // namespace startup
