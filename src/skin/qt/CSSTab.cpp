#include "skin/qt/CSSTab.h"

#include "base/AppFolder.h"
#include "skin/qt/SSTab.h"
#include "skin/qt/TabMDC.h"

#include <QEvent>
#include <QHoverEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace skin {

namespace {

constexpr unsigned CaptionFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE; // 37
const QString TabFontFace = QStringLiteral("宋体");
constexpr int TabFontSize = 12;
// Tabs are drawn at most this wide and high: no control comes near it, and beyond it a tab looks
// the same on screen (its middle is one stretched column, its far corners off the surface).
constexpr int DrawLimit = 1 << 20;

int buttonCode(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 3;
    default:
        return 0;
    }
}

} // namespace

CSSTab::CSSTab(QObject* parent) : QObject(parent) {}

CSSTab::~CSSTab() {
    Detach();
}

bool CSSTab::TabSkin(SSTab* control, const QString& skinName, const std::filesystem::path& appFolder) {
    QString relative = skinName;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    tabBitmap_ = Surface::loadBitmap(appFolder / "Skin" / relative.toStdString() / "Tab.bmp");
    return attach(control);
}

bool CSSTab::TabSkin(SSTab* control, const QString& skinName) {
    return TabSkin(control, skinName, base::applicationFolder());
}

void CSSTab::setTabWidth(int NewValue) {
    if (strip_.setTabWidth(NewValue) && control_) Redraw(true);
}

void CSSTab::setTabHeight(int NewValue) {
    if (strip_.setTabHeight(NewValue) && control_) Redraw(true);
}

void CSSTab::setColors(std::int32_t tabColor, std::int32_t tabBackColor) {
    tabColor_ = tabColor;
    tabBackColor_ = tabBackColor;
}

bool CSSTab::Focus() const {
    return control_ && control_->hasFocus();
}

bool CSSTab::attach(SSTab* control) {
    if (!control || control_) return false;
    control_ = control;
    controlHadHover_ = control->testAttribute(Qt::WA_Hover);
    // Hover events reach the control also while the mouse is over a child on one of its pages.
    control->setAttribute(Qt::WA_Hover);
    control->installEventFilter(this);
    connect(control, &SSTab::clicked, this, [this] { Redraw(true); });
    connect(control, &SSTab::tabsChanged, this, [this] { Redraw(true); });
    connect(control, &SSTab::destroying, this, &CSSTab::Detach);
    Resize(control->width(), control->height());
    strip_.clearHover();
    Redraw(true);
    return true;
}

bool CSSTab::Detach() {
    const bool wasAttached = !control_.isNull();
    if (control_) {
        control_->removeEventFilter(this);
        disconnect(control_, nullptr, this, nullptr);
        control_->setAttribute(Qt::WA_Hover, controlHadHover_);
        control_->update();
    }
    control_ = nullptr;
    back_ = Surface();
    front_ = Surface();
    strip_.clearHover();
    return wasAttached;
}

void CSSTab::Resize(int W, int H) {
    back_ = Surface(W, H);
    front_ = Surface(W, H);
    font_ = TabMDC::makeTabFont(TabFontFace, TabFontSize);
    DrawBackGround(back_, W, H);
    Redraw(false);
}

void CSSTab::DrawBackGround(Surface& dc, int Width, int Height) {
    TabMDC::fillRectAlpha(dc, 0, 0, Width, Height, toQRgb(tabBackColor_), 255);
    const TabImage column = TabStrip::backgroundImage();
    TabMDC::nineGridBlit(dc, 0, 0, Width, std::min(TabHeight(), DrawLimit), tabBitmap_, column.sx, column.sy,
                         column.sw, column.sh, column.margins);
}

void CSSTab::DrawTab(Surface& dc, int TabIndex, int State, int Left, int Top, int Width, int Height) {
    if (!control_ || !control_->isTabVisible(TabIndex)) return;
    const QImage picture = control_->tabPicture(TabIndex);
    const bool current = TabIndex == control_->currentTab();
    const bool hovered = State == 1;
    const TabImage image = TabStrip::imageOf(current, hovered);
    const int height = current || hovered ? Height : std::min(TabHeight(), DrawLimit);
    TabMDC::nineGridBlit(dc, Left, Top, Width, height, tabBitmap_, image.sx, image.sy, image.sw, image.sh,
                         image.margins, {}, picture);
    const int captionHeight = picture.isNull() ? Height : Height + TabStrip::PictureCaptionDrop;
    TabMDC::drawTabText(dc, control_->tabCaption(TabIndex), Left, Top, Width, captionHeight, CaptionFormat,
                        font_, toQRgb(tabColor_));
}

void CSSTab::Redraw(bool toScreen) {
    if (front_.isNull() || !control_) return;
    front_.bitBlt(0, 0, front_.width(), front_.height(), back_, 0, 0);
    const int width = std::min(TabWidth(), DrawLimit);
    const int height = std::min(TabHeight(), DrawLimit);
    const int count = control_->tabCount();
    // Tabs starting beyond the surface are cut off whole; the rest are clipped by the surface.
    for (int i = 0; i < count && strip_.tabLeft(i) < front_.width(); ++i)
        DrawTab(front_, i, i == strip_.hoveredTab() ? 1 : 0, int(strip_.tabLeft(i)), 0, width, height);
    if (toScreen) control_->update();
}

void CSSTab::pressAt(int button, int x, int y) {
    const TabStrip::Press press =
        strip_.press(button, x, y, control_->tabCount(), [this](int i) { return control_->isTabVisible(i); });
    // Selecting raises the control's click event, which redraws; the focus change redraws again.
    if (press.select >= 0) control_->setCurrentTab(press.select);
    if (press.focus && control_) control_->setFocus(Qt::MouseFocusReason);
}

bool CSSTab::eventFilter(QObject* watched, QEvent* event) {
    if (watched != control_) return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Paint: {
        QPainter painter(control_);
        if (!front_.isNull()) painter.drawImage(0, 0, front_.image());
        return true;
    }
    case QEvent::Resize:
        // A hidden control gets its resize when shown, often for the size it was drawn for already.
        if (control_->size() != QSize(back_.width(), back_.height()))
            Resize(control_->width(), control_->height());
        return false;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        Redraw(true);
        return false;
    case QEvent::HoverEnter:
    case QEvent::HoverMove: {
        const QPoint p = static_cast<QHoverEvent*>(event)->position().toPoint();
        if (strip_.mouseMove(p.x(), p.y(), control_->tabCount())) {
            Redraw(true);
            emit hoveredTabChanged(strip_.hoveredTab());
        }
        return false;
    }
    case QEvent::HoverLeave:
        if (strip_.clearHover()) {
            Redraw(true);
            emit hoveredTabChanged(-1);
        }
        return false;
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint p = mouse->position().toPoint();
        pressAt(buttonCode(mouse->button()), p.x(), p.y());
        return true;
    }
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        return true;
    default:
        return false;
    }
}

} // namespace skin
