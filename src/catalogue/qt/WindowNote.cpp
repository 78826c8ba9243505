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
    if (!isVisible()) lines_.clear();
    if (!lines_.contains(text)) lines_.append(text);
    while (lines_.size() > MostLines)
        lines_.removeFirst();
    setText(lines_.join(QLatin1Char('\n')));
    adjustSize();
    place();
    show();
    raise();
    hideTimer_.stop();
    startHideTimerWhenSeen();
}

void WindowNote::startHideTimerWhenSeen() {
    if (isVisible() && !hideTimer_.isActive() && parentWidget()->isActiveWindow()) hideTimer_.start();
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
    // The time runs only while the window is the active one: a viewer that comes over the window
    // stops it, and the player coming back gives the note its whole time again.
    if (watched == parentWidget() && event->type() == QEvent::WindowDeactivate) hideTimer_.stop();
    if (watched == parentWidget() && event->type() == QEvent::WindowActivate) startHideTimerWhenSeen();
    return QLabel::eventFilter(watched, event);
}
