#pragma once
// The search bar of the catalogue window (SouSuoPic): its picture with the search box (SouSuoText)
// and the search button (SousuoCmd) inside. The box starts with "应用搜索"; focusing it selects its
// whole text, so typing replaces it; Enter in the box does what the button does. Both ask for a
// search with searchRequested; the window decides what a search does.

#include "base/Twips.h"

#include <QImage>
#include <QWidget>
#include <filesystem>

class PictureButton;
class QLineEdit;

class SearchBar : public QWidget {
    Q_OBJECT
  public:
    // The bar on window, with the pictures of the skin folder.
    SearchBar(QWidget* window, const std::filesystem::path& skinFolder);

    // Places the bar in the window and the box and the button in the bar (twips).
    void Place(const base::TwipsRect& bar, const base::TwipsRect& text, const base::TwipsRect& button);

    QLineEdit* SouSuoText() const { return text_; }
    PictureButton* SousuoCmd() const { return button_; }

  signals:
    // The button was clicked or Enter pressed in the box; text is the box's text as typed.
    void searchRequested(const QString& text);

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QImage picture_;
    QLineEdit* text_;
    PictureButton* button_;
};
