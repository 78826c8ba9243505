#include "viewer/qt/WorkerThreads.h"

#include "pages/FetchText.h"

#include <QThread>
#include <algorithm>

WorkerThreads::WorkerThreads(QObject* parent)
    : QObject(parent), cancel_(std::make_shared<std::atomic<bool>>(false)) {}

WorkerThreads::~WorkerThreads() {
    *cancel_ = true;
    for (QThread* thread : threads_) {
        thread->wait();
        delete thread;
    }
}

void WorkerThreads::start(std::function<void()> work, std::function<void()> finished) {
    QThread* thread = QThread::create([cancel = cancel_, work = std::move(work)] {
        setFetchCancelFlag(cancel.get());
        work();
        setFetchCancelFlag(nullptr);
    });
    threads_.push_back(thread);
    connect(thread, &QThread::finished, this, [this, thread, finished = std::move(finished)] {
        threads_.erase(std::find(threads_.begin(), threads_.end(), thread));
        thread->deleteLater();
        if (finished) finished();
    });
    thread->start();
}
