#include "controls/qt/DownloadQtLoop.h"

#include <QMetaObject>

void DownloadQtLoop::post(std::function<void()> task) {
    QMetaObject::invokeMethod(&context_, std::move(task), Qt::QueuedConnection);
}
