#include "SkinArt.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// Frame geometry shared by the bundled skins (pixels).
constexpr int TopLeft = 10, TopCeter = 40, TopRight = 10, TopHeight = 31;
constexpr int CetLeft = 2, CetCeter = 56, CetRight = 2, CetHeight = 26;
constexpr int BotLeft = 3, BotCeter = 54, BotRight = 3, BotHeight = 3;
constexpr int Corner = 9; // SizeX1 = SizeY1
constexpr int CmdHeight = 22, CmdTop = 1, CmdWidth = 30, CloseWidth = 44;
constexpr const char* CmdLeft = "-1";

QColor mix(const QColor& a, const QColor& b, double t) {
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t);
}

} // namespace

QColor SkinArt::captionAt(int y) const {
    if (y <= 0) return outline;
    if (y == 1) return highlight;
    if (y >= TopHeight - 1) return mix(captionBottom, outline, 0.35);
    return mix(captionTop, captionBottom, double(y - 2) / (TopHeight - 4));
}

QImage SkinArt::mainBitmap() const {
    const int w = CetLeft + CetCeter + CetRight;
    const int h = TopHeight + CetHeight + BotHeight;
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(outline);
    QPainter p(&image);
    for (int y = 1; y < TopHeight; ++y)
        p.fillRect(1, y, w - 2, 1, captionAt(y));
    p.fillRect(1, TopHeight, w - 2, h - TopHeight - 1, border);
    p.fillRect(CetLeft, TopHeight, CetCeter, CetHeight + BotHeight - 3, content);
    // The top corners are rounded by the window shape; soften the outline along the curve.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(outline, 1));
    p.setBrush(Qt::NoBrush);
    QPainterPath round;
    round.addRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), Corner / 2.0, Corner / 2.0);
    p.drawPath(round);
    return image;
}

QImage SkinArt::buttonBitmap() const {
    const int columns = 4; // skin menu, minimise, maximise, restore; then close
    const int w = CloseWidth + columns * CmdWidth;
    QImage image(w, 3 * CmdHeight, QImage::Format_RGB32);
    QPainter p(&image);
    for (int state = 0; state < 3; ++state) {
        const int top = state * CmdHeight;
        for (int y = 0; y < CmdHeight; ++y)
            p.fillRect(0, top + y, w, 1, captionAt(CmdTop + y));
        for (int column = 0; column <= columns; ++column) {
            const bool close = column == columns;
            const QRect cell(column * CmdWidth, top, close ? CloseWidth : CmdWidth, CmdHeight);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(Qt::NoPen);
            if (state > 0) {
                QColor fill =
                    close ? (state == 1 ? closeHover : closePressed) : (state == 1 ? hover : pressed);
                p.setBrush(fill);
                p.drawRoundedRect(QRectF(cell).adjusted(1, 0, -1, -1), 3, 3);
            }
            QColor ink = close && state > 0 ? QColor(Qt::white) : glyph;
            const QPointF c = QRectF(cell).center() + QPointF(0, state == 2 ? 1 : 0);
            QPen pen(ink, 1.2);
            pen.setCapStyle(Qt::SquareCap);
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            switch (column) {
            case 0: { // skin menu: a shirt
                QPolygonF shirt;
                shirt << c + QPointF(-2, -5) << c + QPointF(-6, -3) << c + QPointF(-5, 0)
                      << c + QPointF(-3, -1) << c + QPointF(-3, 5) << c + QPointF(3, 5) << c + QPointF(3, -1)
                      << c + QPointF(5, 0) << c + QPointF(6, -3) << c + QPointF(2, -5) << c + QPointF(0, -3);
                p.drawPolygon(shirt);
                break;
            }
            case 1: // minimise
                p.drawLine(c + QPointF(-5, 3.5), c + QPointF(5, 3.5));
                break;
            case 2: // maximise
                p.drawRect(QRectF(c + QPointF(-5, -4.5), QSizeF(10, 9)));
                p.drawLine(c + QPointF(-5, -3.5), c + QPointF(5, -3.5));
                break;
            case 3: // restore
                p.drawRect(QRectF(c + QPointF(-5, -2.5), QSizeF(8, 7)));
                p.drawPolyline(QPolygonF{c + QPointF(-3, -2.5), c + QPointF(-3, -4.5), c + QPointF(5, -4.5),
                                         c + QPointF(5, 2.5), c + QPointF(3, 2.5)});
                break;
            default: // close
                pen.setWidthF(1.5);
                p.setPen(pen);
                p.drawLine(c + QPointF(-4.5, -4.5), c + QPointF(4.5, 4.5));
                p.drawLine(c + QPointF(-4.5, 4.5), c + QPointF(4.5, -4.5));
                break;
            }
        }
    }
    return image;
}

QString SkinArt::skinIni() const {
    QStringList lines{
        "[Main]",
        QString("TopLeft = %1").arg(TopLeft),
        QString("TopRight = %1").arg(TopRight),
        QString("TopCeter = %1").arg(TopCeter),
        QString("TopHeight = %1").arg(TopHeight),
        QString("CetLeft = %1").arg(CetLeft),
        QString("CetRight = %1").arg(CetRight),
        QString("CetCeter = %1").arg(CetCeter),
        QString("CetHeight = %1").arg(CetHeight),
        QString("BotLeft = %1").arg(BotLeft),
        QString("BotRight = %1").arg(BotRight),
        QString("BotCeter = %1").arg(BotCeter),
        QString("BotHeight = %1").arg(BotHeight),
        QString("CaptionColor = %1").arg(captionColor),
        QString("SizeX1 = %1").arg(Corner),
        QString("SizeY1 = %1").arg(Corner),
        QString("Cmd.Height = %1").arg(CmdHeight),
        QString("CmdClose.Width = %1").arg(CloseWidth),
        QString("Cmd.Top = %1").arg(CmdTop),
        QString("Cmd.Left = %1").arg(CmdLeft),
        QString("Cmd.Width = %1").arg(CmdWidth),
        "[Color]",
        QString("TabColor = %1").arg(tabColor),
        QString("TabBackColor = %1").arg(tabBackColor),
        QString("WebBackColor = %1").arg(webBackColor),
    };
    return lines.join("\r\n") + "\r\n";
}
