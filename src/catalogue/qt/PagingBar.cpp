#include "catalogue/qt/PagingBar.h"

#include "base/Twips.h"
#include "catalogue/qt/PictureButton.h"
#include "controls/qt/SystemColour.h"
#include "skin/qt/LoadWebPicture.h"

#include <QLabel>

using namespace catalogue;

namespace {

QSize twipsSize(int width, int height) {
    return {base::twipsToPixels(width), base::twipsToPixels(height)};
}

} // namespace

PagingBar::PagingBar(QWidget* strip, const std::filesystem::path& skinFolder)
    : QObject(strip), strip_(strip) {
    const char* arrowFiles[] = {"NexitPic0.bmp", "NexitPic1.bmp"};
    for (int i = 0; i < 2; ++i) {
        arrows_[i] = new PictureButton(skin::LoadWebPicture(skinFolder / arrowFiles[i]).image(),
                                       twipsSize(kArrowWidth, kPagingButtonHeight), strip);
        connect(arrows_[i], &PictureButton::clicked, this, [this, i] {
            const PagingButton& arrow = i == 0 ? shown_.next : shown_.previous;
            emit pageRequested(QString::fromStdString(arrow.url));
        });
    }
    const QImage pagePicture = skin::LoadWebPicture(skinFolder / "PagePic.bmp").image();
    for (int i = 0; i < kPageButtonCount; ++i) {
        pages_[i] = new PictureButton(pagePicture, twipsSize(kPageButtonWidth, kPagingButtonHeight), strip);
        // The caption fills its button and is centred in it; a click on it is a click on the button.
        labels_[i] = new QLabel(QStringLiteral("1"), pages_[i]);
        labels_[i]->setGeometry(pages_[i]->rect());
        labels_[i]->setAlignment(Qt::AlignCenter);
        labels_[i]->setAttribute(Qt::WA_TransparentForMouseEvents);
        connect(pages_[i], &PictureButton::clicked, this,
                [this, i] { emit pageRequested(QString::fromStdString(shown_.pages[i].url)); });
    }
    Hide();
}

void PagingBar::Hide() {
    for (PictureButton* arrow : arrows_)
        arrow->hide();
    for (PictureButton* page : pages_)
        page->hide();
}

void PagingBar::LayOut(const std::filesystem::path& pagingFile) {
    addresses_ = ReadPageLinks(pagingFile, links_);
    Show(LayOutPagingBar(base::pixelsToTwips(strip_->width()), addresses_, links_));
}

void PagingBar::Show(const PagingBarLayout& layout) {
    shown_ = layout;
    place(arrows_[0], layout.next);
    place(arrows_[1], layout.previous);
    for (int i = 0; i < kPageButtonCount; ++i) {
        const PageNumberButton& page = layout.pages[i];
        if (page.visible) {
            labels_[i]->setText(QString::fromStdString(page.caption));
            QPalette palette = labels_[i]->palette();
            palette.setColor(QPalette::WindowText,
                             systemColour(page.captionColour, palette, QPalette::ButtonText));
            labels_[i]->setPalette(palette);
        }
        place(pages_[i], page);
    }
}

void PagingBar::place(PictureButton* button, const PagingButton& layout) {
    if (!layout.visible) {
        button->hide();
        return;
    }
    button->move(base::twipsToPixels(layout.left), base::twipsToPixels(kPagingTop));
    button->setClickable(!layout.url.empty());
    button->show();
    button->raise(); // above the strip's pages and its tab row painter
}
