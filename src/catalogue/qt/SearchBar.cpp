#include "catalogue/qt/SearchBar.h"

#include "catalogue/MainLayout.h"
#include "catalogue/qt/PictureButton.h"
#include "skin/qt/LoadWebPicture.h"

#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <QTimer>

using base::TwipsRect;

namespace {

QRect pixels(const TwipsRect& r) {
    return {base::twipsToPixels(r.left), base::twipsToPixels(r.top), base::twipsToPixels(r.width),
            base::twipsToPixels(r.height)};
}

} // namespace

SearchBar::SearchBar(QWidget* window, const std::filesystem::path& skinFolder)
    : QWidget(window), picture_(skin::LoadWebPicture(skinFolder / "SouSuo.bmp").image()) {
    setObjectName("SouSuoPic");
    text_ = new QLineEdit(QStringLiteral("应用搜索"), this);
    text_->setObjectName("SouSuoText");
    // The field is part of the bar's picture.
    text_->setFrame(false);
    text_->setStyleSheet("QLineEdit { background: transparent; border: none; }");
    text_->installEventFilter(this);
    button_ = new PictureButton(skin::LoadWebPicture(skinFolder / "SousuoCmd.bmp").image(),
                                QSize(base::twipsToPixels(catalogue::SearchButtonWidthTwips),
                                      base::twipsToPixels(catalogue::SearchBarHeightTwips)),
                                this);
    button_->setObjectName("SousuoCmd");
    connect(button_, &PictureButton::clicked, this, [this] { emit searchRequested(text_->text()); });
    connect(text_, &QLineEdit::returnPressed, this, [this] { emit searchRequested(text_->text()); });
}

void SearchBar::Place(const TwipsRect& bar, const TwipsRect& text, const TwipsRect& button) {
    setGeometry(pixels(bar));
    text_->setGeometry(pixels(text));
    button_->move(pixels(button).topLeft());
}

void SearchBar::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    QPainter p(this);
    p.drawImage(0, 0, picture_);
}

bool SearchBar::eventFilter(QObject* watched, QEvent* event) {
    // Selected after the focusing click is done, which would otherwise place the cursor instead.
    if (watched == text_ && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, text_, &QLineEdit::selectAll);
    return QWidget::eventFilter(watched, event);
}
