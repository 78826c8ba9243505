#include "viewer/CodePageMovie.h"

#include "base/CodePageText.h"
#include "viewer/ActionCode.h"
#include "viewer/MovieBytes.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <vector>

namespace viewer {

namespace {

// Tag codes of the tags that hold strings or other tags.
enum : std::uint16_t {
    kDefineButton = 7,
    kDoAction = 12,
    kDefineFontInfo = 13,
    kPlaceObject2 = 26,
    kDefineButton2 = 34,
    kDefineEditText = 37,
    kDefineSprite = 39,
    kFrameLabel = 43,
    kDefineFont2 = 48,
    kExportAssets = 56,
    kImportAssets = 57,
    kDoInitAction = 59,
    kDefineFontInfo2 = 62,
};

// The characters of UTF-8 text as UTF-16 units (the code page holds no character beyond them).
std::u16string utf16(std::string_view utf8) {
    std::u16string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t point = length == 1 ? lead : lead & (0x3F >> (length - 1));
        for (int k = 1; k < length && i + k < utf8.size(); ++k)
            point = point << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        if (point > 0xFFFF) cannotRewrite();
        out += static_cast<char16_t>(point);
        i += static_cast<std::size_t>(length);
    }
    return out;
}

// Text shown as the HTML of a text field: markup characters escaped, every character beyond ASCII
// as its number, so that the player, which reads the field's bytes as Latin text, shows it.
std::string html(std::string_view utf8) {
    std::string out;
    for (const char16_t unit : utf16(utf8)) {
        if (unit == '<')
            out += "&lt;";
        else if (unit == '>')
            out += "&gt;";
        else if (unit == '&')
            out += "&amp;";
        else if (unit < 0x80)
            out += static_cast<char>(unit);
        else
            out += "&#" + std::to_string(static_cast<unsigned>(unit)) + ';';
    }
    return out;
}

// Walks a movie's tags twice: first to learn the names the player reads from tags and function
// headers (and that every string is of the code page), then to write the movie anew.
class Rewriter : public ActionCode::Strings {
  public:
    explicit Rewriter(CodePageRewrite rewrite) : always_(rewrite == CodePageRewrite::Always) {}

    bool changedText() const { return changedText_; }
    void startWriting() { collecting_ = false; }

    // A sequence of tags up to the end tag (or the end of the bytes), rewritten.
    std::string tags(std::string_view bytes) {
        MovieBytes in(bytes);
        std::string out;
        while (!in.atEnd()) {
            const std::size_t start = in.pos();
            const std::uint16_t header = in.u16();
            const std::uint16_t code = header >> 6;
            const bool longForm = (header & 0x3F) == 0x3F;
            const std::uint32_t length = longForm ? in.u32() : header & 0x3F;
            const std::string_view body = in.bytes(length);
            const std::optional<std::string> rewritten = tag(code, body);
            if (!rewritten || *rewritten == body) {
                out += bytes.substr(start, in.pos() - start);
            } else if (!longForm && rewritten->size() < 0x3F) {
                put16(out,
                      static_cast<std::uint32_t>(code) << 6 | static_cast<std::uint32_t>(rewritten->size()));
                out += *rewritten;
            } else {
                put16(out, static_cast<std::uint32_t>(code) << 6 | 0x3F);
                put32(out, static_cast<std::uint32_t>(rewritten->size()));
                out += *rewritten;
            }
            if (code == 0) break;
        }
        // Whatever follows the end tag is kept as it is.
        out += in.rest();
        return out;
    }

    void name(std::string_view text) override { names_.emplace(folded(checked(text))); }

    void pool(const std::vector<std::string_view>& entries) override {
        if (!collecting_) return;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (base::isAscii(checked(entries[i]))) continue;
            if (nonAsciiConstants_.size() <= i) nonAsciiConstants_.resize(i + 1);
            nonAsciiConstants_[i] = true;
        }
    }

    // A pushed string is built unless it is plain ASCII (and not all strings are to be built) or
    // the player may compare it with a name it reads from a tag or a function's header, which it
    // reads as Latin text: a name, the start of one (names made by adding a number), or a name
    // within a path.
    std::optional<std::u16string> built(std::string_view pushed) override {
        if (collecting_) checked(pushed);
        if (collecting_ || pushed.empty() || (!always_ && base::isAscii(pushed)) || isName(pushed))
            return std::nullopt;
        changedText_ = changedText_ || !base::isAscii(pushed);
        return utf16(utf8(pushed));
    }
    bool buildsAscii() const override { return always_; }

    // Left as it is, a constant is read right only when no pool has text beyond ASCII in its place.
    void uncertainConstant(std::uint16_t index) override {
        if (!collecting_ && index < nonAsciiConstants_.size() && nonAsciiConstants_[index]) cannotRewrite();
    }

  private:
    std::string utf8(std::string_view gbk) const {
        auto text = gbk_.toUtf8(gbk);
        if (!text) cannotRewrite();
        return std::move(*text);
    }
    // Strings beyond ASCII must all be of the code page, or the movie is not in it.
    std::string_view checked(std::string_view text) const {
        if (collecting_ && !base::isAscii(text)) utf8(text);
        return text;
    }

    // Names ignore the case of ASCII letters in these versions (the player compares them as Latin
    // text, so the bytes of a Chinese character fold alike).
    static std::string folded(std::string_view text) {
        std::string out(text);
        for (char& c : out)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return out;
    }

    bool isName(std::string_view pushed) const {
        const std::string lower = folded(pushed);
        const std::string_view text = lower;
        const auto after = names_.lower_bound(text);
        if (after != names_.end() && after->compare(0, text.size(), text) == 0) return true;
        for (std::size_t start = 0; start <= text.size();) {
            const std::size_t end = std::min(text.find_first_of("./:", start), text.size());
            if (end > start && names_.count(text.substr(start, end - start))) return true;
            start = end + 1;
        }
        return false;
    }

    std::string actions(std::string_view code) { return ActionCode::rewritten(code, *this); }
    void cstring(MovieBytes& in) {
        const std::string_view name = in.cstring();
        if (collecting_) names_.emplace(folded(checked(name)));
    }

    // The tag's body rewritten, or nothing for a tag left as it is.
    std::optional<std::string> tag(std::uint16_t code, std::string_view body) {
        MovieBytes in(body);
        std::string out;
        switch (code) {
        case kDoAction:
            return actions(body);
        case kDoInitAction:
        case kDefineSprite:
            out += in.bytes(code == kDefineSprite ? 4 : 2); // the sprite (and its frame count)
            out += code == kDefineSprite ? tags(in.rest()) : actions(in.rest());
            return out;
        case kDefineButton:
            button(in, out);
            return out;
        case kDefineButton2:
            button2(in, out);
            return out;
        case kPlaceObject2:
            placeObject2(in, out);
            return out;
        case kDefineEditText:
            editText(in, out);
            return out;
        case kFrameLabel:
            cstring(in);
            break;
        case kExportAssets:
        case kImportAssets: {
            if (code == kImportAssets) checked(in.cstring()); // the movie's address
            for (int count = in.u16(); count > 0; --count) {
                in.bytes(2);
                cstring(in);
            }
            break;
        }
        case kDefineFont2:
            in.bytes(4); // id, flags, language
            checked(in.bytes(in.u8()));
            break;
        case kDefineFontInfo:
        case kDefineFontInfo2:
            in.bytes(2);
            checked(in.bytes(in.u8()));
            break;
        default:
            break;
        }
        return std::nullopt;
    }

    void button(MovieBytes& in, std::string& out) {
        const std::size_t start = in.pos();
        in.u16();              // id
        while (in.u8() != 0) { // a record's flags; none ends the records
            in.bytes(4);       // character, depth
            in.skipMatrix();
        }
        out += in.since(start);
        out += actions(in.rest());
    }

    void button2(MovieBytes& in, std::string& out) {
        out += in.bytes(3); // id, flags
        const std::uint16_t actionOffset = in.u16();
        put16(out, actionOffset);
        if (actionOffset == 0) {
            out += in.rest();
            return;
        }
        if (actionOffset < 2) cannotRewrite();
        out += in.bytes(actionOffset - 2u); // the button's records
        for (bool last = false; !last;) {
            const std::uint16_t size = in.u16();
            last = size == 0;
            if (!last && size < 4) cannotRewrite();
            const std::string_view condition = in.bytes(2);
            const std::string code = actions(last ? in.rest() : in.bytes(size - 4u));
            put16(out, last ? 0 : static_cast<std::uint32_t>(code.size() + 4));
            out += condition;
            out += code;
        }
    }

    void placeObject2(MovieBytes& in, std::string& out) {
        const std::size_t start = in.pos();
        const std::uint8_t flags = in.u8();
        in.u16(); // depth
        if (flags & 0x02) in.u16();
        if (flags & 0x04) in.skipMatrix();
        if (flags & 0x08) in.skipColorTransform();
        if (flags & 0x10) in.u16(); // ratio
        if (flags & 0x20) cstring(in);
        if (flags & 0x40) in.u16(); // clip depth
        out += in.since(start);
        if (!(flags & 0x80)) {
            out += in.rest();
            return;
        }
        // The event flags (two bytes before version 6), of all events and then of each record.
        out += in.bytes(4); // reserved, all events
        for (;;) {
            const std::string_view events = in.bytes(2);
            out += events;
            if (events == std::string_view("\0\0", 2)) break;
            const std::string code = actions(in.bytes(in.u32()));
            put32(out, static_cast<std::uint32_t>(code.size()));
            out += code;
        }
        out += in.rest();
    }

    // A first text beyond ASCII shows as HTML of the same text. Only where nothing reads the HTML
    // back: a field without a variable, or one the user cannot type into (which the variable sets
    // and which only sets the variable with its first text, as it shows).
    void editText(MovieBytes& in, std::string& out) {
        const std::size_t start = in.pos();
        in.u16(); // id
        in.skipRect();
        const std::uint8_t flags = in.u8(), moreFlags = in.u8();
        const std::size_t moreFlagsAt = in.pos() - 1 - start;
        const bool hasFont = flags & 0x01, hasFontClass = moreFlags & 0x80;
        if (hasFont) in.u16();
        if (hasFontClass) in.cstring();
        if (hasFont || hasFontClass) in.u16(); // height
        if (flags & 0x04) in.bytes(4);         // colour
        if (flags & 0x02) in.u16();            // maximum length
        std::uint8_t align = 0;
        if (moreFlags & 0x20) align = static_cast<std::uint8_t>(in.bytes(9)[0]);
        const std::size_t head = in.pos() - start;
        const std::string_view variable = in.cstring();
        if (collecting_ && !variable.empty()) names_.emplace(folded(checked(variable)));
        const bool readOnly = flags & 0x08, isHtml = moreFlags & 0x02;
        const std::string_view text = flags & 0x80 ? in.cstring() : std::string_view();
        std::string utf8Text = base::isAscii(checked(text)) || collecting_ ? "" : utf8(text);
        const bool toHtml = !utf8Text.empty() && !isHtml && (variable.empty() || readOnly);
        if (!toHtml) {
            out += in.since(start);
            out += in.rest();
            return;
        }
        changedText_ = true;
        // The player lays out HTML text of these versions to the left unless a paragraph says; one
        // left open adds no line break at its end.
        static constexpr const char* kAligns[] = {"LEFT", "RIGHT", "CENTER", "JUSTIFY"};
        std::string shown = html(utf8Text);
        if (align > 0 && align < 4) shown = std::string("<P ALIGN=\"") + kAligns[align] + "\">" + shown;
        const std::size_t at = out.size();
        out += in.since(start).substr(0, head);
        out[at + moreFlagsAt] = static_cast<char>(moreFlags | 0x02);
        out += variable;
        out += '\0';
        out += shown;
        out += '\0';
        out += in.rest();
    }

    base::CodePageText gbk_{"GBK"};
    const bool always_;
    bool collecting_ = true;
    bool changedText_ = false;
    std::set<std::string, std::less<>> names_;
    std::vector<bool> nonAsciiConstants_;
};

} // namespace

std::optional<std::string> unicodeMovie(std::string_view movie, CodePageRewrite rewrite) {
    if (movie.size() < 8 || (movie.substr(0, 3) != "FWS" && movie.substr(0, 3) != "CWS")) return std::nullopt;
    const int version = static_cast<unsigned char>(movie[3]);
    if (version >= 6) return std::nullopt;
    try {
        const std::string content = movieBody(movie);
        MovieBytes in(content);
        in.skipRect();
        in.bytes(4); // frame rate and count
        const std::size_t headerEnd = in.pos();

        const std::string_view body = std::string_view(content).substr(headerEnd);
        Rewriter rewriter(rewrite);
        rewriter.tags(body);
        rewriter.startWriting();
        std::string tags = rewriter.tags(body);
        if (!rewriter.changedText() && rewrite == CodePageRewrite::ChineseOnly) return std::nullopt;

        std::string out = "FWS";
        out += static_cast<char>(version);
        put32(out, static_cast<std::uint32_t>(8 + headerEnd + tags.size()));
        out += std::string_view(content).substr(0, headerEnd);
        out += tags;
        return out;
    } catch (const CannotRewrite&) {
        return std::nullopt;
    }
}

} // namespace viewer
