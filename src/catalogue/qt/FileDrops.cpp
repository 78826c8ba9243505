#include "catalogue/qt/FileDrops.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

FileDrops::FileDrops(QWidget* window) : QObject(window), window_(window) {
    window->setAcceptDrops(true);
    // The web views take drags in widgets of their own: the application's filter sees them first.
    qApp->installEventFilter(this);
}

QStringList FileDrops::localFiles(const QMimeData* data) {
    QStringList files;
    if (!data || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) return {};
        files.append(url.toLocalFile());
    }
    return files;
}

bool FileDrops::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window_) return false;
    auto* drop = static_cast<QDropEvent*>(event);
    const QStringList files = localFiles(drop->mimeData());
    if (files.isEmpty()) return false;
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop) emit dropped(files);
    return true;
}
