#pragma once
// The picture progress bar without its drawing surface: Min, Max and Value with their checks, the
// events a change raises, the caption text, what each repaint shows, the mouse rules and the saved
// properties. Everything is in pixels of the control's surface. A widget feeds in the surface size and
// the mouse, answers Repaint by drawing frame(), and decodes the saved surface settings (pictures,
// font) that this class only carries as text.
//
// Property assignments that are not allowed throw ProgressBarError and leave everything unchanged:
// InvalidPropertyValue (380) for a Value outside Min..Max or a Min/Max that would not keep Min < Max,
// Overflow (6) for a Min/Max whose distance does not fit 32 bits.

#include "controls/PropertyBag.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class ucProgressBar {
  public:
    enum : std::int32_t { Horizontal = 0, Vertical = 1 }; // Orientation
    enum MouseButton : std::int16_t { LeftButton = 1, RightButton = 2, MiddleButton = 4 };

    // The system colour "button text", the default caption colour.
    static constexpr std::int32_t kButtonTextColor = static_cast<std::int32_t>(0x80000012u);

    struct Rect {
        int x = 0, y = 0, width = 0, height = 0;
        bool operator==(const Rect&) const = default;
    };

    // What one repaint shows over the back picture: the part of the fore picture that is copied to
    // the same place on the surface (none when no bar shows), and the caption text.
    struct Frame {
        std::optional<Rect> fore;
        std::string caption;
    };

    // The saved settings that belong to the drawing surface. Pictures are the bytes of an image file
    // (empty: no picture); the font is the widget's own font description.
    struct SurfaceSettings {
        bool enabled = true;
        std::int32_t fontColor = kButtonTextColor;
        std::string font;
        std::string mouseIcon;
        std::string barPictureFore;
        std::string barPictureBack;
        std::int16_t mousePointer = 0;
    };

    // Events (Change comes before ArrivedLast and ArrivedFirst). Repaint asks the widget to draw
    // frame() now; a click is the widget's own business.
    std::function<void()> ArrivedFirst, ArrivedLast, Change, Repaint;

    std::int32_t Min() const { return min_; }
    std::int32_t Max() const { return max_; }
    std::int32_t Value() const { return value_; }
    std::int32_t Orientation() const { return orientation_; }
    std::int32_t CaptionFormat() const { return captionFormat_; }
    const std::string& CaptionCustom() const { return captionCustom_; }

    void setValue(std::int32_t value);
    void setMin(std::int32_t min);
    void setMax(std::int32_t max);
    void setOrientation(std::int32_t orientation) { orientation_ = orientation; }
    void setCaptionFormat(std::int32_t format);
    void setCaptionCustom(std::string caption);
    void Refresh();

    // The inner size of the surface in pixels; repaints.
    void setSurfaceSize(int width, int height);

    // The caption for the current values (empty when the caption cannot be computed).
    std::string caption() const;
    // What a repaint shows now.
    Frame frame() const;
    // Top-left corner of the caption on a surface of the given size, for a caption of textWidth
    // pixels and a line of lineHeight pixels: centred, odd pixels going to the right and bottom.
    static std::pair<int, int> captionOrigin(int width, int height, double textWidth, double lineHeight);

    // The value under the surface position (x, y), or none when it cannot be computed.
    std::optional<std::int32_t> valueAt(double x, double y) const;

    // Mouse input in surface pixels. A left press starts a drag that follows the pointer; a right
    // press steps Value by one toward the pointer; a double click repeats the last press. Values
    // that a mouse action cannot set are ignored.
    void mousePress(std::int16_t button, double x, double y);
    void mouseMove(double x, double y);
    void mouseRelease() { dragging_ = false; }
    void mouseDoubleClick() { mousePress(lastButton_, lastX_, lastY_); }
    bool dragging() const { return dragging_; }

    // Loads the saved properties without checks, events or repaint and returns the surface's part;
    // ambientFont is the font used when none is stored.
    SurfaceSettings ReadProperties(const PropertyBag& bag, const std::string& ambientFont);
    void WriteProperties(PropertyBag& bag, const SurfaceSettings& surface,
                         const std::string& ambientFont) const;

  private:
    // Max - Min for a new Min or Max; throws Overflow when it does not fit 32 bits.
    static std::int32_t checkedRange(std::int32_t min, std::int32_t max);
    void raise(const std::function<void()>& event) const;
    // Value - Min, none when it does not fit 32 bits.
    std::optional<std::int32_t> progress() const;
    // A Value set by the mouse; values the rule rejects are ignored.
    void setValueFromMouse(std::int32_t value);

    std::int32_t min_ = 0;
    std::int32_t max_ = 100;
    std::int32_t value_ = 0;
    // Max - Min; none after loading a Min and Max whose distance does not fit 32 bits.
    std::optional<std::int32_t> range_ = 100;
    std::int32_t lastReported_ = 0;
    std::int32_t orientation_ = Horizontal;
    std::int32_t captionFormat_ = 0;
    std::string captionCustom_;

    int width_ = 0;
    int height_ = 0;

    std::int16_t lastButton_ = 0;
    double lastX_ = 0;
    double lastY_ = 0;
    bool dragging_ = false;
};
