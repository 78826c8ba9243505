#pragma once
// Composes a skinned frame: the nine pieces of main.bmp, the caption buttons from SysButton.bmp,
// the window icon and the caption text, into a back surface that is then copied to the front
// surface the window shows. Button fades blend into the front surface.

#include "skin/FrameLayout.h"
#include "skin/SkinValues.h"
#include "skin/qt/Surface.h"

#include <QFont>
#include <QIcon>
#include <QString>
#include <array>

namespace skin {

class FrameRenderer {
  public:
    FrameRenderer();

    void setSkin(Surface mainBitmap, Surface buttonBitmap, const SkinValues& values);
    const SkinValues& values() const { return values_; }
    // Releases the back and front surfaces (the skin bitmaps stay).
    void releaseSurfaces();
    // Makes the back and front surfaces at W x H (null when either is 0 or less).
    void makeSurfaces(int W, int H);

    struct Caption {
        QIcon icon; // null: no icon
        QString text;
    };
    // Composes the frame into the back surface and copies it to the front surface.
    void redraw(const FrameLayout& layout, const ButtonKeys& keys, const std::array<bool, 4>& visible,
                bool maximised, const Caption& caption);
    // Draws a new caption over the frame that redraw() composed for layout's size, in the caption's
    // strip only; false, drawing nothing, when no frame of that size is composed.
    bool redrawCaption(const FrameLayout& layout, const Caption& caption);
    // Blends the image of button index in state over the front surface with strength level.
    void blendButton(const FrameLayout& layout, const ButtonKeys& keys, int index, int state, int level,
                     bool maximised);

    const Surface& front() const { return front_; }
    const QFont& captionFont() const { return font_; }

  private:
    void composePieces(int W, int H);
    // Draws the icon and the caption text into the back surface.
    void drawCaption(const FrameLayout& layout, const Caption& caption);

    SkinValues values_;
    Surface main_;
    Surface buttons_;
    Surface back_;
    Surface front_;
    Surface pieces_;
    QFont font_;
};

} // namespace skin
