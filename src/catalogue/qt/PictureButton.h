#pragma once
// A picture box that acts as a button: it shows one picture at the picture's size and reports a
// left click (press and release inside). A missing picture leaves the box empty but clickable.

#include <QImage>
#include <QWidget>

class PictureButton : public QWidget {
    Q_OBJECT
  public:
    PictureButton(const QImage& picture, QSize size, QWidget* parent);

    // A button that leads nowhere keeps its picture but shows the arrow cursor and ignores clicks.
    void setClickable(bool clickable);
    bool isClickable() const { return clickable_; }

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QImage picture_;
    bool clickable_ = true;
    bool pressed_ = false;
};
