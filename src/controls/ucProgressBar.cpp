#include "controls/ucProgressBar.h"

#include "controls/ProgressBarError.h"
#include "controls/ProgressBarFormat.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <variant>

namespace {

// a - b, none when it does not fit 32 bits.
std::optional<std::int32_t> difference(std::int32_t a, std::int32_t b) {
    std::int64_t d = std::int64_t{a} - b;
    if (d < std::numeric_limits<std::int32_t>::min() || d > std::numeric_limits<std::int32_t>::max())
        return {};
    return static_cast<std::int32_t>(d);
}

// The nearest integer of type T (an exact half goes to the even neighbour), none when it does not fit.
template <typename T> std::optional<T> nearest(double value) {
    double r = std::nearbyint(value); // default rounding mode: to nearest, ties to even
    if (!(r >= std::numeric_limits<T>::min() && r <= std::numeric_limits<T>::max())) return {};
    return static_cast<T>(r);
}

// A stored value of the expected kind, else the default (a layout from elsewhere may hold anything).
template <typename T> T read(const PropertyBag& bag, std::string_view name, const T& defaultValue) {
    auto value = bag.ReadProperty(name, defaultValue);
    const T* stored = std::get_if<T>(&value);
    return stored ? *stored : defaultValue;
}

std::int16_t readInt16(const PropertyBag& bag, std::string_view name, std::int16_t defaultValue) {
    std::int32_t value = read<std::int32_t>(bag, name, defaultValue);
    bool fits = value >= std::numeric_limits<std::int16_t>::min() &&
                value <= std::numeric_limits<std::int16_t>::max();
    return fits ? static_cast<std::int16_t>(value) : defaultValue;
}

} // namespace

std::int32_t ucProgressBar::checkedRange(std::int32_t min, std::int32_t max) {
    auto range = difference(max, min);
    if (!range) throw ProgressBarError(ProgressBarError::Overflow);
    return *range;
}

void ucProgressBar::raise(const std::function<void()>& event) const {
    if (event) event();
}

std::optional<std::int32_t> ucProgressBar::progress() const {
    return difference(value_, min_);
}

void ucProgressBar::setValue(std::int32_t value) {
    if (value < min_ || value > max_) throw ProgressBarError(ProgressBarError::InvalidPropertyValue);
    value_ = value;
    raise(Repaint);
    if (value == lastReported_) return;
    lastReported_ = value;
    raise(Change);
    if (value == max_) raise(ArrivedLast);
    if (value == min_) raise(ArrivedFirst);
}

void ucProgressBar::setMax(std::int32_t max) {
    if (max <= min_) throw ProgressBarError(ProgressBarError::InvalidPropertyValue);
    range_ = checkedRange(min_, max);
    max_ = max;
    raise(Repaint);
}

void ucProgressBar::setMin(std::int32_t min) {
    if (min >= max_) throw ProgressBarError(ProgressBarError::InvalidPropertyValue);
    std::int32_t range = checkedRange(min, max_);
    min_ = min;
    setValue(min); // repaints and raises its events while the range is still the old one
    range_ = range;
    raise(Repaint); // so the caption shown matches the new range
}

void ucProgressBar::setCaptionFormat(std::int32_t format) {
    captionFormat_ = format;
    raise(Repaint);
}

void ucProgressBar::setCaptionCustom(std::string caption) {
    captionCustom_ = std::move(caption);
    raise(Repaint);
}

void ucProgressBar::Refresh() {
    raise(Repaint);
}

void ucProgressBar::setSurfaceSize(int width, int height) {
    width_ = width;
    height_ = height;
    raise(Repaint);
}

std::string ucProgressBar::caption() const {
    // Formats 2 to 4 divide Value itself, 5 to 7 its distance from Min; they agree only while Min is 0.
    auto percentOf = [this](std::optional<std::int32_t> part, int decimals) -> std::string {
        if (!part || !range_ || *range_ == 0) return {};
        return progressbar::formatPercent(static_cast<double>(*part) / *range_, decimals);
    };
    switch (captionFormat_) {
    case 1:
        return std::to_string(value_);
    case 2:
    case 3:
    case 4:
        return percentOf(value_, captionFormat_ - 2);
    case 5:
    case 6:
    case 7:
        return percentOf(progress(), captionFormat_ - 5);
    case 99:
        return captionCustom_;
    default:
        return {};
    }
}

ucProgressBar::Frame ucProgressBar::frame() const {
    Frame frame;
    auto done = progress();
    if (!done) return frame; // only the background shows
    if (range_ && *range_ != 0) {
        double share = static_cast<double>(*done) / *range_;
        Rect fore;
        if (orientation_ == Horizontal) {
            if (auto w = nearest<std::int16_t>(share * width_)) fore = {0, 0, *w, height_};
        } else if (orientation_ == Vertical) {
            // The filled part grows from the bottom edge upward.
            if (auto top = nearest<std::int16_t>(height_ - share * height_))
                fore = {0, *top, width_, height_ - *top};
        }
        // Only what lies on the surface is drawn (a Value above a lowered Max overshoots it).
        int left = std::max(fore.x, 0), top = std::max(fore.y, 0);
        int right = std::min(fore.x + fore.width, width_), bottom = std::min(fore.y + fore.height, height_);
        if (right > left && bottom > top) frame.fore = Rect{left, top, right - left, bottom - top};
    }
    frame.caption = caption();
    return frame;
}

std::pair<int, int> ucProgressBar::captionOrigin(int width, int height, double textWidth, double lineHeight) {
    auto half = [](double space) {
        return nearest<std::int32_t>(space).value_or(0) / 2;
    }; // halved toward zero
    return {half(width - textWidth), half(height - lineHeight)};
}

std::optional<std::int32_t> ucProgressBar::valueAt(double x, double y) const {
    if (!range_) return {};
    double share;
    if (orientation_ == Horizontal) {
        if (width_ == 0) return {};
        share = x / width_;
    } else if (orientation_ == Vertical) {
        if (height_ == 0) return {};
        share = (height_ - y) / height_;
    } else {
        return 0;
    }
    return nearest<std::int32_t>(share * *range_ + min_);
}

void ucProgressBar::setValueFromMouse(std::int32_t value) {
    try {
        setValue(value);
    } catch (const ProgressBarError&) {
        // A layout loaded with Max below Min maps the surface outside Min..Max: nothing to set.
    }
}

void ucProgressBar::mousePress(std::int16_t button, double x, double y) {
    if (!(x >= 0 && x < width_ && y >= 0 && y < height_)) return;
    lastButton_ = button;
    lastX_ = x;
    lastY_ = y;
    if (button == LeftButton) {
        dragging_ = true;
        mouseMove(x, y);
    } else if (button == RightButton) {
        auto target = valueAt(x, y);
        if (!target) return;
        if (value_ < *target)
            setValueFromMouse(value_ + 1);
        else if (value_ > *target)
            setValueFromMouse(value_ - 1);
    }
}

void ucProgressBar::mouseMove(double x, double y) {
    x = std::clamp(x, 0.0, static_cast<double>(width_));
    y = std::clamp(y, 0.0, static_cast<double>(height_));
    if (!dragging_) return;
    if (auto value = valueAt(x, y)) setValueFromMouse(*value);
}

ucProgressBar::SurfaceSettings ucProgressBar::ReadProperties(const PropertyBag& bag,
                                                             const std::string& ambientFont) {
    captionCustom_ = read<std::string>(bag, "CaptionCustom", "");
    captionFormat_ = read<std::int32_t>(bag, "CaptionFormat", 0);
    max_ = read<std::int32_t>(bag, "Max", 100);
    min_ = read<std::int32_t>(bag, "Min", 0);
    orientation_ = read<std::int32_t>(bag, "Orientation", Horizontal);
    value_ = read<std::int32_t>(bag, "Value", 0);

    SurfaceSettings surface;
    surface.enabled = read<bool>(bag, "Enabled", true);
    surface.fontColor = read<std::int32_t>(bag, "FontColor", kButtonTextColor);
    surface.mouseIcon = read<std::string>(bag, "MouseIcon", "");
    surface.font = read<std::string>(bag, "Font", ambientFont);
    surface.barPictureFore = read<std::string>(bag, "BarPictureFore", "");
    surface.barPictureBack = read<std::string>(bag, "BarPictureBack", "");
    surface.mousePointer = readInt16(bag, "MousePointer", 0);

    // The loaded Value counts as reported, so the next change of Value (and only a change) raises Change.
    lastReported_ = value_;
    range_ = difference(max_, min_);
    return surface;
}

void ucProgressBar::WriteProperties(PropertyBag& bag, const SurfaceSettings& surface,
                                    const std::string& ambientFont) const {
    using Value = PropertyBag::Value;
    bag.WriteProperty("BarPictureFore", surface.barPictureFore, Value(std::string()));
    bag.WriteProperty("BarPictureBack", surface.barPictureBack, Value(std::string()));
    bag.WriteProperty("CaptionCustom", captionCustom_, Value(std::string()));
    bag.WriteProperty("CaptionFormat", captionFormat_, Value(0));
    bag.WriteProperty("Enabled", surface.enabled, Value(true));
    bag.WriteProperty("Font", surface.font, Value(ambientFont));
    bag.WriteProperty("FontColor", surface.fontColor, Value(kButtonTextColor));
    bag.WriteProperty("Max", max_, Value(100));
    bag.WriteProperty("Min", min_, Value(0));
    bag.WriteProperty("MouseIcon", surface.mouseIcon, Value(std::string()));
    bag.WriteProperty("Orientation", orientation_, Value(std::int32_t{Horizontal}));
    bag.WriteProperty("Value", value_, Value(0));
    bag.WriteProperty("MousePointer", std::int32_t{surface.mousePointer}, Value(0));
}
