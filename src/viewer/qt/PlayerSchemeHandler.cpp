#include "viewer/qt/PlayerSchemeHandler.h"

#include <QFile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

PlayerSchemeHandler::PlayerSchemeHandler(viewer::PlayerFiles files, QObject* parent)
    : QWebEngineUrlSchemeHandler(parent), files_(std::move(files)) {}

void PlayerSchemeHandler::registerScheme() {
    QWebEngineUrlScheme scheme(QByteArray(viewer::kPlayerScheme.data(), viewer::kPlayerScheme.size()));
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::CorsEnabled);
    QWebEngineUrlScheme::registerScheme(scheme);
}

void PlayerSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    const QUrl url = job->requestUrl();
    if (job->requestMethod() != "GET" || url.host() != QLatin1String(viewer::kPlayerHost)) {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    auto file = files_.resolve(url.path(QUrl::FullyDecoded).toStdString());
    if (!file) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    // The job owns the file and closes it when the reply has been read.
    auto* device = new QFile(QString::fromStdString(file->string()), job);
    if (!device->open(QIODevice::ReadOnly)) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    job->reply(QByteArray::fromStdString(viewer::contentTypeOf(*file)), device);
}
