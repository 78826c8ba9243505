#include "SwfWriter.h"

#include "LittleEndian.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace swf {

namespace {

// Bits packed most significant first, as every bit field of the format is.
class BitWriter {
  public:
    void bits(std::uint32_t value, int count) {
        for (int i = count - 1; i >= 0; --i) {
            current_ = static_cast<std::uint8_t>((current_ << 1) | ((value >> i) & 1));
            if (++used_ == 8) flush();
        }
    }
    void signedBits(std::int32_t value, int count) { bits(static_cast<std::uint32_t>(value), count); }
    // Pads the last byte with zero bits; every structure of bit fields ends on a byte boundary.
    std::string take() {
        if (used_ > 0) {
            current_ = static_cast<std::uint8_t>(current_ << (8 - used_));
            flush();
        }
        return std::move(out_);
    }

  private:
    void flush() {
        out_ += static_cast<char>(current_);
        current_ = 0;
        used_ = 0;
    }
    std::string out_;
    std::uint8_t current_ = 0;
    int used_ = 0;
};

// Bits a signed field needs to hold value (at least 1).
int signedWidth(std::int32_t value) {
    std::uint32_t magnitude =
        value < 0 ? ~static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    int bits = 1;
    while (magnitude) {
        ++bits;
        magnitude >>= 1;
    }
    return bits;
}

int widest(std::initializer_list<std::int32_t> values) {
    int bits = 1;
    for (auto v : values)
        bits = std::max(bits, signedWidth(v));
    return bits;
}

void rgba(std::string& out, Rgba c) {
    out += {static_cast<char>(c.r), static_cast<char>(c.g), static_cast<char>(c.b), static_cast<char>(c.a)};
}

std::int32_t twips(double pixels) {
    return static_cast<std::int32_t>(std::lround(pixels * kTwipsPerPixel));
}
std::int32_t fixed16(double value) {
    return static_cast<std::int32_t>(std::lround(value * 65536.0));
}

std::string rect(std::int32_t xMin, std::int32_t xMax, std::int32_t yMin, std::int32_t yMax) {
    BitWriter w;
    const int n = widest({xMin, xMax, yMin, yMax});
    w.bits(static_cast<std::uint32_t>(n), 5);
    for (auto v : {xMin, xMax, yMin, yMax})
        w.signedBits(v, n);
    return w.take();
}

std::string matrix(const Placement& p) {
    BitWriter w;
    const double angle = p.rotation * std::numbers::pi / 180.0;
    const std::int32_t scaleX = fixed16(p.scaleX * std::cos(angle)),
                       scaleY = fixed16(p.scaleY * std::cos(angle));
    const std::int32_t skew0 = fixed16(p.scaleX * std::sin(angle)),
                       skew1 = fixed16(-p.scaleY * std::sin(angle));
    // Each pair is written with its bit count; scale and rotation only when they are not the identity.
    const auto pair = [&w](std::int32_t a, std::int32_t b) {
        const int n = widest({a, b});
        w.bits(static_cast<std::uint32_t>(n), 5);
        w.signedBits(a, n);
        w.signedBits(b, n);
    };
    const bool hasScale = scaleX != 65536 || scaleY != 65536;
    w.bits(hasScale, 1);
    if (hasScale) pair(scaleX, scaleY);
    const bool hasRotate = skew0 != 0 || skew1 != 0;
    w.bits(hasRotate, 1);
    if (hasRotate) pair(skew0, skew1);
    pair(twips(p.x), twips(p.y));
    return w.take();
}

// Multiplies alpha only (8.8 fixed multipliers; 256 is unchanged).
std::string alphaTransform(double alpha) {
    BitWriter w;
    const std::int32_t a = static_cast<std::int32_t>(std::lround(std::clamp(alpha, 0.0, 1.0) * 256));
    const int n = widest({256, a});
    w.bits(0, 1); // no add terms
    w.bits(1, 1); // multiply terms
    w.bits(static_cast<std::uint32_t>(n), 4);
    for (auto v : {256, 256, 256, a})
        w.signedBits(v, n);
    return w.take();
}

void edgeRecord(BitWriter& w, bool curve, std::initializer_list<std::int32_t> deltas) {
    const int n = std::max(2, widest(deltas));
    w.bits(1, 1);      // edge record
    w.bits(!curve, 1); // straight flag
    w.bits(static_cast<std::uint32_t>(n - 2), 4);
    if (!curve) w.bits(1, 1); // general line: both deltas follow
    for (auto v : deltas)
        w.signedBits(v, n);
}

// Twice the signed area of the outline that starts at edges[from] (a move), over its anchor and
// control points; positive when it runs clockwise on screen.
double signedArea(const std::vector<Shape::Edge>& edges, std::size_t from) {
    std::vector<std::pair<double, double>> points{{edges[from].x, edges[from].y}};
    for (std::size_t e = from + 1; e < edges.size() && !edges[e].move; ++e) {
        if (edges[e].curve) points.emplace_back(edges[e].cx, edges[e].cy);
        points.emplace_back(edges[e].x, edges[e].y);
    }
    double area = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const auto& [x0, y0] = points[i];
        const auto& [x1, y1] = points[(i + 1) % points.size()];
        area += x0 * y1 - x1 * y0;
    }
    return area;
}

} // namespace

Shape& Shape::outline(double widthPx, Rgba colour) {
    lineWidth_ = widthPx;
    lineColour_ = colour;
    return *this;
}

Shape& Shape::noFill() {
    fill_.reset();
    return *this;
}

Shape& Shape::moveTo(double x, double y) {
    edges_.push_back({true, false, 0, 0, x, y});
    return *this;
}

Shape& Shape::lineTo(double x, double y) {
    edges_.push_back({false, false, 0, 0, x, y});
    return *this;
}

Shape& Shape::curveTo(double controlX, double controlY, double x, double y) {
    edges_.push_back({false, true, controlX, controlY, x, y});
    return *this;
}

Shape Shape::circle(double radius, Rgba fill) {
    // Eight quadratic arcs of 45 degrees; each control point lies where the arc's end tangents meet.
    Shape shape(fill);
    const double step = std::numbers::pi / 4, reach = radius / std::cos(step / 2);
    shape.moveTo(radius, 0);
    for (int i = 1; i <= 8; ++i) {
        const double middle = (i - 0.5) * step, end = i * step;
        shape.curveTo(reach * std::cos(middle), reach * std::sin(middle), radius * std::cos(end),
                      radius * std::sin(end));
    }
    return shape;
}

Shape Shape::rect(double width, double height, Rgba fill) {
    Shape shape(fill);
    shape.moveTo(-width / 2, -height / 2).lineTo(width / 2, -height / 2).lineTo(width / 2, height / 2);
    shape.lineTo(-width / 2, height / 2);
    return shape;
}

Shape Shape::roundRect(double width, double height, double radius, Rgba fill) {
    Shape shape(fill);
    const double l = -width / 2, r = width / 2, t = -height / 2, b = height / 2;
    shape.moveTo(l + radius, t).lineTo(r - radius, t).curveTo(r, t, r, t + radius).lineTo(r, b - radius);
    shape.curveTo(r, b, r - radius, b)
        .lineTo(l + radius, b)
        .curveTo(l, b, l, b - radius)
        .lineTo(l, t + radius);
    shape.curveTo(l, t, l + radius, t);
    return shape;
}

Shape Shape::polygon(int points, double radius, Rgba fill, double innerRadius) {
    Shape shape(fill);
    const int corners = innerRadius > 0 ? points * 2 : points;
    for (int i = 0; i < corners; ++i) {
        const double angle = -std::numbers::pi / 2 + 2 * std::numbers::pi * i / corners;
        const double r = innerRadius > 0 && i % 2 ? innerRadius : radius;
        if (i == 0)
            shape.moveTo(r * std::cos(angle), r * std::sin(angle));
        else
            shape.lineTo(r * std::cos(angle), r * std::sin(angle));
    }
    return shape;
}

MovieWriter::MovieWriter(int widthPx, int heightPx, double framesPerSecond, Rgba background)
    : width_(widthPx), height_(heightPx), rate_(framesPerSecond) {
    std::string body;
    body +=
        {static_cast<char>(background.r), static_cast<char>(background.g), static_cast<char>(background.b)};
    tag(kSetBackgroundColor, body);
}

void MovieWriter::tag(std::uint16_t code, const std::string& body) {
    tags_ += tagged(code, body);
}

std::uint16_t MovieWriter::define(const Shape& shape) {
    // Integer twips first, so that the edge deltas add up exactly to closed outlines.
    struct Point {
        std::int32_t x, y;
    };
    const std::int32_t halfLine = twips(shape.lineWidth() / 2);
    std::int32_t xMin = INT32_MAX, xMax = INT32_MIN, yMin = INT32_MAX, yMax = INT32_MIN;
    const auto grow = [&](Point p) {
        xMin = std::min(xMin, p.x - halfLine);
        xMax = std::max(xMax, p.x + halfLine);
        yMin = std::min(yMin, p.y - halfLine);
        yMax = std::max(yMax, p.y + halfLine);
    };

    const bool filled = shape.fill().has_value(), lined = shape.lineWidth() > 0;
    BitWriter w;
    w.bits(filled ? 1 : 0, 4); // fill index bits
    w.bits(lined ? 1 : 0, 4);  // line index bits
    Point at{0, 0}, start{0, 0};
    bool first = true;
    const auto close = [&] {
        if (at.x != start.x || at.y != start.y) edgeRecord(w, false, {start.x - at.x, start.y - at.y});
        at = start;
    };
    const auto& edges = shape.edges();
    for (std::size_t e = 0; e < edges.size(); ++e) {
        const auto& edge = edges[e];
        const Point to{twips(edge.x), twips(edge.y)};
        grow(to);
        if (edge.move) {
            if (!first) close();
            // The fill lies to the right of an edge with fill style 1 and to its left with fill
            // style 0: a clockwise outline (on screen, y down) takes style 1, any other style 0.
            const bool clockwise = signedArea(edges, e) > 0;
            w.bits(0, 1); // style change record
            w.bits(0, 1); // no new styles
            w.bits(lined && first, 1);
            w.bits(filled, 1); // fill style 1 given
            w.bits(filled, 1); // fill style 0 given
            w.bits(1, 1);      // move to
            const int n = widest({to.x, to.y});
            w.bits(static_cast<std::uint32_t>(n), 5);
            w.signedBits(to.x, n);
            w.signedBits(to.y, n);
            if (filled) {
                w.bits(clockwise ? 0 : 1, 1);
                w.bits(clockwise ? 1 : 0, 1);
            }
            if (lined && first) w.bits(1, 1);
            first = false;
            at = start = to;
        } else if (edge.curve) {
            const Point control{twips(edge.cx), twips(edge.cy)};
            grow(control);
            edgeRecord(w, true, {control.x - at.x, control.y - at.y, to.x - control.x, to.y - control.y});
            at = to;
        } else {
            edgeRecord(w, false, {to.x - at.x, to.y - at.y});
            at = to;
        }
    }
    if (!first) close();
    w.bits(0, 6); // end of shape

    std::string body;
    const std::uint16_t id = nextId_++;
    u16(body, id);
    body += first ? rect(0, 0, 0, 0) : rect(xMin, xMax, yMin, yMax);
    u8(body, filled ? 1 : 0);
    if (filled) {
        u8(body, 0x00); // solid fill
        rgba(body, *shape.fill());
    }
    u8(body, lined ? 1 : 0);
    if (lined) {
        u16(body, static_cast<std::uint16_t>(std::max(1, twips(shape.lineWidth()))));
        rgba(body, shape.lineColour());
    }
    body += w.take();
    tag(kDefineShape3, body);
    return id;
}

std::uint16_t MovieWriter::defineDeviceFont(const std::string& name, bool bold) {
    if (name.size() > 0xFF) throw std::logic_error("font name longer than 255 bytes");
    std::string body;
    const std::uint16_t id = nextId_++;
    u16(body, id);
    u8(body, static_cast<std::uint8_t>(0x04 | (bold ? 0x01 : 0))); // wide codes (always from version 6), bold
    u8(body, 0);                                                   // no language
    u8(body, static_cast<std::uint8_t>(name.size()));
    body += name;
    u16(body, 0); // no glyphs
    u16(body, 0); // the code table's offset, which players expect even without glyphs
    tag(kDefineFont2, body);
    return id;
}

std::uint16_t MovieWriter::define(const TextField& field) {
    std::string body;
    const std::uint16_t id = nextId_++;
    u16(body, id);
    body += rect(twips(field.x), twips(field.x + field.width), twips(field.y), twips(field.y + field.height));
    // Has text, multi-line or not, read-only, has a colour and a font; no selection; a layout for
    // multi-line text; HTML when asked; device text (no outlines).
    u8(body, static_cast<std::uint8_t>((field.text.empty() ? 0 : 0x80) | (field.multiline ? 0x20 : 0) | 0x08 |
                                       0x04 | 0x01));
    u8(body, static_cast<std::uint8_t>(0x10 | (field.multiline ? 0x20 : 0) | (field.html ? 0x02 : 0)));
    u16(body, field.font);
    u16(body, static_cast<std::uint16_t>(twips(field.sizePx)));
    rgba(body, field.colour);
    if (field.multiline) {
        u8(body, 0);  // left-aligned
        u16(body, 0); // no left margin
        u16(body, 0); // no right margin
        u16(body, 0); // no indent
        u16(body, static_cast<std::uint16_t>(twips(field.leadingPx)));
    }
    body += field.variable;
    body += '\0';
    if (!field.text.empty()) {
        body += field.text;
        body += '\0';
    }
    tag(kDefineEditText, body);
    return id;
}

void MovieWriter::doAction(const Actions& actions) {
    tag(kDoAction, actions.bytes() + '\0');
}

void MovieWriter::place(std::uint16_t depth, std::uint16_t character, const Placement& placement) {
    const auto placed = placed_.find(depth);
    const bool moving = placed != placed_.end();
    const bool newCharacter = !moving || placed->second != character;
    placed_[depth] = character;
    std::string body;
    // Colour transform and matrix always; the character when the depth gets a new one; "move" for
    // a depth that already holds one.
    u8(body, static_cast<std::uint8_t>(0x08 | 0x04 | (newCharacter ? 0x02 : 0) | (moving ? 0x01 : 0)));
    u16(body, depth);
    if (newCharacter) u16(body, character);
    body += matrix(placement);
    body += alphaTransform(placement.alpha);
    tag(kPlaceObject2, body);
}

void MovieWriter::showFrame() {
    tag(kShowFrame, {});
    ++frames_;
}

std::string MovieWriter::bytes() const {
    std::string movie = "FWS";
    u8(movie, static_cast<std::uint8_t>(version_));
    const std::string frame = rect(0, width_ * kTwipsPerPixel, 0, height_ * kTwipsPerPixel);
    std::string rest = frame;
    u16(rest, static_cast<std::uint16_t>(std::lround(rate_ * 256)));
    u16(rest, frames_);
    rest += tags_;
    u16(rest, static_cast<std::uint16_t>(kEnd << 6));
    u32(movie, static_cast<std::uint32_t>(8 + rest.size()));
    return movie + rest;
}

} // namespace swf
