#include "catalogue/qt/WindowNote.h"

#include <QEvent>

WindowNote::WindowNote(QWidget* window) : QLabel(window) {
    setObjectName(QStringLiteral("WindowNote"));
    setAlignment(Qt::AlignCenter);
    setFocusPolicy(Qt::NoFocus);
    setStyleSheet(QStringLiteral("QLabel { background: #FFF8DC; color: #333333; border: 1px solid #C8B27A;"
                                 " border-radius: 6px; padding: 12px 28px; font-size: 14px; }"));
    hide();
    hideTimer_.setSingleShot(true);
    hideTimer_.setInterval(ShownMs);
    connect(&hideTimer_, &QTimer::timeout, this, &QWidget::hide);
    // Stays in the middle while the window is resized.
    window->installEventFilter(this);
}

void WindowNote::showNote(const QString& text) {
    setText(text);
    adjustSize();
    place();
    show();
    raise();
    hideTimer_.start();
}

void WindowNote::place() {
    const QWidget* window = parentWidget();
    move((window->width() - width()) / 2, (window->height() - height()) / 3);
}

void WindowNote::mousePressEvent(QMouseEvent*) {
    hideTimer_.stop();
    hide();
}

bool WindowNote::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize && isVisible()) place();
    return QLabel::eventFilter(watched, event);
}
