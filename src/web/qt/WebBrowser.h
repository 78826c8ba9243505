#pragma once
// The web-browser control of the catalogue and viewer windows: a web view that navigates to web
// addresses and to local page files, is placed in twips inside a clipping parent, reports its
// navigations (with the power to cancel), finished loads and new-window requests, and never shows a
// context menu or a window of its own.
//
// Local page files are read as UTF-8 when they name no charset and get no access to other local
// files; style sheets and pictures from http addresses still load.

#include <QUrl>
#include <QWebEngineView>

class QWebEngineProfile;

class WebBrowser : public QWebEngineView {
    Q_OBJECT
  public:
    // The profile (see WebProfiles) must outlive the view.
    explicit WebBrowser(QWebEngineProfile* profile, QWidget* parent = nullptr);

    // An absolute address (with a scheme) or the path of a local file. Returns at once.
    void Navigate(const QString& addressOrLocalPath);
    // Position and size in twips inside the parent; negative offsets push the edges (scroll bars,
    // borders) outside the parent, which clips them.
    void Move(int leftTw, int topTw, int widthTw, int heightTw);
    // True from the start of a load until it finished.
    bool Busy() const { return busy_; }
    // Whether the pages' own scripts run (on by default). A local page may load pictures and style
    // sheets from the web, which the engine allows only by letting its scripts read any web
    // address as well; a view that shows cut-out store content as local pages turns its scripts
    // off, so that content cannot read other sites (an intranet page, say) in the user's name.
    // Links, new-window requests and navigations work without scripts.
    void setScriptsEnabled(bool enabled);

  signals:
    // Every finished load of the main frame, whether it succeeded or not.
    void DownloadComplete();
    // Before the main frame navigates to url. Setting cancel refuses the navigation; connect with
    // Qt::DirectConnection, since cancel is read when the signal returns.
    void BeforeNavigate2(const QUrl& url, bool& cancel);
    // The main frame finished loading url successfully.
    void DocumentComplete(const QUrl& url);
    // A link or script asked for a new window showing url. The request is refused: no window opens.
    void NewWindow3(const QUrl& url);

  private:
    bool busy_ = false;
};
