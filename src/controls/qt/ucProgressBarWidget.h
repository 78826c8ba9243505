#pragma once
// The picture progress bar on screen: the back picture is the background and fixes the widget's
// size, the fore picture shows in proportion to Value (from the left, or from the bottom), and the
// caption is printed in the middle. The numbers come from ucProgressBar; this widget feeds it the
// size and the mouse and draws what each repaint asks for.
//
// Assignments the bar does not accept (a Value outside Min..Max, a Min or Max that would break
// Min < Max or whose distance does not fit 32 bits) return false and change nothing; the widget
// never lets a ProgressBarError out into the event loop.

#include "controls/PropertyBag.h"
#include "controls/ucProgressBar.h"

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <cstdint>
#include <functional>

class ucProgressBarWidget : public QWidget {
    Q_OBJECT

  public:
    explicit ucProgressBarWidget(QWidget* parent = nullptr);

    std::int32_t Min() const { return model_.Min(); }
    std::int32_t Max() const { return model_.Max(); }
    std::int32_t Value() const { return model_.Value(); }
    std::int32_t Orientation() const { return model_.Orientation(); }
    std::int32_t CaptionFormat() const { return model_.CaptionFormat(); }
    QString CaptionCustom() const { return QString::fromStdString(model_.CaptionCustom()); }
    // The caption the last repaint printed.
    QString caption() const { return QString::fromStdString(frame_.caption); }

    bool setValue(std::int32_t value);
    bool setMin(std::int32_t min);
    bool setMax(std::int32_t max);
    // Shows at the next repaint.
    void setOrientation(std::int32_t orientation) { model_.setOrientation(orientation); }
    void setCaptionFormat(std::int32_t format) { model_.setCaptionFormat(format); }
    void setCaptionCustom(const QString& caption) { model_.setCaptionCustom(caption.toStdString()); }
    void Refresh() { model_.Refresh(); }

    // Pictures; a null image is no picture. Assigning one sizes the widget and repaints.
    const QImage& BarPictureBack() const { return back_; }
    const QImage& BarPictureFore() const { return fore_; }
    void setBarPictureBack(const QImage& picture);
    void setBarPictureFore(const QImage& picture);

    // Caption colour as a colour integer (lowest byte red); values with the top bit set are system
    // colours, the default being "button text". The caption font is the widget's font().
    std::int32_t FontColor() const { return fontColor_; }
    void setFontColor(std::int32_t color);

    // Pointer shape by the classic numbers (0 default, 1 arrow, 2 cross, 3 I-beam, ... 99 MouseIcon).
    std::int16_t MousePointer() const { return mousePointer_; }
    void setMousePointer(std::int16_t pointer);
    const QImage& MouseIcon() const { return mouseIcon_; }
    void setMouseIcon(const QImage& icon);

    // Saved properties; pictures are kept as PNG bytes, the font as its description text.
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

  signals:
    void Click();
    void ArrivedFirst();
    void ArrivedLast();
    void Change();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    // Runs an assignment of the model; false when the model rejected it.
    static bool accept(const std::function<void()>& assignment);
    // Takes what the model shows now, so the screen keeps this state until the next repaint.
    void takeFrame();
    // With a back picture the widget has exactly its size; without one the host decides.
    void applySize();
    void applyPointer();
    QFont ambientFont() const;

    ucProgressBar model_;
    ucProgressBar::Frame frame_;
    QPoint captionAt_;
    QImage back_;
    QImage fore_;
    QImage mouseIcon_;
    std::int32_t fontColor_ = ucProgressBar::kButtonTextColor;
    std::int16_t mousePointer_ = 0;
    bool clickPending_ = false;
};
