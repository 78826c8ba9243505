#pragma once
// The app viewer window: one app of the catalogue on a skinned window with five tabs. A movie app
// plays its movie from the Game folder, downloading it first with the progress bar shown (a movie
// file of the player's own plays where it lies); a movie
// that cannot run shows a note on the page colour instead, and the reload tab then downloads it
// anew. A page app shows its page in AppWeb once the page has loaded. The other tabs show the
// description and the developer, reload the app, and switch full screen on and off.
//
// The window is made in two steps, so that the part that does not depend on the app (skin, tabs,
// text boxes, download control and progress bar) can be built while the app is still being read
// from the store: the constructor, then load() with the app. It deletes itself when closed: at once
// for a page app; a movie app leaves the screen at once and goes once its movie has stopped and
// handed over its saves (see FlashPlayer::stopMovie).

#include "base/Folders.h"
#include "startup/Settings.h"
#include "viewer/MoviePlace.h"
#include "viewer/OpenedApp.h"

#include <QColor>
#include <QPointer>
#include <QWidget>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

class FlashPlayer;
class PlayerGroup;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QShortcut;
class QTimer;
class ReadyPlayer;
class WebBrowser;
class WebProfiles;
class bkDLControlWidget;
class ucProgressBarWidget;
namespace skin {
class CSSTab;
class DirectUI;
class SSTab;
} // namespace skin

class FlashPayFrm : public QWidget {
    Q_OBJECT
  public:
    // A page app's views run on its profile of web (WebProfiles::pageApp), which must outlive the
    // window. A movie app plays on a player taken from players, given back when the window goes;
    // without players the window makes a player of its own, in group.
    FlashPayFrm(const Settings& settings, base::Folders folders, WebProfiles& web, PlayerGroup& group,
                ReadyPlayer* players = nullptr, QWidget* parent = nullptr);
    // Builds the app's view (the player or the browsers) unless prepareAppView() did, fills the
    // texts, and starts the movie or loads the page. Once per window.
    void load(const viewer::OpenedApp& app);
    // Builds the view for a movie app or a page app opened by link ahead of load(), while the
    // app's details are still being read; the player comes then, unless another window still holds
    // the only one (it comes in load() then). Does nothing once a view is built.
    void prepareAppView(bool isWidgetApp, const std::string& link);
    // Whether load() may show this app: no view is built yet, or one for its kind (for a page app,
    // on its profile).
    bool suits(const viewer::OpenedApp& app) const;
    // Gives the player back to players, its movie stopped; flash() is null then. The window
    // shows no app any more.
    void releasePlayer();
    ~FlashPayFrm() override;

    // After load(): AppWeb and ADWeb exist for a page app only, flash for a movie app only.
    skin::SSTab* GameSStabs() const { return GameSStabs_; }
    QWidget* AppPic() const { return AppPic_; }
    WebBrowser* AppWeb() const { return AppWeb_; }
    QWidget* ADPic() const { return ADPic_; }
    WebBrowser* ADWeb() const { return ADWeb_; }
    QGroupBox* Frm() const { return Frm_; }
    QPlainTextEdit* GameInfo() const { return GameInfo_; }
    QGroupBox* GameSour() const { return GameSour_; }
    QPlainTextEdit* GameLY() const { return GameLY_; }
    bkDLControlWidget* Down() const { return Down_; }
    ucProgressBarWidget* N1() const { return N1_; }
    FlashPlayer* flash() const { return flash_; }
    // The note shown in the player's place when the movie cannot run.
    QLabel* note() const { return note_; }
    // The note shown over the player when the movie's saves reached their limit or could not be
    // written.
    QLabel* savesNote() const { return savesNote_; }
    bool movieFailed() const { return movieFailed_; }
    skin::DirectUI* directUI() const { return directUI_; }

    const viewer::OpenedApp& app() const { return app_; }
    bool pageReady() const { return pageReady_; }
    bool fullScreen() const { return fullScreen_; }
    // Where the movie lives in Game (a local movie: its own file); empty for a page app and for a
    // movie whose name is unusable.
    QString moviePath() const;
    // The same relative to Game ("<site>/<name>", see MoviePlace).
    std::string movieFile() const;

    // Plays the movie when it is in Game, otherwise downloads it with the progress bar shown;
    // what an earlier version kept for it is taken over first, on a worker thread.
    void startMovie();
    // Shows note over the player for a while, as the notes about saves; false when the window has
    // no player (a page app's).
    bool sayOverPlayer(const QString& note);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls();
    void applySkin(const Settings& settings);
    void fillTexts();
    void layoutCurrentTab();
    void tabClicked();
    void downloadComplete(int bytes);
    void documentComplete(const QUrl& url);
    void focusApp();
    // Plays the movie when it is in Game, otherwise downloads it (startMovie's second step).
    void findMovie();
    void playMovie();
    void takePlayer();
    // Shows note over the player for a while, unless said is set; sets it.
    void sayAboutSaves(std::string_view note, bool& said);

    viewer::OpenedApp app_;
    base::Folders folders_;
    std::filesystem::path gameFolder_;
    WebProfiles& web_;
    PlayerGroup& group_;
    QPointer<ReadyPlayer> players_;
    std::optional<viewer::MoviePlace> place_; // where the movie and its files are kept
    QColor pageColour_;                       // the settings' page colour, for the note
    bool movieFailed_ = false;
    int starts_ = 0; // startMovie's calls; only the last one's taking over goes on to the movie
    QShortcut* leaveFullScreen_ = nullptr;
    bool pageReady_ = false;
    bool fullScreen_ = false;
    bool inClick_ = false;
    bool closing_ = false;      // closed while the movie stops
    bool movieStopped_ = false; // closing: the movie has stopped and handed over its saves

    skin::DirectUI* directUI_ = nullptr;
    skin::CSSTab* tabSkin_ = nullptr;
    skin::SSTab* GameSStabs_ = nullptr;
    QWidget* AppPic_ = nullptr;
    WebBrowser* AppWeb_ = nullptr;
    QWidget* ADPic_ = nullptr;
    WebBrowser* ADWeb_ = nullptr;
    std::string pageAppLink_; // the link whose profile AppWeb_ and ADWeb_ run on
    QGroupBox* Frm_ = nullptr;
    QPlainTextEdit* GameInfo_ = nullptr;
    QGroupBox* GameSour_ = nullptr;
    QPlainTextEdit* GameLY_ = nullptr;
    bkDLControlWidget* Down_ = nullptr;
    ucProgressBarWidget* N1_ = nullptr;
    FlashPlayer* flash_ = nullptr;
    QLabel* note_ = nullptr;
    QLabel* savesNote_ = nullptr;
    QTimer* savesNoteShown_ = nullptr; // hides the note
    // Each note about saves is said once for each app.
    bool refusalSaid_ = false;
    bool failureSaid_ = false;
    // Covers the player with the page colour from a movie's start to its first frame on the
    // screen: a player shown again would show its last picture (an earlier movie's, or black at
    // its earlier size) until its page draws anew.
    QWidget* curtain_ = nullptr;
    bool movieDrawn_ = false;
};
