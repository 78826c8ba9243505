#include "skin/qt/FrameRenderer.h"

#include <QPainter>

namespace skin {

FrameRenderer::FrameRenderer() {
    // The caption face: the application's font, bold, 12 pixels, like a classic window caption.
    font_.setPixelSize(12);
    font_.setBold(true);
}

void FrameRenderer::setSkin(Surface mainBitmap, Surface buttonBitmap, const SkinValues& values) {
    main_ = std::move(mainBitmap);
    buttons_ = std::move(buttonBitmap);
    values_ = values;
    pieces_ = Surface(); // composed anew from the new skin
}

void FrameRenderer::releaseSurfaces() {
    back_ = Surface();
    front_ = Surface();
}

void FrameRenderer::makeSurfaces(int W, int H) {
    back_ = Surface(W, H);
    front_ = Surface(W, H);
}

void FrameRenderer::composePieces(int W, int H) {
    // The pieces are composed on a surface of the frame's size, kept between redraws of one size
    // and skin: a new caption or state of the window (each window's title is set as it opens) only
    // draws over them.
    if (pieces_.width() != W || pieces_.height() != H) {
        pieces_ = Surface(W, H);
        for (const BlitCopy& c : values_.framePieces(main_.width(), main_.height(), W, H)) {
            if (c.stretched)
                pieces_.stretchBlt(c.dx, c.dy, c.dw, c.dh, main_, c.sx, c.sy, c.sw, c.sh);
            else
                pieces_.bitBlt(c.dx, c.dy, c.dw, c.dh, main_, c.sx, c.sy);
        }
    }
    back_.bitBlt(0, 0, W, H, pieces_, 0, 0);
}

void FrameRenderer::redraw(const FrameLayout& layout, const ButtonKeys& keys,
                           const std::array<bool, 4>& visible, bool maximised, const Caption& caption) {
    if (back_.isNull() || front_.isNull()) return;
    const int W = layout.width;
    const int H = layout.height;
    composePieces(W, H);

    for (int i = 0; i < FrameLayout::ButtonCount; ++i) {
        if (!visible[i]) continue;
        const Rect& b = layout.buttons[i];
        // For drawing only, negative positions count from the right and bottom edges.
        int x = b.left < 0 ? b.left + W : b.left;
        int y = b.top < 0 ? b.top + H : b.top;
        Rect image = buttonImage(keys, buttons_.width(), i, 0, maximised);
        back_.bitBlt(x, y, b.width(), b.height(), buttons_, image.left, image.top);
    }

    drawCaption(layout, caption);
    front_.bitBlt(0, 0, W, H, back_, 0, 0);
}

// The caption's strip, left of the buttons and above the content, is drawn anew from the composed
// pieces; the rest of the frame is left as it is.
bool FrameRenderer::redrawCaption(const FrameLayout& layout, const Caption& caption) {
    if (back_.isNull() || front_.isNull() || pieces_.width() != layout.width ||
        pieces_.height() != layout.height)
        return false;
    const Rect strip{0, 0, layout.band.left, layout.content.top};
    back_.bitBlt(strip.left, strip.top, strip.width(), strip.height(), pieces_, strip.left, strip.top);
    drawCaption(layout, caption);
    front_.bitBlt(strip.left, strip.top, strip.width(), strip.height(), back_, strip.left, strip.top);
    return true;
}

void FrameRenderer::drawCaption(const FrameLayout& layout, const Caption& caption) {
    const bool hasIcon = !caption.icon.isNull();
    if (hasIcon) {
        QPainter painter(&back_.image());
        caption.icon.paint(&painter, QRect(4, 8, 16, 16));
    }
    const int cy = QFontMetrics(font_).height();
    Rect text = layout.captionText(hasIcon, cy);
    back_.drawText(caption.text, QRect(text.left, text.top, text.width(), text.height()),
                   DT_SINGLELINE | DT_END_ELLIPSIS, font_, toQRgb(values_.captionColor));
}

void FrameRenderer::blendButton(const FrameLayout& layout, const ButtonKeys& keys, int index, int state,
                                int level, bool maximised) {
    const Rect& b = layout.buttons[index];
    Rect image = buttonImage(keys, buttons_.width(), index, state, maximised);
    front_.alphaBlend(b.left, b.top, b.width(), b.height(), buttons_, image.left, image.top, image.width(),
                      image.height(), level);
}

} // namespace skin
