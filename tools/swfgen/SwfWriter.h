#pragma once
// Writes small uncompressed Flash movies ("FWS"): a background colour, filled and outlined shapes
// (straight and quadratic curved edges) and, frame by frame, where each shape stands (moved,
// rotated, scaled) and how opaque it is. Enough for simple vector animations that any player of
// the documented format shows. For ActionScript 2 movies also text fields in device fonts (drawn
// with the player's fonts by name) and frame actions (see Actions.h).

#include "Actions.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace swf {

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 255;
};

// Tag codes of the format that the writer and the checker use.
enum TagCode : std::uint16_t {
    kEnd = 0,
    kShowFrame = 1,
    kSetBackgroundColor = 9,
    kDoAction = 12,
    kPlaceObject2 = 26,
    kDefineShape3 = 32,
    kDefineEditText = 37,
    kDefineFont2 = 48,
    // Read, never written: the parts of an ActionScript 3 movie.
    kFileAttributes = 69,
    kSymbolClass = 76,
    kDoAbc = 82,
};

inline constexpr int kTwipsPerPixel = 20;

// A shape in pixels around its own origin (the point that placements move, rotate and scale
// about). Each moveTo starts a new closed outline; the shape is filled with one colour and may be
// outlined.
class Shape {
  public:
    explicit Shape(Rgba fill) : fill_(fill) {}
    Shape& outline(double widthPx, Rgba colour);
    // No fill at all: an outline only (rings, hands, spokes).
    Shape& noFill();

    Shape& moveTo(double x, double y);
    Shape& lineTo(double x, double y);
    Shape& curveTo(double controlX, double controlY, double x, double y);

    static Shape circle(double radius, Rgba fill);
    static Shape rect(double width, double height, Rgba fill); // centred on the origin
    static Shape roundRect(double width, double height, double radius, Rgba fill);
    // A regular polygon (points > 2) or, with innerRadius > 0, a star of that many points.
    static Shape polygon(int points, double radius, Rgba fill, double innerRadius = 0);

    struct Edge {
        bool move = false, curve = false;
        double cx = 0, cy = 0, x = 0, y = 0;
    };
    const std::vector<Edge>& edges() const { return edges_; }
    const std::optional<Rgba>& fill() const { return fill_; }
    double lineWidth() const { return lineWidth_; }
    Rgba lineColour() const { return lineColour_; }

  private:
    std::optional<Rgba> fill_;
    double lineWidth_ = 0;
    Rgba lineColour_;
    std::vector<Edge> edges_;
};

// Where a placed shape stands in one frame: position in pixels, rotation in degrees (clockwise on
// screen), scale, and opacity (1 opaque).
struct Placement {
    double x = 0, y = 0;
    double rotation = 0;
    double scaleX = 1, scaleY = 1;
    double alpha = 1;
};

// A text field that shows device text: its box in pixels around the point it is placed at, one
// line in a font from defineDeviceFont, and optionally the variable it shows (a frame action that
// sets the variable changes the text).
struct TextField {
    double x = 0, y = 0, width = 100, height = 20;
    std::uint16_t font = 0;
    double sizePx = 12;
    Rgba colour;
    std::string text;
    std::string variable;
    // Lines break at "\r" in the text, each leadingPx below the one before.
    bool multiline = false;
    double leadingPx = 0;
    bool html = false; // the text is HTML
};

class MovieWriter {
  public:
    MovieWriter(int widthPx, int heightPx, double framesPerSecond, Rgba background);

    // The format version in the header (default 10); ActionScript 2 movies are of version 8.
    void setVersion(int version) { version_ = version; }

    // Defines a shape and returns its character id.
    std::uint16_t define(const Shape& shape);
    // Defines a font without glyphs, which a player takes from its own fonts by name, and
    // returns its id.
    std::uint16_t defineDeviceFont(const std::string& name, bool bold = false);
    // Defines a read-only, unselectable text field in a device font and returns its id.
    std::uint16_t define(const TextField& field);
    // Actions that run when the current frame shows.
    void doAction(const Actions& actions);
    // Puts character on depth (first time) or moves what is on that depth (afterwards).
    void place(std::uint16_t depth, std::uint16_t character, const Placement& placement);
    void showFrame();
    // Any other tag, its body as given (the tag's header is written here).
    void tag(std::uint16_t code, const std::string& body);
    // The whole file: header (with the file length and the frames shown) and every tag, ended.
    std::string bytes() const;

    int width() const { return width_; }
    int height() const { return height_; }

  private:
    int width_, height_;
    int version_ = 10;
    double rate_;
    std::string tags_;
    std::uint16_t nextId_ = 1;
    std::uint16_t frames_ = 0;
    std::map<std::uint16_t, std::uint16_t> placed_; // depth -> character
};

} // namespace swf
