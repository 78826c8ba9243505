#pragma once
// Writes small uncompressed Flash movies ("FWS"): a background colour, filled and outlined shapes
// (straight and quadratic curved edges) and, frame by frame, where each shape stands (moved,
// rotated, scaled) and how opaque it is. Enough for simple vector animations that any player of
// the documented format shows.

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
    kPlaceObject2 = 26,
    kDefineShape3 = 32,
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

class MovieWriter {
  public:
    MovieWriter(int widthPx, int heightPx, double framesPerSecond, Rgba background);

    // Defines a shape and returns its character id.
    std::uint16_t define(const Shape& shape);
    // Puts character on depth (first time) or moves what is on that depth (afterwards).
    void place(std::uint16_t depth, std::uint16_t character, const Placement& placement);
    void showFrame();
    // The whole file: header (with the file length and the frames shown) and every tag, ended.
    std::string bytes() const;

    int width() const { return width_; }
    int height() const { return height_; }

  private:
    void tag(std::uint16_t code, const std::string& body);

    int width_, height_;
    double rate_;
    std::string tags_;
    std::uint16_t nextId_ = 1;
    std::uint16_t frames_ = 0;
    std::map<std::uint16_t, std::uint16_t> placed_; // depth -> character
};

} // namespace swf
