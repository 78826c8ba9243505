#include "SwfReader.h"

#include "SwfWriter.h"

#include <map>
#include <set>
#include <zlib.h>

namespace swf {

namespace {

[[noreturn]] void fail(const std::string& why) {
    throw std::runtime_error(why);
}

class BitReader {
  public:
    explicit BitReader(std::string_view bytes) : bytes_(bytes) {}

    std::uint32_t bits(int count) {
        std::uint32_t value = 0;
        for (int i = 0; i < count; ++i) {
            if (bit_ / 8 >= bytes_.size()) fail("bit field past the end of its structure");
            const auto byte = static_cast<std::uint8_t>(bytes_[bit_ / 8]);
            value = (value << 1) | ((byte >> (7 - bit_ % 8)) & 1);
            ++bit_;
        }
        return value;
    }
    std::int32_t signedBits(int count) {
        if (count == 0) return 0;
        const std::uint32_t raw = bits(count);
        const std::uint32_t sign = 1u << (count - 1);
        return static_cast<std::int32_t>((raw ^ sign) - sign);
    }
    void align() { bit_ = (bit_ + 7) / 8 * 8; }
    std::uint32_t u8() {
        align();
        return bits(8);
    }
    std::uint32_t u16() {
        const std::uint32_t low = u8();
        return low | u8() << 8;
    }
    std::uint32_t u32() {
        const std::uint32_t low = u16();
        return low | u16() << 16;
    }
    std::size_t bytePosition() const { return (bit_ + 7) / 8; }

  private:
    std::string_view bytes_;
    std::size_t bit_ = 0;
};

struct Rect {
    std::int32_t xMin, xMax, yMin, yMax;
};

Rect readRect(BitReader& r) {
    r.align();
    const int n = static_cast<int>(r.bits(5));
    Rect rect{r.signedBits(n), r.signedBits(n), r.signedBits(n), r.signedBits(n)};
    r.align();
    return rect;
}

// The matrix as text (scale, skew, translation), so that frames can be compared.
std::string readMatrix(BitReader& r) {
    r.align();
    std::int32_t values[6] = {65536, 65536, 0, 0, 0, 0};
    if (r.bits(1)) {
        const int n = static_cast<int>(r.bits(5));
        values[0] = r.signedBits(n);
        values[1] = r.signedBits(n);
    }
    if (r.bits(1)) {
        const int n = static_cast<int>(r.bits(5));
        values[2] = r.signedBits(n);
        values[3] = r.signedBits(n);
    }
    const int n = static_cast<int>(r.bits(5));
    values[4] = r.signedBits(n);
    values[5] = r.signedBits(n);
    std::string text;
    for (auto v : values)
        text += std::to_string(v) + ' ';
    return text;
}

std::string readColourTransform(BitReader& r) {
    r.align();
    const bool add = r.bits(1), multiply = r.bits(1);
    const int n = static_cast<int>(r.bits(4));
    std::string text;
    for (int terms = 0; terms < (add ? 1 : 0) + (multiply ? 1 : 0); ++terms)
        for (int i = 0; i < 4; ++i)
            text += std::to_string(r.signedBits(n)) + ' ';
    return text;
}

int readStyleCount(BitReader& r) {
    int count = static_cast<int>(r.u8());
    if (count == 0xFF) count = static_cast<int>(r.u16());
    return count;
}

void readShape(std::string_view body, MovieSummary& summary, std::set<std::uint16_t>& defined) {
    BitReader r(body);
    const auto id = static_cast<std::uint16_t>(r.u16());
    if (!defined.insert(id).second) fail("character " + std::to_string(id) + " defined twice");
    const Rect bounds = readRect(r);
    if (bounds.xMin > bounds.xMax || bounds.yMin > bounds.yMax) fail("shape bounds upside down");
    const int fills = readStyleCount(r);
    for (int i = 0; i < fills; ++i)
        if (r.u8() != 0x00)
            fail("only solid fills are expected");
        else
            r.u32(); // RGBA
    const int lines = readStyleCount(r);
    for (int i = 0; i < lines; ++i) {
        r.u16();
        r.u32();
    }
    int fillBits = static_cast<int>(r.bits(4)), lineBits = static_cast<int>(r.bits(4));
    std::int32_t x = 0, y = 0, startX = 0, startY = 0;
    bool open = false;
    const auto closeOutline = [&] {
        if (open && (x != startX || y != startY))
            fail("an outline of shape " + std::to_string(id) + " is not closed");
    };
    for (;;) {
        if (r.bits(1)) { // edge
            const bool straight = r.bits(1);
            const int n = static_cast<int>(r.bits(4)) + 2;
            if (straight) {
                const bool general = r.bits(1);
                const bool vertical = general ? false : r.bits(1);
                if (general || !vertical) x += r.signedBits(n);
                if (general || vertical) y += r.signedBits(n);
            } else {
                for (int i = 0; i < 2; ++i) {
                    x += r.signedBits(n);
                    y += r.signedBits(n);
                }
            }
            ++summary.edges;
            continue;
        }
        const std::uint32_t flags = r.bits(5);
        if (flags == 0) break; // end of shape
        if (flags & 0x01) {    // move to
            closeOutline();
            const int n = static_cast<int>(r.bits(5));
            startX = x = r.signedBits(n);
            startY = y = r.signedBits(n);
            open = true;
        }
        for (std::uint32_t flag : {0x02u, 0x04u}) // fill style 0 and 1
            if (flags & flag && static_cast<int>(r.bits(fillBits)) > fills) fail("fill index out of range");
        if (flags & 0x08 && static_cast<int>(r.bits(lineBits)) > lines) fail("line index out of range");
        if (flags & 0x10) fail("new styles inside a shape are not expected");
    }
    closeOutline();
    if (r.bytePosition() != body.size()) fail("bytes after the end of shape " + std::to_string(id));
    ++summary.shapes;
}

void readPlacement(std::string_view body, const std::set<std::uint16_t>& defined,
                   std::map<std::uint16_t, std::string>& stage, MovieSummary& summary) {
    BitReader r(body);
    const std::uint32_t flags = r.u8();
    if (flags & 0xE0) fail("clip actions, clip depth and names are not expected");
    const auto depth = static_cast<std::uint16_t>(r.u16());
    std::string what;
    if (flags & 0x02) {
        const auto character = static_cast<std::uint16_t>(r.u16());
        if (!defined.count(character)) fail("placement of undefined character " + std::to_string(character));
        what = "#" + std::to_string(character) + ' ';
    } else if (!stage.count(depth)) {
        fail("move on empty depth " + std::to_string(depth));
    } else {
        what = stage[depth].substr(0, stage[depth].find(' ') + 1);
    }
    if ((flags & 0x01) != 0 && !stage.count(depth)) fail("move on empty depth " + std::to_string(depth));
    if ((flags & 0x01) == 0 && stage.count(depth)) fail("depth " + std::to_string(depth) + " placed twice");
    if (flags & 0x04) what += readMatrix(r);
    if (flags & 0x08) what += readColourTransform(r);
    if (flags & 0x10) r.u16(); // ratio
    if (r.bytePosition() != body.size()) fail("bytes after the end of a placement");
    stage[depth] = what;
    ++summary.placements;
}

// A string ended by a zero byte at at, which moves past it.
std::string readString(std::string_view body, std::size_t& at, const char* what) {
    const std::size_t end = body.find('\0', at);
    if (end == std::string_view::npos) fail(std::string(what) + " runs past its tag");
    std::string text(body.substr(at, end - at));
    at = end + 1;
    return text;
}

void readFont(std::string_view body, std::set<std::uint16_t>& defined, std::set<std::uint16_t>& fonts,
              MovieSummary& summary) {
    if (body.size() < 5) fail("font tag too short");
    BitReader r(body);
    const auto id = static_cast<std::uint16_t>(r.u16());
    if (!defined.insert(id).second) fail("character " + std::to_string(id) + " defined twice");
    r.u8(); // flags
    r.u8(); // language
    const std::size_t length = r.u8();
    if (5 + length > body.size()) fail("font name runs past its tag");
    summary.fonts.emplace_back(body.substr(5, length));
    fonts.insert(id);
}

void readEditText(std::string_view body, std::set<std::uint16_t>& defined,
                  const std::set<std::uint16_t>& fonts, MovieSummary& summary) {
    BitReader r(body);
    const auto id = static_cast<std::uint16_t>(r.u16());
    if (!defined.insert(id).second) fail("character " + std::to_string(id) + " defined twice");
    const Rect bounds = readRect(r);
    if (bounds.xMin > bounds.xMax || bounds.yMin > bounds.yMax) fail("text field bounds upside down");
    const std::uint32_t flags = r.u16();
    if (flags & 0x0001) {
        const auto font = static_cast<std::uint16_t>(r.u16());
        if (!fonts.count(font)) fail("text field in undefined font " + std::to_string(font));
    }
    std::size_t at = r.bytePosition();
    if (flags & 0x8000) readString(body, at, "font class name");
    const std::size_t fixed = ((flags & 0x8001) ? 2 : 0) + ((flags & 0x0004) ? 4 : 0) +
                              ((flags & 0x0002) ? 2 : 0) + ((flags & 0x2000) ? 9 : 0);
    if (at + fixed > body.size()) fail("text field runs past its tag");
    at += fixed;
    readString(body, at, "text field variable name");
    const std::string text = flags & 0x0080 ? readString(body, at, "text field text") : std::string();
    if (at != body.size()) fail("bytes after the end of text field " + std::to_string(id));
    summary.texts.push_back(text);
}

// The operands of a push: each value's type and its bytes.
void readPushed(std::string_view data) {
    std::size_t at = 0;
    while (at < data.size()) {
        const auto type = static_cast<std::uint8_t>(data[at++]);
        static const int sizes[] = {-1, 4, 0, 0, 1, 1, 8, 4, 1, 2}; // -1: a string
        if (type >= std::size(sizes)) fail("push of unknown type " + std::to_string(type));
        if (sizes[type] < 0)
            readString(data, at, "pushed string");
        else
            at += static_cast<std::size_t>(sizes[type]);
    }
    if (at != data.size()) fail("pushed value runs past its action");
}

void readActions(std::string_view body, MovieSummary& summary) {
    std::set<std::size_t> starts;
    std::vector<std::pair<std::size_t, std::size_t>> jumps;     // from, to
    std::vector<std::pair<std::size_t, std::size_t>> functions; // body's start and end
    std::size_t at = 0;
    for (;;) {
        if (at >= body.size()) fail("actions without their end");
        starts.insert(at);
        const auto code = static_cast<std::uint8_t>(body[at++]);
        if (code == 0) break;
        ++summary.actions;
        if (code < 0x80) continue;
        if (at + 2 > body.size()) fail("action length past its tag");
        const std::size_t length = BitReader(body.substr(at)).u16();
        at += 2;
        if (length > body.size() - at) fail("action " + std::to_string(code) + " runs past its tag");
        const std::string_view data = body.substr(at, length);
        at += length;
        if (code == 0x96) readPushed(data);
        if ((code == 0x99 || code == 0x9D) && length == 2) {
            const auto offset = static_cast<std::int16_t>(BitReader(data).u16());
            jumps.emplace_back(at, static_cast<std::size_t>(static_cast<std::ptrdiff_t>(at) + offset));
        }
        if (code == 0x9B) {
            std::size_t field = 0;
            readString(data, field, "function name");
            if (field + 2 > data.size()) fail("function parameters run past their action");
            const std::uint32_t params = BitReader(data.substr(field)).u16();
            field += 2;
            for (std::uint32_t i = 0; i < params; ++i)
                readString(data, field, "function parameter");
            if (field + 2 != data.size()) fail("function definition of the wrong size");
            functions.emplace_back(at, at + BitReader(data.substr(field)).u16());
        }
    }
    if (at != body.size()) fail("bytes after the end of the actions");
    for (const auto& [from, to] : jumps)
        if (!starts.count(to)) fail("a jump lands inside an action or outside its block");
    for (const auto& [begin, end] : functions)
        if (end >= body.size() || !starts.count(end)) fail("a function runs past its block");
    ++summary.actionBlocks;
}

// The symbol class table: the class that character 0, the main timeline, is bound to.
std::string readDocumentClass(std::string_view body) {
    BitReader r(body);
    const std::uint32_t count = r.u16();
    std::string documentClass;
    std::size_t at = 2;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (at + 2 > body.size()) fail("symbol class table runs past its tag");
        const std::uint32_t id = BitReader(body.substr(at)).u16();
        at += 2;
        const std::size_t end = body.find('\0', at);
        if (end == std::string_view::npos) fail("symbol class name runs past its tag");
        if (id == 0) documentClass = body.substr(at, end - at);
        at = end + 1;
    }
    return documentClass;
}

// A compressed movie ("CWS"): the header's first 8 bytes as they are, the rest zlib data that must
// inflate to exactly the length the header announces, with nothing after it.
std::string inflateMovie(std::string_view bytes) {
    const std::uint32_t length = BitReader(bytes.substr(4)).u32();
    if (length < 8) fail("the header's file length is shorter than a header");
    std::string movie(length, '\0');
    movie.replace(0, 8, bytes.substr(0, 8));
    movie[0] = 'F';
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) fail("zlib does not start");
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data() + 8));
    stream.avail_in = static_cast<uInt>(bytes.size() - 8);
    stream.next_out = reinterpret_cast<Bytef*>(movie.data() + 8);
    stream.avail_out = length - 8;
    const int result = inflate(&stream, Z_FINISH);
    const bool whole = result == Z_STREAM_END && stream.avail_out == 0 && stream.avail_in == 0;
    inflateEnd(&stream);
    if (!whole) fail("the compressed data does not inflate to the announced length");
    return movie;
}

MovieSummary readUncompressed(std::string_view bytes) {
    MovieSummary summary;
    BitReader header(bytes);
    header.u8();
    header.u8();
    header.u8();
    summary.version = static_cast<int>(header.u8());
    if (header.u32() != bytes.size()) fail("the header's file length differs from the file's");
    const Rect frame = readRect(header);
    if (frame.xMin != 0 || frame.yMin != 0 || frame.xMax <= 0 || frame.yMax <= 0) fail("empty stage");
    summary.widthPx = frame.xMax / kTwipsPerPixel;
    summary.heightPx = frame.yMax / kTwipsPerPixel;
    summary.frameRate = header.u16() / 256.0;
    summary.frameCount = static_cast<int>(header.u16());

    std::set<std::uint16_t> defined, fonts;
    std::map<std::uint16_t, std::string> stage;
    std::size_t at = header.bytePosition();
    for (;;) {
        if (at + 2 > bytes.size()) fail("no end tag");
        BitReader tagHeader(bytes.substr(at));
        const std::uint32_t codeAndLength = tagHeader.u16();
        const auto code = static_cast<std::uint16_t>(codeAndLength >> 6);
        std::size_t length = codeAndLength & 0x3F;
        at += 2;
        if (length == 0x3F) {
            if (at + 4 > bytes.size()) fail("tag length past the end");
            length = BitReader(bytes.substr(at)).u32();
            at += 4;
        }
        if (length > bytes.size() - at) fail("tag " + std::to_string(code) + " runs past the end");
        const std::string_view body = bytes.substr(at, length);
        at += length;
        if (code == kEnd) break;
        switch (code) {
        case kShowFrame: {
            ++summary.framesShown;
            std::string picture;
            for (const auto& [depth, what] : stage)
                picture += std::to_string(depth) + ':' + what + ';';
            summary.frames.push_back(picture);
            break;
        }
        case kSetBackgroundColor:
            if (body.size() != 3) fail("background colour of the wrong size");
            summary.background = static_cast<std::uint8_t>(body[0]) << 16 |
                                 static_cast<std::uint8_t>(body[1]) << 8 | static_cast<std::uint8_t>(body[2]);
            break;
        case kDefineShape3:
            readShape(body, summary, defined);
            break;
        case kPlaceObject2:
            readPlacement(body, defined, stage, summary);
            break;
        case kFileAttributes:
            if (body.size() != 4) fail("file attributes of the wrong size");
            summary.actionScript3 = (static_cast<std::uint8_t>(body[0]) & 0x08) != 0;
            break;
        case kSymbolClass:
            if (const std::string name = readDocumentClass(body); !name.empty()) summary.documentClass = name;
            break;
        case kDoAbc:
            ++summary.scriptBlocks;
            break;
        case kDefineFont2:
            readFont(body, defined, fonts, summary);
            break;
        case kDefineEditText:
            readEditText(body, defined, fonts, summary);
            break;
        case kDoAction:
            readActions(body, summary);
            break;
        default:
            break; // other tags are skipped whole, as players skip tags they do not know
        }
    }
    if (at != bytes.size()) fail("bytes after the end tag");
    if (summary.framesShown != summary.frameCount)
        fail("the header's frame count differs from the frames shown");
    return summary;
}

} // namespace

MovieSummary readMovie(std::string_view bytes) {
    if (bytes.size() < 8) fail("shorter than a header");
    if (bytes.substr(0, 3) == "FWS") return readUncompressed(bytes);
    if (bytes.substr(0, 3) != "CWS") fail("not a movie");
    MovieSummary summary = readUncompressed(inflateMovie(bytes));
    summary.compressed = true;
    return summary;
}

} // namespace swf
