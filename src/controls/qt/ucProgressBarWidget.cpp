#include "controls/qt/ucProgressBarWidget.h"

#include "controls/ProgressBarError.h"
#include "controls/qt/SystemColour.h"

#include <QApplication>
#include <QBuffer>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <array>

namespace {

std::string pngBytes(const QImage& image) {
    if (image.isNull()) return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

QImage imageOf(const std::string& bytes) {
    return bytes.empty() ? QImage() : QImage::fromData(QByteArray::fromStdString(bytes));
}

std::int16_t buttonNumber(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return ucProgressBar::LeftButton;
    case Qt::RightButton:
        return ucProgressBar::RightButton;
    case Qt::MiddleButton:
        return ucProgressBar::MiddleButton;
    default:
        return 0;
    }
}

} // namespace

ucProgressBarWidget::ucProgressBarWidget(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    model_.Repaint = [this] { takeFrame(); };
    model_.Change = [this] { emit Change(); };
    model_.ArrivedLast = [this] { emit ArrivedLast(); };
    model_.ArrivedFirst = [this] { emit ArrivedFirst(); };
    model_.setSurfaceSize(width(), height());
}

bool ucProgressBarWidget::accept(const std::function<void()>& assignment) {
    try {
        assignment();
        return true;
    } catch (const ProgressBarError&) {
        return false;
    }
}

bool ucProgressBarWidget::setValue(std::int32_t value) {
    return accept([&] { model_.setValue(value); });
}

bool ucProgressBarWidget::setMin(std::int32_t min) {
    return accept([&] { model_.setMin(min); });
}

bool ucProgressBarWidget::setMax(std::int32_t max) {
    return accept([&] { model_.setMax(max); });
}

void ucProgressBarWidget::setBarPictureBack(const QImage& picture) {
    back_ = picture;
    applySize();
}

void ucProgressBarWidget::setBarPictureFore(const QImage& picture) {
    fore_ = picture;
    applySize();
}

void ucProgressBarWidget::setFontColor(std::int32_t color) {
    fontColor_ = color;
    model_.Refresh();
}

void ucProgressBarWidget::setMousePointer(std::int16_t pointer) {
    mousePointer_ = pointer;
    applyPointer();
}

void ucProgressBarWidget::setMouseIcon(const QImage& icon) {
    mouseIcon_ = icon;
    applyPointer();
}

void ucProgressBarWidget::applySize() {
    if (back_.isNull()) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        setFixedSize(back_.size()); // resizes now when the widget is shown or not
    }
    model_.Refresh();
}

void ucProgressBarWidget::applyPointer() {
    static constexpr std::array<Qt::CursorShape, 16> shapes = {
        Qt::ArrowCursor,     Qt::ArrowCursor,   Qt::CrossCursor,     Qt::IBeamCursor,
        Qt::ArrowCursor,     Qt::SizeAllCursor, Qt::SizeBDiagCursor, Qt::SizeVerCursor,
        Qt::SizeFDiagCursor, Qt::SizeHorCursor, Qt::UpArrowCursor,   Qt::WaitCursor,
        Qt::ForbiddenCursor, Qt::BusyCursor,    Qt::WhatsThisCursor, Qt::SizeAllCursor};
    if (mousePointer_ == 99 && !mouseIcon_.isNull())
        setCursor(QCursor(QPixmap::fromImage(mouseIcon_)));
    else if (mousePointer_ > 0 && mousePointer_ < static_cast<int>(shapes.size()))
        setCursor(shapes[mousePointer_]);
    else
        unsetCursor();
}

void ucProgressBarWidget::takeFrame() {
    frame_ = model_.frame();
    QFontMetricsF metrics(font());
    auto [x, y] = ucProgressBar::captionOrigin(width(), height(), metrics.horizontalAdvance(caption()),
                                               metrics.height());
    captionAt_ = QPoint(x, y);
    update();
}

void ucProgressBarWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!back_.isNull()) painter.drawImage(0, 0, back_);
    if (frame_.fore) {
        const auto& r = *frame_.fore;
        QRect part = QRect(r.x, r.y, r.width, r.height) & fore_.rect();
        if (!part.isEmpty()) painter.drawImage(part.topLeft(), fore_, part); // unscaled, same place
    }
    if (!frame_.caption.empty()) {
        painter.setFont(font());
        painter.setPen(systemColour(fontColor_, palette(), QPalette::WindowText));
        painter.drawText(QPointF(captionAt_) + QPointF(0, QFontMetricsF(font()).ascent()), caption());
    }
}

void ucProgressBarWidget::resizeEvent(QResizeEvent*) {
    model_.setSurfaceSize(width(), height());
}

void ucProgressBarWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) model_.Refresh();
    QWidget::changeEvent(event);
}

void ucProgressBarWidget::mousePressEvent(QMouseEvent* event) {
    clickPending_ = true;
    model_.mousePress(buttonNumber(event->button()), event->position().x(), event->position().y());
}

void ucProgressBarWidget::mouseMoveEvent(QMouseEvent* event) {
    model_.mouseMove(event->position().x(), event->position().y());
}

void ucProgressBarWidget::mouseReleaseEvent(QMouseEvent* event) {
    model_.mouseRelease();
    bool clicked = clickPending_ && rect().contains(event->position().toPoint());
    clickPending_ = false;
    if (clicked) emit Click();
}

void ucProgressBarWidget::mouseDoubleClickEvent(QMouseEvent*) {
    // The second press of a double click repeats the first one; it makes no click of its own.
    clickPending_ = false;
    model_.mouseDoubleClick();
}

QFont ucProgressBarWidget::ambientFont() const {
    return parentWidget() ? parentWidget()->font() : QApplication::font();
}

void ucProgressBarWidget::ReadProperties(const PropertyBag& bag) {
    auto surface = model_.ReadProperties(bag, ambientFont().toString().toStdString());
    setEnabled(surface.enabled);
    fontColor_ = surface.fontColor;
    mouseIcon_ = imageOf(surface.mouseIcon);
    QFont font;
    if (font.fromString(QString::fromStdString(surface.font)) && font != this->font()) setFont(font);
    fore_ = imageOf(surface.barPictureFore);
    back_ = imageOf(surface.barPictureBack);
    mousePointer_ = surface.mousePointer;
    applyPointer();
    applySize(); // the host sizes a loaded control, which takes its back picture's size
}

void ucProgressBarWidget::WriteProperties(PropertyBag& bag) const {
    ucProgressBar::SurfaceSettings surface;
    surface.enabled = !testAttribute(Qt::WA_ForceDisabled); // its own setting, not its parent's
    surface.fontColor = fontColor_;
    surface.font = font().toString().toStdString();
    surface.mouseIcon = pngBytes(mouseIcon_);
    surface.barPictureFore = pngBytes(fore_);
    surface.barPictureBack = pngBytes(back_);
    surface.mousePointer = mousePointer_;
    model_.WriteProperties(bag, surface, ambientFont().toString().toStdString());
}
