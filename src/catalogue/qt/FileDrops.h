#pragma once
// Files dropped onto a window: local files dragged from the file manager are taken anywhere on the
// window, also over its web views, which would otherwise load a dropped file as a page. Drags of
// anything else (text, web addresses, a mix) are left to the widget under the mouse.

#include <QObject>
#include <QStringList>

class QMimeData;
class QWidget;

class FileDrops : public QObject {
    Q_OBJECT
  public:
    // Watches the drags over window and every widget in it, for as long as window lives.
    explicit FileDrops(QWidget* window);

    // The local files of a drag, absolute; empty unless every item of it is a local file.
    static QStringList localFiles(const QMimeData* data);

  signals:
    void dropped(const QStringList& files);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* window_;
};
