#include "skin/qt/SSTab.h"

#include <QKeyEvent>
#include <QResizeEvent>

namespace skin {
namespace {
constexpr int TwipsPerPixel = 15;
}

SSTab::SSTab(QWidget* parent) : QWidget(parent) {
    // Keyboard focus comes from the tab row's click handling and from tabbing, not from any click
    // into the control: a click on a hidden tab must not focus it.
    setFocusPolicy(Qt::TabFocus);
}

SSTab::~SSTab() {
    emit destroying();
}

void SSTab::setTabCount(int count) {
    count = std::max(count, 0);
    if (count == tabCount()) return;
    while (tabCount() > count) {
        delete tabs_.back().page;
        tabs_.pop_back();
    }
    while (tabCount() < count) {
        auto* page = new QWidget(this);
        page->setGeometry(rect());
        page->hide();
        tabs_.push_back(Tab{{}, {}, true, page});
    }
    const int previous = current_;
    if (current_ >= count) current_ = count - 1;
    if (current_ < 0 && count > 0) current_ = 0;
    showCurrentPage();
    emit tabsChanged();
    if (current_ != previous && previous >= 0 && current_ >= 0) emit clicked(previous);
}

void SSTab::setCurrentTab(int index) {
    if (!inRange(index) || index == current_) return;
    const int previous = current_;
    current_ = index;
    showCurrentPage();
    emit clicked(previous);
}

QString SSTab::tabCaption(int index) const {
    return inRange(index) ? tabs_[index].caption : QString();
}

void SSTab::setTabCaption(int index, const QString& caption) {
    if (!inRange(index) || tabs_[index].caption == caption) return;
    tabs_[index].caption = caption;
    emit tabsChanged();
}

bool SSTab::isTabVisible(int index) const {
    return inRange(index) && tabs_[index].visible;
}

void SSTab::setTabVisible(int index, bool visible) {
    if (!inRange(index) || tabs_[index].visible == visible) return;
    tabs_[index].visible = visible;
    emit tabsChanged();
}

QImage SSTab::tabPicture(int index) const {
    return inRange(index) ? tabs_[index].picture : QImage();
}

void SSTab::setTabPicture(int index, const QImage& picture) {
    if (!inRange(index)) return;
    tabs_[index].picture = picture;
    emit tabsChanged();
}

QWidget* SSTab::page(int index) const {
    return inRange(index) ? tabs_[index].page : nullptr;
}

void SSTab::setTabHeightTwips(int twips) {
    tabHeightTwips_ = std::max(twips, 0);
}

int SSTab::tabHeightPixels() const {
    return (tabHeightTwips_ + TwipsPerPixel / 2) / TwipsPerPixel;
}

void SSTab::resizeEvent(QResizeEvent* event) {
    for (const Tab& tab : tabs_)
        tab.page->setGeometry(0, 0, event->size().width(), event->size().height());
    QWidget::resizeEvent(event);
}

// Only the tab row's own keys step: a key that a child page (a web view, say) left unhandled
// reaches this control too, and must not switch its tabs.
void SSTab::keyPressEvent(QKeyEvent* event) {
    if (!hasFocus()) {
        QWidget::keyPressEvent(event);
    } else if (event->key() == Qt::Key_Left) {
        stepToVisibleTab(-1);
    } else if (event->key() == Qt::Key_Right) {
        stepToVisibleTab(1);
    } else {
        QWidget::keyPressEvent(event);
    }
}

void SSTab::showCurrentPage() {
    // Show the new page before hiding the others so that focus does not jump out of the control.
    if (inRange(current_)) tabs_[current_].page->show();
    for (int i = 0; i < tabCount(); ++i)
        if (i != current_) tabs_[i].page->hide();
}

void SSTab::stepToVisibleTab(int direction) {
    for (int i = current_ + direction; inRange(i); i += direction) {
        if (tabs_[i].visible) {
            setCurrentTab(i);
            return;
        }
    }
}

} // namespace skin
