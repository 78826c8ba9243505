#pragma once
// The paging bar of the category pages: the next-page and previous-page buttons (NexitPic 0 and 1)
// and six page-number buttons (PagePic 0 to 5) with their captions (PageLabe 0 to 5), all children
// of the sub-tab strip they stand on. It lays itself out from a paging file and asks for the page
// behind a clicked button with pageRequested; the window loads it.

#include "catalogue/PagingBarLayout.h"
#include "pages/PageLinks.h"

#include <QObject>
#include <array>
#include <filesystem>

class PictureButton;
class QLabel;
class QWidget;

class PagingBar : public QObject {
    Q_OBJECT
  public:
    // Creates the buttons hidden on strip, with the pictures of the skin folder.
    PagingBar(QWidget* strip, const std::filesystem::path& skinFolder);

    // Hides every button of the bar.
    void Hide();
    // Reads the paging file (its addresses and numbered links) and shows the bar for it across the
    // strip's current width.
    void LayOut(const std::filesystem::path& pagingFile);
    // Shows a computed layout; LayOut ends here.
    void Show(const catalogue::PagingBarLayout& layout);

    // The addresses and links of the last paging file read.
    const PagingAddresses& Addresses() const { return addresses_; }
    const PageLinkTable& PageLinks() const { return links_; }

    PictureButton* NexitPic(int index) const { return arrows_[index]; }
    PictureButton* PagePic(int index) const { return pages_[index]; }
    QLabel* PageLabe(int index) const { return labels_[index]; }

  signals:
    // A button was clicked; address is the store address of the page it leads to.
    void pageRequested(const QString& address);

  private:
    void place(PictureButton* button, const catalogue::PagingButton& layout);

    QWidget* strip_;
    std::array<PictureButton*, 2> arrows_{};
    std::array<PictureButton*, catalogue::kPageButtonCount> pages_{};
    std::array<QLabel*, catalogue::kPageButtonCount> labels_{};
    catalogue::PagingBarLayout shown_;
    PagingAddresses addresses_;
    PageLinkTable links_;
};
