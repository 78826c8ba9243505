#include "startup/IniDocument.h"

#include "base/Text.h"

namespace startup {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t\r";

std::string_view trim(std::string_view text) {
    auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// What one line is, with views into its text.
struct LineMeaning {
    enum Kind { Blank, Ignored, Header, Entry } kind = Ignored;
    std::string_view name;  // section name or key
    std::string_view value; // entry value
};

LineMeaning meaningOf(std::string_view text) {
    std::string_view t = trim(text);
    if (t.empty()) return {LineMeaning::Blank, {}, {}};
    if (t.front() == ';') return {};
    if (t.front() == '[') {
        auto close = t.rfind(']');
        if (close != std::string_view::npos) return {LineMeaning::Header, trim(t.substr(1, close - 1)), {}};
    }
    auto eq = t.find('=');
    if (eq == std::string_view::npos) return {};
    return {LineMeaning::Entry, trim(t.substr(0, eq)), trim(t.substr(eq + 1))};
}

} // namespace

IniDocument::IniDocument(std::string_view bytes) {
    if (bytes.substr(0, kBom.size()) == kBom) {
        bom_ = true;
        bytes.remove_prefix(kBom.size());
    }
    while (!bytes.empty()) {
        auto lf = bytes.find('\n');
        if (lf == std::string_view::npos) {
            lines_.push_back({std::string(bytes), ""});
            break;
        }
        bool crlf = lf > 0 && bytes[lf - 1] == '\r';
        auto textEnd = crlf ? lf - 1 : lf;
        lines_.push_back({std::string(bytes.substr(0, textEnd)), crlf ? "\r\n" : "\n"});
        if (newline_.empty()) newline_ = lines_.back().end;
        bytes.remove_prefix(lf + 1);
    }
    if (newline_.empty()) newline_ = "\r\n";
}

std::size_t IniDocument::firstSection(std::string_view section) const {
    section = trim(section);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        auto m = meaningOf(lines_[i].text);
        if (m.kind == LineMeaning::Header && base::equalsNoCase(m.name, section)) return i;
    }
    return lines_.size();
}

std::size_t IniDocument::sectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < lines_.size() && meaningOf(lines_[i].text).kind != LineMeaning::Header)
        ++i;
    return i;
}

std::optional<std::string> IniDocument::find(std::string_view section, std::string_view key) const {
    key = trim(key);
    auto header = firstSection(section);
    if (header == lines_.size()) return std::nullopt;
    auto end = sectionEnd(header);
    for (auto i = header + 1; i < end; ++i) {
        auto m = meaningOf(lines_[i].text);
        if (m.kind == LineMeaning::Entry && base::equalsNoCase(m.name, key)) return std::string(m.value);
    }
    return std::nullopt;
}

void IniDocument::insertLine(std::size_t at, std::string text) {
    // The line before a new one needs a line end of its own.
    if (at > 0 && lines_[at - 1].end.empty()) lines_[at - 1].end = newline_;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(text), newline_});
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    section = trim(section);
    key = trim(key);
    std::string entry = std::string(key) + "=" + std::string(value);
    auto header = firstSection(section);
    if (header == lines_.size()) {
        insertLine(lines_.size(), "[" + std::string(section) + "]");
        insertLine(lines_.size(), std::move(entry));
        return;
    }
    auto end = sectionEnd(header);
    auto lastFilled = header;
    for (auto i = header + 1; i < end; ++i) {
        auto m = meaningOf(lines_[i].text);
        if (m.kind == LineMeaning::Entry && base::equalsNoCase(m.name, key)) {
            lines_[i].text = std::string(m.name) + "=" + std::string(value);
            return;
        }
        if (m.kind != LineMeaning::Blank) lastFilled = i;
    }
    insertLine(lastFilled + 1, std::move(entry));
}

std::string IniDocument::bytes() const {
    std::string out(bom_ ? kBom : std::string_view{});
    for (const auto& line : lines_)
        out += line.text + line.end;
    return out;
}

} // namespace startup
