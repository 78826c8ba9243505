#pragma once
// The frame-only re-skin: the button Command1 ("换肤") re-skins the window's frame with the skin
// name typed into the combo box SkinList (initial text "Combo1"; nothing fills its list). The tab
// strips, the settings file and the page cache stay as they are. Both controls are created hidden:
// the skin menu is the user's way to change skins, and this pair remains for trying a skin's frame.

#include <QObject>
#include <functional>

class QComboBox;
class QPushButton;
class QWidget;

class FrameReskin : public QObject {
    Q_OBJECT
  public:
    // reskin: releases the window's frame skin and skins the frame anew with the given name.
    FrameReskin(QWidget* window, std::function<void(const QString&)> reskin);

    QPushButton* Command1() const { return Command1_; }
    QComboBox* SkinList() const { return SkinList_; }

  private:
    QPushButton* Command1_;
    QComboBox* SkinList_;
};
