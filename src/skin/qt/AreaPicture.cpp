#include "skin/qt/AreaPicture.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <array>

namespace skin {

namespace {

// Home, games, video, music, life, tools, reading, search.
const std::array<QColor, 8> AreaColours = {QColor("#E8833A"), QColor("#3C8DDE"), QColor("#D9534F"),
                                           QColor("#9B59B6"), QColor("#27AE60"), QColor("#7F8C8D"),
                                           QColor("#16A085"), QColor("#F1C40F")};

} // namespace

QImage AreaPicture(int area, const QString& caption) {
    const QColor colour = AreaColours[static_cast<std::size_t>(std::abs(area)) % AreaColours.size()];
    QImage image(48, 48, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour.darker(125));
    p.drawRoundedRect(QRectF(5, 6, 38, 38), 9, 9);
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(5, 4, 38, 38), 9, 9);
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(22);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(5, 4, 38, 38), Qt::AlignCenter, caption.left(1));
    return image;
}

} // namespace skin
