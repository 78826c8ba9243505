#include "skin/qt/DirectUI.h"

#include "base/AppFolder.h"
#include "skin/RoundRegion.h"
#include "skin/qt/LoadWebPicture.h"
#include "skin/qt/ShowSkinMenu.h"

#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QScreen>
#include <QTimer>
#include <QTimerEvent>
#include <QWindow>

namespace skin {

namespace {

constexpr int FadeInterval = 15; // milliseconds between fade steps

Qt::CursorShape cursorShape(FrameCursor cursor) {
    switch (cursor) {
    case FrameCursor::DiagonalDown:
        return Qt::SizeFDiagCursor;
    case FrameCursor::DiagonalUp:
        return Qt::SizeBDiagCursor;
    case FrameCursor::Horizontal:
        return Qt::SizeHorCursor;
    case FrameCursor::Vertical:
        return Qt::SizeVerCursor;
    case FrameCursor::Arrow:
        break;
    }
    return Qt::ArrowCursor;
}

Qt::Edges edgesOf(BorderZone zone) {
    switch (zone) {
    case BorderZone::TopLeft:
        return Qt::TopEdge | Qt::LeftEdge;
    case BorderZone::Top:
        return Qt::TopEdge;
    case BorderZone::TopRight:
        return Qt::TopEdge | Qt::RightEdge;
    case BorderZone::Left:
        return Qt::LeftEdge;
    case BorderZone::Right:
        return Qt::RightEdge;
    case BorderZone::BottomLeft:
        return Qt::BottomEdge | Qt::LeftEdge;
    case BorderZone::Bottom:
        return Qt::BottomEdge;
    case BorderZone::BottomRight:
        return Qt::BottomEdge | Qt::RightEdge;
    case BorderZone::None:
        break;
    }
    return {};
}

QRect toQRect(const Rect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}

} // namespace

DirectUI::DirectUI(QObject* parent) : QObject(parent), mouse_(*this), interceptor_(*this) {}

DirectUI::~DirectUI() {
    fade_.stop();
    interceptor_.removeAll();
}

void DirectUI::Skin(const QString& SkinNames, QWidget* hwnd) {
    Skin(SkinNames, hwnd, base::applicationFolder());
}

void DirectUI::Skin(const QString& SkinNames, QWidget* hwnd, const std::filesystem::path& applicationFolder) {
    renderer_.releaseSurfaces();
    skinFolder_ = applicationFolder / "Skin" / SkinNames.toStdString();
    Surface mainBitmap = LoadWebPicture(skinFolder_ / "main.bmp");
    Surface buttonBitmap = LoadWebPicture(skinFolder_ / "SysButton.bmp");
    ini_.SpecifyIni((skinFolder_ / "Skin.ini").string());
    SkinValues values = renderer_.values();
    values.read([this](std::string_view key) { return readMain(key); });
    renderer_.setSkin(std::move(mainBitmap), std::move(buttonBitmap), values);
    // A window already taken over keeps its interception; it is drawn again with the new skin.
    if (!attach(hwnd) && window_) layout();
}

std::string DirectUI::readMain(std::string_view key) {
    return ini_.ReadString("Main", key, 100);
}

bool DirectUI::attach(QWidget* window) {
    if (window_ || !window) return false;
    window_ = window;
    window->setAttribute(Qt::WA_OpaquePaintEvent);
    window->setAttribute(Qt::WA_NoSystemBackground);
    window->setMouseTracking(true);
    mouse_.setSizable(window->minimumSize() != window->maximumSize());
    const bool shown = window->isVisible();
    window->setWindowFlags(window->windowFlags() | Qt::FramelessWindowHint);
    if (shown) window->show();

    interceptor_.intercept(window);
    using E = EventInterceptor;
    for (auto type :
         {QEvent::Resize, QEvent::WindowStateChange, QEvent::Leave, QEvent::WindowActivate,
          QEvent::WindowDeactivate, QEvent::Show, QEvent::WindowTitleChange, QEvent::WindowIconChange})
        interceptor_.addMessage(window, type, E::After);
    for (auto type : {QEvent::Paint, QEvent::KeyPress, QEvent::KeyRelease, QEvent::MouseMove,
                      QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick})
        interceptor_.addMessage(window, type, E::Before);
    watchPlatformWindow();
    layout();
    return true;
}

// A widget gets no leave when the mouse moves onto one of its children, so a lit caption button
// would stay lit once the mouse crossed from it onto a child. The platform window sees every move
// over the window, children included.
void DirectUI::watchPlatformWindow() {
    QWindow* platform = window_ ? window_->windowHandle() : nullptr;
    if (!platform || platform == platformWindow_) return;
    if (platformWindow_) platformWindow_->removeEventFilter(this);
    platformWindow_ = platform;
    platform->installEventFilter(this);
}

bool DirectUI::eventFilter(QObject* watched, QEvent* event) {
    if (watched == platformWindow_ && event->type() == QEvent::MouseMove && window_) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (window_->childAt(at)) mouse_.mouseLeave();
    }
    return QObject::eventFilter(watched, event);
}

void DirectUI::layout() {
    if (!window_) return;
    renderer_.releaseSurfaces();
    laidOut_ = window_->size();
    const int W = window_->width();
    const int H = window_->height();
    keys_ = ButtonKeys::read([this](std::string_view key) { return readMain(key); });
    if (!keys_) {
        window_->update();
        return;
    }
    FrameLayout frame = FrameLayout::compute(W, H, *keys_);
    mouse_.setLayout(frame);

    if (isMaximised()) {
        window_->clearMask();
    } else {
        QRegion shape;
        const SkinValues& v = renderer_.values();
        for (const Rect& band : roundRectBands(W, H, v.sizeX1, v.sizeY1))
            shape += toQRect(band);
        window_->setMask(shape);
    }
    renderer_.makeSurfaces(W, H);
    redraw();

    // The smallest size keeps the caption buttons and some caption visible. Set last: it may
    // resize the window, which lays it out again.
    if (mouse_.sizable()) {
        SizeLimits limits = frame.sizeLimits(workArea(), 0);
        QSize smallest(std::max(1, limits.minWidth), std::max(1, limits.minHeight));
        if (window_->minimumSize() != smallest) window_->setMinimumSize(smallest);
    }
}

void DirectUI::redraw() {
    if (!window_ || !keys_) return;
    renderer_.redraw(mouse_.layout(), *keys_, mouse_.visibleFlags(), isMaximised(),
                     {window_->windowIcon(), window_->windowTitle()});
    window_->update();
}

// Only the caption's strip changes: a window's title is set as it opens, and drawing the whole
// frame again took a good part of a viewer's opening.
void DirectUI::redrawCaption() {
    if (!window_ || !keys_) return;
    if (!renderer_.redrawCaption(mouse_.layout(), {window_->windowIcon(), window_->windowTitle()}))
        return redraw();
    window_->update();
}

Rect DirectUI::workArea() const {
    QScreen* screen = window_ ? window_->screen() : nullptr;
    QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    return Rect::fromSize(area.x(), area.y(), area.width(), area.height());
}

void DirectUI::zSubclass_Proc(bool, bool& bHandled, bool& lReturn, QObject*, QEvent* event) {
    QPointer<DirectUI> self(this); // a handler below may close the window and end this object
    switch (event->type()) {
    case QEvent::Resize:
        // A hidden window gets its resize when shown, often for the size it was laid out for already.
        if (window_->size() != laidOut_) layout();
        break;
    case QEvent::WindowStateChange:
        layout();
        break;
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        redraw();
        return;                     // the window's own result stands
    case QEvent::WindowTitleChange: // the frame draws the caption and the icon
    case QEvent::WindowIconChange:
        redrawCaption();
        return;
    case QEvent::Paint: {
        QPainter painter(window_);
        const QRect area = static_cast<QPaintEvent*>(event)->rect();
        if (renderer_.front().isNull())
            painter.fillRect(area, Qt::black);
        else
            painter.drawImage(area, renderer_.front().image(), area);
        break;
    }
    case QEvent::Leave:
        mouse_.mouseLeave();
        break;
    case QEvent::Show:
        watchPlatformWindow(); // the platform window is made when the window is first shown
        return;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        break; // keys addressed to the window itself are dropped; its controls get their own
    default:
        if (!mouseEvent(event)) return;
        break;
    }
    if (!self) return;
    bHandled = true;
    lReturn = true;
}

int DirectUI::buttonCode(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return FrameMouse::Left;
    case Qt::RightButton:
        return FrameMouse::Right;
    case Qt::MiddleButton:
        return FrameMouse::Middle;
    default:
        return FrameMouse::None;
    }
}

bool DirectUI::mouseEvent(QEvent* event) {
    auto* e = dynamic_cast<QMouseEvent*>(event);
    if (!e) return false;
    lastGlobal_ = e->globalPosition();
    const double x = e->position().x();
    const double y = e->position().y();
    switch (event->type()) {
    case QEvent::MouseMove: {
        if (drag_) {
            if (!(e->buttons() & Qt::LeftButton)) {
                drag_.reset();
            } else {
                Rect r = drag_->geometryAt(qRound(lastGlobal_.x()), qRound(lastGlobal_.y()));
                window_->setGeometry(r.left, r.top, r.width(), r.height());
                return true;
            }
        }
        Qt::MouseButtons held = e->buttons();
        int code = held & Qt::MiddleButton  ? FrameMouse::Middle
                   : held & Qt::RightButton ? FrameMouse::Right
                   : held & Qt::LeftButton  ? FrameMouse::Left
                                            : FrameMouse::None;
        // Before every move it does not capture, the platform puts back the window's own cursor
        // (the arrow), and the frame then sets a sizing cursor over a border. A widget keeps a
        // cursor until it is changed, so the arrow is put back here where the frame set none.
        const bool uncaptured = mouse_.captureArea() == FrameArea::None;
        cursorSet_ = false;
        mouse_.mouseMove(code, x, y);
        if (uncaptured && !cursorSet_ && window_ && window_->testAttribute(Qt::WA_SetCursor))
            window_->unsetCursor();
        return true;
    }
    case QEvent::MouseButtonPress:
        if (int code = buttonCode(e->button())) mouse_.mouseDown(code, x, y);
        return true;
    case QEvent::MouseButtonRelease:
        if (drag_ && e->button() == Qt::LeftButton) {
            drag_.reset();
            return true;
        }
        if (int code = buttonCode(e->button())) mouse_.mouseUp(code, x, y);
        return true;
    case QEvent::MouseButtonDblClick:
        if (int code = buttonCode(e->button())) mouse_.doubleClick(code, x, y);
        return true;
    default:
        return false;
    }
}

bool DirectUI::isMaximised() const {
    return window_ && window_->isMaximized();
}

bool DirectUI::hasIcon() const {
    return window_ && !window_->windowIcon().isNull();
}

// The widget holds the mouse from a press to its release by itself (Qt's implicit grab), so the
// frame needs no capture of its own.
void DirectUI::captureMouse() {}
void DirectUI::releaseMouse() {}

void DirectUI::setCursor(FrameCursor cursor) {
    cursorSet_ = true;
    if (window_) window_->setCursor(cursorShape(cursor));
}

void DirectUI::startSizing(BorderZone zone) {
    QWindow* handle = window_ ? window_->windowHandle() : nullptr;
    if (!handle || handle->startSystemResize(edgesOf(zone))) return;
    const QRect g = window_->geometry();
    SizeLimits limits = mouse_.layout().sizeLimits(workArea(), 0);
    drag_ = ManualDrag::size(zone, qRound(lastGlobal_.x()), qRound(lastGlobal_.y()),
                             Rect::fromSize(g.x(), g.y(), g.width(), g.height()), window_->minimumWidth(),
                             window_->minimumHeight(), limits.maxWidth, limits.maxHeight);
}

void DirectUI::startMoving() {
    QWindow* handle = window_ ? window_->windowHandle() : nullptr;
    if (!handle || handle->startSystemMove()) return;
    const QRect g = window_->geometry();
    drag_ = ManualDrag::move(qRound(lastGlobal_.x()), qRound(lastGlobal_.y()),
                             Rect::fromSize(g.x(), g.y(), g.width(), g.height()));
}

QMenu* DirectUI::makeSystemMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    const bool maximised = isMaximised();
    menu->addAction(tr("还原(&R)"), this, &DirectUI::toggleMaximised)->setEnabled(maximised);
    menu->addAction(tr("最小化(&N)"), this, &DirectUI::minimise)->setEnabled(MinButton());
    menu->addAction(tr("最大化(&X)"), this, &DirectUI::toggleMaximised)
        ->setEnabled(!maximised && MaxButton() && mouse_.sizable());
    menu->addSeparator();
    QAction* close = menu->addAction(tr("关闭(&C)"), window_, &QWidget::close);
    close->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    return menu;
}

void DirectUI::showSystemMenu() {
    if (!window_) return;
    QMenu* menu = makeSystemMenu(window_);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(QCursor::pos());
}

void DirectUI::toggleMaximised() {
    if (!window_) return;
    // A window on screen is not minimised, whatever state a minimise nobody carried out left.
    const Qt::WindowStates state = window_->windowState() & ~Qt::WindowMinimized;
    if (isMaximised()) {
        window_->setWindowState(state & ~Qt::WindowMaximized);
        if (normalGeometry_.isValid()) window_->setGeometry(normalGeometry_);
        return;
    }
    normalGeometry_ = window_->geometry();
    SizeLimits limits = mouse_.layout().sizeLimits(workArea(), 0);
    // Without a window manager nobody else gives the window the work area. The state comes after
    // the geometry, because a new geometry ends a maximised state.
    window_->setGeometry(limits.maxLeft, limits.maxTop, limits.maxWidth, limits.maxHeight);
    window_->setWindowState(state | Qt::WindowMaximized);
}

void DirectUI::minimise() {
    if (!window_) return;
    window_->showMinimized();
    QTimer::singleShot(MinimiseCheckMs, this, &DirectUI::undoUnheededMinimise);
}

// Without a window manager a minimise request goes unanswered: the window stays on screen but
// keeps the minimised state, and a window that believes it is minimised lays nothing out. A window
// still shown and exposed once a window manager would long have hidden it is taken back to its
// other state.
void DirectUI::undoUnheededMinimise() {
    if (!window_ || !window_->isMinimized() || !window_->isVisible()) return;
    const QWindow* handle = window_->windowHandle();
    if (handle && handle->isExposed()) window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
}

void DirectUI::buttonClicked(int index, int menuX, int menuY) {
    QPointer<DirectUI> self(this);
    int buttonIndex = index;
    bool cancel = false;
    emit ControlButtonClick(buttonIndex, menuX, menuY, cancel);
    if (!self || cancel || !window_) return;
    switch (index) {
    case 0:
        window_->close();
        break;
    case 1:
        toggleMaximised();
        break;
    case 2:
        minimise();
        break;
    case 3:
        ShowSkinMenu();
        break;
    }
}

void DirectUI::startFadeTimer() {
    fade_.start(FadeInterval, this);
}

void DirectUI::stopFadeTimer() {
    fade_.stop();
}

void DirectUI::timerEvent(QTimerEvent* event) {
    if (event->timerId() == fade_.timerId())
        mouse_.fadeTick();
    else
        QObject::timerEvent(event);
}

void DirectUI::blendButton(int index, int state, int level) {
    if (keys_) renderer_.blendButton(mouse_.layout(), *keys_, index, state, level, isMaximised());
}

void DirectUI::presentFront() {
    if (!window_) return;
    QRect changed;
    for (const Rect& b : mouse_.layout().buttons)
        changed |= toQRect(b);
    window_->update(changed);
}

} // namespace skin
