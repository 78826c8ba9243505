#pragma once
// A short note over the catalogue window, such as why an app did not open: a framed line of text in
// the middle of the window, above the pages, that goes away by itself after the window has been
// the active one for a few seconds (a note that comes while a viewer covers the window waits for
// the player to come back to it) or when clicked. It never takes the focus or blocks the window. A note that
// comes while others show is added below them (several files refused at once each keep their line).

#include <QLabel>
#include <QStringList>
#include <QTimer>

class WindowNote : public QLabel {
    Q_OBJECT
  public:
    // How long a note stays once its window is active.
    static constexpr int ShownMs = 5000;
    // The most notes shown at once; older ones give way.
    static constexpr int MostLines = 6;

    explicit WindowNote(QWidget* window);

    // Shows text in the middle of the window, on top of everything else in it.
    void showNote(const QString& text);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void place();
    // Starts the time the note stays, once the player can see it.
    void startHideTimerWhenSeen();

    QTimer hideTimer_;
    QStringList lines_;
};
