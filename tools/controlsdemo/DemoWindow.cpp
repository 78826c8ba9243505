#include "DemoWindow.h"

#include "DemoPictures.h"
#include "controls/qt/ucProgressBarWidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

constexpr std::int32_t kWhite = 0xFFFFFF;

ucProgressBarWidget* makeBar(QWidget* parent, QSize size, Qt::Orientation orientation, int captionFormat) {
    auto* bar = new ucProgressBarWidget(parent);
    DemoPictures pictures = DemoPictures::paint(size, orientation);
    bar->setBarPictureBack(pictures.back);
    bar->setBarPictureFore(pictures.fore);
    bar->setOrientation(orientation == Qt::Horizontal ? 0 : 1);
    bar->setCaptionFormat(captionFormat);
    bar->setFontColor(kWhite);
    QFont font = bar->font();
    font.setBold(true);
    bar->setFont(font);
    return bar;
}

} // namespace

DemoWindow::DemoWindow(int value, QWidget* parent) : QWidget(parent) {
    setWindowTitle("controlsdemo");
    auto* layout = new QVBoxLayout(this);
    auto* title =
        new QLabel("<b>ucProgressBar</b> &mdash; drag with the left button, step with the right", this);
    layout->addWidget(title);

    horizontal_ = makeBar(this, QSize(287, 29), Qt::Horizontal, 2);
    layout->addWidget(horizontal_);

    auto* row = new QHBoxLayout;
    vertical_ = makeBar(this, QSize(29, 120), Qt::Vertical, 1);
    row->addWidget(vertical_);
    events_ = new QLabel(this);
    events_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    events_->setMinimumWidth(240);
    row->addWidget(events_, 1);
    layout->addLayout(row);

    for (auto* bar : {horizontal_, vertical_}) {
        connect(bar, &ucProgressBarWidget::Change, this, [this, bar] {
            logEvent(QString("Change to %1").arg(bar->Value()));
            // Keep the two bars together whichever one the mouse moves.
            (bar == horizontal_ ? vertical_ : horizontal_)->setValue(bar->Value());
        });
        connect(bar, &ucProgressBarWidget::ArrivedLast, this, [this] { logEvent("ArrivedLast"); });
        connect(bar, &ucProgressBarWidget::ArrivedFirst, this, [this] { logEvent("ArrivedFirst"); });
        connect(bar, &ucProgressBarWidget::Click, this, [this] { logEvent("Click"); });
    }
    setValue(value);
    events_->setText(QString("Value %1").arg(horizontal_->Value()));
}

bool DemoWindow::setValue(int value) {
    return horizontal_->setValue(value) && vertical_->setValue(value);
}

void DemoWindow::logEvent(const QString& name) {
    QStringList lines = events_->text().split('\n');
    lines.append(name);
    while (lines.size() > 6)
        lines.removeFirst();
    events_->setText(lines.join('\n'));
}
