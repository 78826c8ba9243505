#pragma once
// The page that hosts Ruffle: stays on the player's scheme, opens no windows, and turns the player
// script's console reports into signals.

#include <QWebEnginePage>

class PlayerPage : public QWebEnginePage {
    Q_OBJECT
  public:
    explicit PlayerPage(QWebEngineProfile* profile, QObject* parent = nullptr);

  signals:
    // The player script's report for the movie started with token: loaded, or failed with a reason.
    void movieLoaded(int token);
    void movieFailed(int token, const QString& reason);

  protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int lineNumber,
                                  const QString& sourceID) override;
};
