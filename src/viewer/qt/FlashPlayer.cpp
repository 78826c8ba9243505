#include "viewer/qt/FlashPlayer.h"

#include "base/AppFolder.h"
#include "viewer/qt/PlayerPage.h"
#include "viewer/qt/PlayerRequestGuard.h"
#include "viewer/qt/PlayerSchemeHandler.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QWebEngineProfile>

static QString schemeText(std::string_view text) {
    return QString::fromLatin1(text.data(), text.size());
}

static QUrl playerUrl(const QString& folder, const QString& fileName) {
    QUrl url;
    url.setScheme(schemeText(viewer::kPlayerScheme));
    url.setHost(schemeText(viewer::kPlayerHost));
    url.setPath(QStringLiteral("/%1/%2").arg(folder, fileName));
    return url;
}

FlashPlayer::FlashPlayer(QWidget* parent)
    : FlashPlayer(
          viewer::PlayerFiles{base::applicationFolder() / "player", base::applicationFolder() / "Game"},
          parent) {}

FlashPlayer::FlashPlayer(viewer::PlayerFiles files, QWidget* parent)
    : QWebEngineView(parent), files_(std::move(files)), profile_(new QWebEngineProfile(this)) {
    profile_->installUrlSchemeHandler(viewer::kPlayerScheme.data(),
                                      new PlayerSchemeHandler(files_, profile_));
    profile_->setUrlRequestInterceptor(new PlayerRequestGuard(profile_));
    page_ = new PlayerPage(profile_, this);
    page_->setBackgroundColor(Qt::black); // the player page's colour, also before it has loaded
    setPage(page_);
    setContextMenuPolicy(Qt::NoContextMenu);

    connect(page_, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        pageReady_ = ok;
        if (ok) startPending();
    });
    connect(page_, &PlayerPage::movieLoaded, this, [this](int token) {
        if (token != token_) return;
        loaded_ = true;
        emit movieLoaded();
    });
    connect(page_, &PlayerPage::movieFailed, this, [this](int token, const QString& reason) {
        if (token == token_) emit movieFailed(reason);
    });
    page_->load(playerUrl(QStringLiteral("player"), QStringLiteral("player.html")));
}

// The page goes before its profile, which the web engine requires.
FlashPlayer::~FlashPlayer() {
    delete page_;
}

void FlashPlayer::setMovie(const QString& path) {
    ++token_;
    loaded_ = false;
    const QFileInfo info(path);
    const QString gameFolder = QString::fromStdString(files_.gameFolder.string());
    const bool inGame =
        QDir::cleanPath(info.absolutePath()) == QDir::cleanPath(QDir(gameFolder).absolutePath()) &&
        viewer::isPlainFileName(info.fileName().toStdString());
    movie_ = inGame ? info.absoluteFilePath() : QString();
    pending_ = true;
    if (pageReady_) startPending();
}

void FlashPlayer::startPending() {
    if (!pending_) return;
    pending_ = false;
    if (movie_.isEmpty()) {
        page_->runJavaScript(QStringLiteral("stopMovie()"));
        return;
    }
    const QString url =
        playerUrl(QStringLiteral("Game"), QFileInfo(movie_).fileName()).toString(QUrl::FullyEncoded);
    const QJsonArray args{url, token_};
    page_->runJavaScript(QStringLiteral("playMovie(...%1)")
                             .arg(QString::fromUtf8(QJsonDocument(args).toJson(QJsonDocument::Compact))));
}
