#pragma once
// The page behind a WebBrowser: asks its view before every navigation and refuses every new
// window after reporting its address, so no window of the engine's own ever opens.

#include <QWebEnginePage>

class WebBrowser;

class WebBrowserPage : public QWebEnginePage {
    Q_OBJECT
  public:
    WebBrowserPage(QWebEngineProfile* profile, WebBrowser& view);

  protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

  private:
    WebBrowser& view_;
};
