#pragma once
// Serves the Flash player's scheme from the player's files and the downloaded movies, read-only.
// Installed only on the player's own web profile, so store pages cannot reach it.
//
// The movie playing is answered at its address from its file in Game. A file that the movie loads
// beside itself is answered from Game when it is there; otherwise it is fetched once (off the
// user-interface thread) from the store folder the movie came from, put into Game whole and then
// answered. Only plain file names are fetched, into Game and nowhere else, never over a redirect,
// and a name that could not be fetched is not asked for again while the player lives. The page
// itself still reaches nothing but this scheme. Movies are answered through MovieReply, which
// rewrites an old movie whose strings are in the Chinese code page.

#include "controls/UrlReader.h"
#include "viewer/PlayerFiles.h"

#include <QPointer>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <vector>

class CurlReader;
class DownloadQtLoop;
class QWebEngineUrlRequestJob;

class PlayerSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
  public:
    PlayerSchemeHandler(viewer::PlayerFiles files, QObject* parent = nullptr);
    ~PlayerSchemeHandler() override;

    // Makes the scheme known to the web engine as a secure scheme whose pages may use XHR. Call it
    // once in main, before the QApplication is created.
    static void registerScheme();

    // The movie playing: requests for address are answered with file. storeAddress, the address it
    // was downloaded from, is where missing files beside it are fetched from (none when empty).
    void setMovie(const QUrl& address, const QString& file, const QString& storeAddress);

    void requestStarted(QWebEngineUrlRequestJob* job) override;

  private:
    struct Fetch;
    static constexpr std::size_t kMaxFetches = 4;
    // Answers a request path of Game or player from the files, or fetches the missing file.
    void serve(QWebEngineUrlRequestJob* job, const std::string& path);
    void fetch(QWebEngineUrlRequestJob* job, const std::string& path, const std::filesystem::path& target);
    void fetchEnded(const std::string& key, bool ok);
    static void reply(QWebEngineUrlRequestJob* job, const std::filesystem::path& file);

    viewer::PlayerFiles files_;
    QUrl movieAddress_;
    QString movieFile_;
    QString storeAddress_;
    std::unique_ptr<DownloadQtLoop> loop_;
    std::unique_ptr<CurlReader> reader_;
    std::map<std::string, std::unique_ptr<Fetch>> fetches_; // by target file
    struct Waiting {
        QPointer<QWebEngineUrlRequestJob> job;
        std::string path;
    };
    std::deque<Waiting> waiting_;  // requests for files to fetch once fewer fetches run
    std::set<std::string> failed_; // target files that could not be fetched
};
