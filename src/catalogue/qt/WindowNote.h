#pragma once
// A short note over the catalogue window, such as why an app did not open: a framed line of text in
// the middle of the window, above the pages, that goes away by itself after a few seconds or when
// clicked. It never takes the focus or blocks the window; a new note replaces the shown one.

#include <QLabel>
#include <QTimer>

class WindowNote : public QLabel {
    Q_OBJECT
  public:
    // How long a note stays.
    static constexpr int ShownMs = 5000;

    explicit WindowNote(QWidget* window);

    // Shows text in the middle of the window, on top of everything else in it.
    void showNote(const QString& text);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void place();

    QTimer hideTimer_;
};
