#pragma once
// The tab control of the catalogue and viewer windows: a row of tabs, each with a caption, an
// optional picture and a visible flag, and one page of child widgets per tab of which only the
// current tab's page is shown. The control paints no tab row of its own; a CSSTab attached to it
// paints the row and turns clicks into setCurrentTab.
//
// Pages cover the whole control, so a widget placed on a page is positioned relative to the control,
// as on the tabbed dialogs the windows were laid out with. Pages are transparent and pass the mouse
// on where they have no child, so the tab row under them stays visible and clickable.

#include <QImage>
#include <QString>
#include <QWidget>
#include <vector>

namespace skin {

class SSTab : public QWidget {
    Q_OBJECT
  public:
    explicit SSTab(QWidget* parent = nullptr);
    // Emits destroying while the control is still whole.
    ~SSTab() override;

    int tabCount() const { return static_cast<int>(tabs_.size()); }
    // Adds or removes tabs at the end; new tabs are visible with an empty caption and page. Removing
    // tabs deletes their pages; the current tab then moves to the last remaining one.
    void setTabCount(int count);

    // The current tab, 0-based; -1 only while there are no tabs.
    int currentTab() const { return current_; }
    // Makes index current, shows its page and hides the others; emits clicked with the previous tab
    // when the current tab changed. An index out of range is ignored.
    void setCurrentTab(int index);

    QString tabCaption(int index) const;
    void setTabCaption(int index, const QString& caption);
    // The per-tab flag: a hidden tab is neither drawn nor clickable in the tab row.
    bool isTabVisible(int index) const;
    void setTabVisible(int index, bool visible);
    // Null when the tab has no picture.
    QImage tabPicture(int index) const;
    void setTabPicture(int index, const QImage& picture);

    // The page of tab index: the parent for the widgets shown on that tab. Null out of range.
    QWidget* page(int index) const;

    // Height of the tab row as the hosts lay out their pages under it, in twips (15 per pixel).
    int tabHeightTwips() const { return tabHeightTwips_; }
    void setTabHeightTwips(int twips);
    int tabHeightPixels() const;

  signals:
    // The current tab changed; previousTab is the tab that was current before.
    void clicked(int previousTab);
    // A caption, picture, flag or the number of tabs changed: the tab row needs a redraw.
    void tabsChanged();
    // The control is being destroyed; a painter attached to it lets go now, before the control's
    // children (which may include the painter) are deleted.
    void destroying();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    // Left and right arrows move to the previous or next visible tab.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    struct Tab {
        QString caption;
        QImage picture;
        bool visible = true;
        QWidget* page = nullptr; // owned by this widget as a Qt child
    };
    bool inRange(int index) const { return index >= 0 && index < tabCount(); }
    void showCurrentPage();
    void stepToVisibleTab(int direction);

    std::vector<Tab> tabs_;
    int current_ = -1;
    int tabHeightTwips_ = 300;
};

} // namespace skin
