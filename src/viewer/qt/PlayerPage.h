#pragma once
// The page that hosts Ruffle: stays on its player page, opens no windows, and turns the player
// script's console reports into signals. A movie's own output reaches the console only through
// Ruffle's log, whose lines start with Ruffle's prefix; and a save report, forged or not, can only
// change the saves of the movie playing.
//
// A movie's link to a new window (getURL, navigateToURL) becomes linkOpened, whatever its scheme,
// when the web engine saw a click or key press in the page for it: the engine lets a page open one
// window per press, shortly after it, and none without one.

#include <QJsonObject>
#include <QWebEnginePage>

class PlayerPage : public QWebEnginePage {
    Q_OBJECT
  public:
    explicit PlayerPage(QWebEngineProfile* profile, QObject* parent = nullptr);
    // The player page's address, the only one the page shows.
    static QUrl pageUrl();

  signals:
    // The player script's report for the movie started with token: loaded, or failed with a reason.
    void movieLoaded(int token);
    void movieFailed(int token, const QString& reason);
    // The movie started with token has its first frame on the screen.
    void movieDrawn(int token);
    // The movie started with token saved (or, with removed, cleared) the shared object that Ruffle
    // keeps under key; bytes are the .sol file's.
    void saveChanged(int token, const QString& key, const QByteArray& bytes, bool removed);
    // The page refused a save of the movie started with token, as it would have taken the movie
    // over its limits; said once for each start.
    void saveRefused(int token);
    // The player script has started Ruffle once without a movie (warmUp()).
    void warm();
    // The movie started with token has stopped; every change to its saves was reported before.
    void movieStopped(int token);
    // The movie started with token asked its player to quit, or to enter or leave full screen.
    void movieQuit(int token);
    void movieFullScreen(int token, bool on);
    // A movie opened url (of any scheme) in a new window after a click or key press.
    void linkOpened(const QUrl& url);

  protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int lineNumber,
                                  const QString& sourceID) override;

  private:
    void reportChange(const QJsonObject& change);
};
