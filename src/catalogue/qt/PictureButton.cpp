#include "catalogue/qt/PictureButton.h"

#include <QMouseEvent>
#include <QPainter>

PictureButton::PictureButton(const QImage& picture, QSize size, QWidget* parent)
    : QWidget(parent), picture_(picture) {
    setFixedSize(size);
    setCursor(Qt::PointingHandCursor);
}

void PictureButton::setClickable(bool clickable) {
    clickable_ = clickable;
    pressed_ = false;
    setCursor(clickable ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void PictureButton::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    QPainter p(this);
    p.drawImage(0, 0, picture_);
}

void PictureButton::mousePressEvent(QMouseEvent* event) {
    pressed_ = clickable_ && event->button() == Qt::LeftButton;
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click) emit clicked();
}
