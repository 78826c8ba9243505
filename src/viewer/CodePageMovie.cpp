#include "viewer/CodePageMovie.h"

#include "base/CodePageText.h"
#include "viewer/ActionCode.h"
#include "viewer/MovieBytes.h"

#include <algorithm>
#include <cstdint>

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

class Rewriter {
  public:
    bool sawNonAscii() const { return nonAscii_; }

    // A string rewritten as UTF-8.
    std::string text(std::string_view gbk) {
        if (base::isAscii(gbk)) return std::string(gbk);
        nonAscii_ = true;
        auto utf8 = gbk_.toUtf8(gbk);
        if (!utf8) cannotRewrite();
        return std::move(*utf8);
    }
    std::string actions(std::string_view code) {
        return ActionCode::rewritten(code, [this](std::string_view gbk) { return text(gbk); });
    }
    void cstring(MovieBytes& in, std::string& out) {
        out += text(in.cstring());
        out += '\0';
    }

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

  private:
    // The tag's body rewritten, or nothing for a tag without strings.
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
            cstring(in, out);
            break;
        case kExportAssets:
        case kImportAssets: {
            if (code == kImportAssets) cstring(in, out);
            const std::uint16_t count = in.u16();
            put16(out, count);
            for (int i = 0; i < count; ++i) {
                out += in.bytes(2);
                cstring(in, out);
            }
            break;
        }
        case kDefineFont2:
            out += in.bytes(4); // id, flags, language
            fontName(in, out);
            break;
        case kDefineFontInfo:
        case kDefineFontInfo2:
            out += in.bytes(2);
            fontName(in, out);
            break;
        default:
            return std::nullopt;
        }
        out += in.rest();
        return out;
    }

    // A name of a counted length (which may hold its terminating zero).
    void fontName(MovieBytes& in, std::string& out) {
        std::string_view name = in.bytes(in.u8());
        std::size_t zeros = 0;
        while (zeros < name.size() && name[name.size() - 1 - zeros] == '\0')
            ++zeros;
        const std::string utf8 = text(name.substr(0, name.size() - zeros)) + std::string(zeros, '\0');
        if (utf8.size() > 0xFF) cannotRewrite();
        out += static_cast<char>(utf8.size());
        out += utf8;
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
        out += in.since(start);
        if (flags & 0x20) cstring(in, out);
        if (flags & 0x40) out += in.bytes(2);
        if (!(flags & 0x80)) {
            out += in.rest();
            return;
        }
        // The event flags, of all events and then of each record (none: the last), are two bytes
        // wide before version 6 and four since, with the same bits first.
        out += in.bytes(2); // reserved
        put32(out, in.u16());
        for (;;) {
            const std::uint16_t events = in.u16();
            put32(out, events);
            if (events == 0) break;
            const std::string code = actions(in.bytes(in.u32()));
            put32(out, static_cast<std::uint32_t>(code.size()));
            out += code;
        }
        out += in.rest();
    }

    void editText(MovieBytes& in, std::string& out) {
        const std::size_t start = in.pos();
        in.u16(); // id
        in.skipRect();
        const std::uint8_t flags = in.u8(), moreFlags = in.u8();
        const bool hasFont = flags & 0x01, hasFontClass = moreFlags & 0x80;
        if (hasFont) in.u16();
        if (hasFontClass) in.cstring();
        if (hasFont || hasFontClass) in.u16(); // height
        if (flags & 0x04) in.bytes(4);         // colour
        if (flags & 0x02) in.u16();            // maximum length
        if (moreFlags & 0x20) in.bytes(9);     // layout
        out += in.since(start);
        cstring(in, out); // variable
        if (flags & 0x80) cstring(in, out);
        out += in.rest();
    }

    base::CodePageText gbk_{"GBK"};
    bool nonAscii_ = false;
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

        Rewriter rewriter;
        std::string tags = rewriter.tags(std::string_view(content).substr(headerEnd));
        if (!rewriter.sawNonAscii() && rewrite == CodePageRewrite::ChineseOnly) return std::nullopt;

        std::string out = "FWS";
        out += static_cast<char>(6);
        put32(out, static_cast<std::uint32_t>(8 + headerEnd + tags.size()));
        out += std::string_view(content).substr(0, headerEnd);
        out += tags;
        return out;
    } catch (const CannotRewrite&) {
        return std::nullopt;
    }
}

} // namespace viewer
