#include "DemoWindow.h"

#include "DemoPictures.h"
#include "base/Numbers.h"
#include "controls/qt/bkDLControlWidget.h"
#include "controls/qt/ucProgressBarWidget.h"

#include <QFileInfo>
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

    // The mouse may move either bar; the other one follows. The log names the horizontal bar's events.
    connect(horizontal_, &ucProgressBarWidget::Change, this, [this] {
        logEvent(QString("Change to %1").arg(horizontal_->Value()));
        vertical_->setValue(horizontal_->Value());
    });
    connect(vertical_, &ucProgressBarWidget::Change, this,
            [this] { horizontal_->setValue(vertical_->Value()); });
    connect(horizontal_, &ucProgressBarWidget::ArrivedLast, this, [this] { logEvent("ArrivedLast"); });
    connect(horizontal_, &ucProgressBarWidget::ArrivedFirst, this, [this] { logEvent("ArrivedFirst"); });
    for (auto* bar : {horizontal_, vertical_})
        connect(bar, &ucProgressBarWidget::Click, this, [this] { logEvent("Click"); });
    setValue(value);
    events_->setText(QString("Value %1").arg(horizontal_->Value()));
}

bool DemoWindow::setValue(int value) {
    return horizontal_->setValue(value) && vertical_->setValue(value); // the second one only repaints
}

void DemoWindow::logEvent(const QString& name) {
    QStringList lines = events_->text().split('\n');
    lines.append(name);
    while (lines.size() > 6)
        lines.removeFirst();
    events_->setText(lines.join('\n'));
}

void DemoWindow::startDownload(const QString& url, const QString& folder) {
    download_ = new bkDLControlWidget(this);
    download_->setFixedSize(horizontal_->width(), 8);
    downloadStatus_ = new QLabel(QString("Downloading %1").arg(url), this);
    downloadStatus_->setWordWrap(true);
    layout()->addWidget(download_);
    layout()->addWidget(downloadStatus_);

    setValue(0);
    connect(download_, &bkDLControlWidget::DLProgress, this,
            [this](float percent, int bytesRead, int totalBytes) {
                // The bar takes whole percent, an exact half going to the even neighbour.
                setValue(base::roundHalfEven(static_cast<double>(percent) * 100));
                downloadStatus_->setText(QString("%1 of %2 bytes").arg(bytesRead).arg(totalBytes));
            });
    connect(download_, &bkDLControlWidget::DLComplete, this, [this](int bytes) {
        bool saved = bytes > 0 && QFileInfo::exists(download_->SaveFileName());
        downloadStatus_->setText(
            saved ? QString("Saved %1 bytes as %2").arg(bytes).arg(download_->SaveFileName())
                  : QString("The download ended with nothing saved"));
    });
    connect(download_, &bkDLControlWidget::DLError, this, [this](int error, const QString& message) {
        downloadStatus_->setText(QString("Error %1: %2").arg(error).arg(message));
    });
    download_->setFileURL(url);
    download_->setSaveFilePath(folder);
    download_->BeginDownload();
}
