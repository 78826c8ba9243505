#pragma once
// Serves the Flash player's scheme from the player's files and the downloaded movies, read-only.
// Installed only on the player's own web profile, so store pages cannot reach it.
//
// The movie playing is answered at its address from its file in Game. A file that a movie from the
// store loads from its store folder (beside itself, in a subfolder, or by an absolute address the
// page rewrites to this scheme) is answered from the movie's site folder in Game when it is there;
// otherwise it is fetched once (off the user-interface thread) from that store folder, put into
// the site folder whole and then answered. Nothing outside the store folder is fetched, nothing
// outside the site folder served, never over a redirect, and an address that could not be fetched
// is not asked for again while the player lives; a file that an earlier version kept directly in
// Game under that name is answered then, so movies played before still find their files offline.
// A movie played from Game without a store address finds the files beside it in Game itself.
// A local movie (a file of the player's own, see MoviePlace) is answered from its file, and the
// files it loads from the folder it lies in, subfolders included, as far as they are there: nothing
// is fetched for it, and nothing outside that folder is served.
// The page itself still reaches nothing but this scheme.
//
// Every file of a movie, the movie playing included, is read off the user-interface thread and
// passed through servedFile, which rewrites old movies and text in the Chinese code page.

#include "controls/UrlReader.h"
#include "viewer/PlayerFiles.h"

#include <QPointer>
#include <QThreadPool>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>
#include <deque>
#include <map>
#include <memory>
#include <optional>
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

    // The movie playing: requests for address are answered with file. place, from the address it
    // was downloaded from, is where the files it loads are kept and fetched from; without it the
    // files beside it in Game are served, and nothing is fetched.
    void setMovie(const QUrl& address, const QString& file, const std::optional<viewer::MoviePlace>& place);

    void requestStarted(QWebEngineUrlRequestJob* job) override;

  private:
    struct Fetch;
    static constexpr std::size_t kMaxFetches = 4;
    // Answers a request path of Game or player from the files, or fetches the missing file.
    void serve(QWebEngineUrlRequestJob* job, const std::string& path);
    void fetch(QWebEngineUrlRequestJob* job, const std::string& path, const std::string& relative);
    void fetchEnded(const std::string& key, bool ok);
    // What is answered for a site file that could not be fetched: the file of that name an
    // earlier version kept directly in Game, or a failure.
    void replyEarlier(QWebEngineUrlRequestJob* job, const std::string& relative);
    // Answers with one of the player's own files, as it is.
    static void replyPlayerFile(QWebEngineUrlRequestJob* job, const std::filesystem::path& file);
    // Answers with a file of the movie, read and passed through servedFile on a worker thread.
    void replyMovieFile(QWebEngineUrlRequestJob* job, const std::filesystem::path& file);

    viewer::PlayerFiles files_;
    QUrl movieAddress_;
    QString movieFile_;
    std::optional<viewer::MoviePlace> place_;
    std::unique_ptr<DownloadQtLoop> loop_;
    std::unique_ptr<CurlReader> reader_;
    std::map<std::string, std::unique_ptr<Fetch>> fetches_; // by target file
    struct Waiting {
        QPointer<QWebEngineUrlRequestJob> job;
        std::string path;
    };
    std::deque<Waiting> waiting_;  // requests for files to fetch once fewer fetches run
    std::set<std::string> failed_; // addresses that could not be fetched
    // Reads the movie's files; declared last, so it goes first and waits for its reads.
    QThreadPool readers_;
};
