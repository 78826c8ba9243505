#include "viewer/qt/FlashPayFrm.h"

#include "base/Twips.h"
#include "base/Url.h"
#include "controls/qt/bkDLControlWidget.h"
#include "controls/qt/ucProgressBarWidget.h"
#include "skin/qt/CSSTab.h"
#include "skin/qt/DirectUI.h"
#include "skin/qt/SSTab.h"
#include "skin/qt/Surface.h"
#include "viewer/KeptApps.h"
#include "viewer/LocalMovie.h"
#include "viewer/MovieDownload.h"
#include "viewer/ViewerLayout.h"
#include "viewer/ViewerTabs.h"
#include "viewer/qt/FlashPlayer.h"
#include "viewer/qt/PlayerGroup.h"
#include "viewer/qt/ReadyPlayer.h"
#include "web/qt/WebBrowser.h"
#include "web/qt/WebProfiles.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QTimer>

using namespace viewer;

namespace {

// The text areas' colour 16181985: red 225, green 234, blue 246.
const QColor kTextAreaColour(225, 234, 246);

QString text(std::string_view value) {
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

void place(QWidget* widget, const TwipsRect& r) {
    widget->setGeometry(base::twipsToPixels(r.left), base::twipsToPixels(r.top), base::twipsToPixels(r.width),
                        base::twipsToPixels(r.height));
}

void paintBackground(QWidget* widget, QPalette::ColorRole role) {
    QPalette palette = widget->palette();
    palette.setColor(role, kTextAreaColour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// The store writes line ends as CR LF; the text boxes take LF.
QString plainText(const std::string& value) {
    return text(value).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// Whether a loaded address is the app's page (a trailing "/" of an empty path aside).
bool sameAddress(const QUrl& loaded, const std::string& contentUrl) {
    const auto form = QUrl::StripTrailingSlash | QUrl::NormalizePathSegments;
    return loaded.adjusted(form) == QUrl(text(contentUrl)).adjusted(form);
}

} // namespace

FlashPayFrm::FlashPayFrm(const Settings& settings, base::Folders folders, WebProfiles& web,
                         PlayerGroup& group, ReadyPlayer* players, QWidget* parent)
    : QWidget(parent), folders_(std::move(folders)), gameFolder_(folders_.data / "Game"), web_(web),
      group_(group), players_(players), pageColour_(text(settings.webBackColor)) {
    if (!pageColour_.isValid()) pageColour_ = Qt::white;
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("FlashPayFrm"));
    buildControls();
    GameSStabs_->setCurrentTab(AppTab);
    resize(base::twipsToPixels(WindowWidthTwips), base::twipsToPixels(WindowHeightTwips));
    setWindowIcon(QIcon());
    GameSStabs_->setTabPicture(AppTab, QImage());
    GameSStabs_->setTabHeightTwips(TabRowTwips);
    // The tabs get their place before the skin draws them, so that showing the window, when the
    // hidden window's resize arrives, finds them drawn at their size already.
    place(GameSStabs_,
          ViewerLayout::tabs(fullScreen_, base::pixelsToTwips(width()), base::pixelsToTwips(height())));
    applySkin(settings);
    ADPic_->hide();
}

void FlashPayFrm::load(const OpenedApp& app) {
    app_ = app;
    refusalSaid_ = false;
    failureSaid_ = false;
    place_ = !app.IsWidgetApp  ? std::nullopt
             : app.IsLocalFile ? MoviePlace::of(app.CurrentApp.ContentUrl)
                               : moviePlaceOf(app.CurrentApp);
    prepareAppView(app.IsWidgetApp, app.Link);
    if (note_ && !flash_) takePlayer();
    fillTexts();
    layoutCurrentTab();
    if (app_.IsWidgetApp) {
        startMovie();
    } else if (base::isWebAddress(app_.CurrentApp.ContentUrl)) {
        AppWeb_->Navigate(text(app_.CurrentApp.ContentUrl));
    }
}

FlashPayFrm::~FlashPayFrm() {
    releasePlayer();
    if (players_) players_->keepOutOf(this);
}

void FlashPayFrm::releasePlayer() {
    if (!flash_ || !players_) return;
    disconnect(flash_, nullptr, this, nullptr);
    players_->giveBack(flash_);
    flash_ = nullptr;
}

void FlashPayFrm::buildControls() {
    GameSStabs_ = new skin::SSTab(this);
    GameSStabs_->setTabCount(TabCount);
    const std::string_view captions[TabCount] = {AppTabDesignCaption, DescriptionCaption, SourceCaption,
                                                 ReloadCaption, FullScreenCaption};
    for (int i = 0; i < TabCount; ++i)
        GameSStabs_->setTabCaption(i, text(captions[i]));

    QWidget* appPage = GameSStabs_->page(AppTab);
    AppPic_ = new QWidget(appPage);
    AppPic_->hide(); // shown once the page is ready
    ADPic_ = new QWidget(appPage);

    Frm_ = new QGroupBox(GameSStabs_->page(DescriptionTab));
    GameInfo_ = new QPlainTextEdit(Frm_);
    GameSour_ = new QGroupBox(GameSStabs_->page(SourceTab));
    GameLY_ = new QPlainTextEdit(GameSour_);
    for (QPlainTextEdit* box : {GameInfo_, GameLY_})
        box->setReadOnly(true);

    Down_ = new bkDLControlWidget(this);
    Down_->hide();
    connect(Down_, &bkDLControlWidget::DLProgress, this,
            [this](float percent, int, int) { N1_->setValue(progressValue(percent)); });
    connect(Down_, &bkDLControlWidget::DLComplete, this, &FlashPayFrm::downloadComplete);
    // A download that stops says why in the player's place; the bar stays where it stopped.
    connect(Down_, &bkDLControlWidget::DLError, this, [this](int, const QString& message) {
        if (!note_) return;
        note_->setText(QString::fromStdString(viewer::downloadFailedNote(message.toStdString())));
        movieFailed_ = true;
        layoutCurrentTab();
    });

    N1_ = new ucProgressBarWidget(this);
    N1_->setMin(0);
    N1_->setMax(100);
    N1_->setCaptionFormat(2);
    N1_->hide();

    connect(GameSStabs_, &skin::SSTab::clicked, this, &FlashPayFrm::tabClicked);

    // The keyboard belongs to the app: the tab row is for the mouse and takes no keys (it would
    // take the arrow keys), and the window takes only F11, which switches full screen, and Escape
    // in full screen, which leaves it.
    GameSStabs_->setFocusPolicy(Qt::NoFocus);
    const auto toggleFullScreen = [this] { GameSStabs_->setCurrentTab(FullScreenTab); };
    connect(new QShortcut(QKeySequence(Qt::Key_F11), this), &QShortcut::activated, this, toggleFullScreen);
    leaveFullScreen_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    leaveFullScreen_->setEnabled(false);
    connect(leaveFullScreen_, &QShortcut::activated, this, toggleFullScreen);
}

// A movie app needs the player and a page app the browsers; each window makes only what its app
// shows, which keeps the time from a click to the window short.
void FlashPayFrm::prepareAppView(bool isWidgetApp, const std::string& link) {
    if (note_ || AppWeb_) return;
    QWidget* appPage = GameSStabs_->page(AppTab);
    if (isWidgetApp) {
        if (!players_ || players_->canTake()) takePlayer();
        // A movie that cannot run shows this note on the page colour, like a catalogue page that
        // could not be built, in place of an empty player.
        note_ = new QLabel(text(MovieFailedNote), appPage);
        note_->setObjectName(QStringLiteral("MovieNote"));
        note_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        note_->setMargin(40);
        note_->setWordWrap(true);
        note_->setStyleSheet(
            QStringLiteral("QLabel#MovieNote { background: %1; color: #666666; font-size: 14px; }")
                .arg(pageColour_.name()));
        note_->hide();
        savesNote_ = new QLabel(text(SavesFullNote), appPage);
        savesNote_->setObjectName(QStringLiteral("SavesNote"));
        savesNote_->setAlignment(Qt::AlignCenter);
        savesNote_->setWordWrap(true);
        savesNote_->setStyleSheet(QStringLiteral(
            "QLabel#SavesNote { background: #fff4c2; color: #5a4500; font-size: 13px; padding: 6px; }"));
        savesNote_->hide();
        savesNoteShown_ = new QTimer(savesNote_);
        savesNoteShown_->setSingleShot(true);
        savesNoteShown_->setInterval(std::chrono::seconds(10));
        connect(savesNoteShown_, &QTimer::timeout, savesNote_, &QWidget::hide);
        curtain_ = new QWidget(appPage);
        QPalette palette = curtain_->palette();
        palette.setColor(QPalette::Window, pageColour_);
        curtain_->setPalette(palette);
        curtain_->setAutoFillBackground(true);
        curtain_->hide();
        return;
    }
    pageAppLink_ = link;
    AppWeb_ = new WebBrowser(web_.pageApp(link), AppPic_);
    ADWeb_ = new WebBrowser(web_.pageApp(link), ADPic_);
    // The app's page reaches web addresses only, never local files.
    connect(
        AppWeb_, &WebBrowser::BeforeNavigate2, this,
        [](const QUrl& url, bool& cancel) { cancel = !base::isWebAddress(url.toString().toStdString()); },
        Qt::DirectConnection);
    connect(AppWeb_, &WebBrowser::DocumentComplete, this, &FlashPayFrm::documentComplete);
}

bool FlashPayFrm::suits(const viewer::OpenedApp& app) const {
    return app.IsWidgetApp ? !AppWeb_ : !note_ && (!AppWeb_ || pageAppLink_ == app.Link);
}

void FlashPayFrm::takePlayer() {
    QWidget* appPage = GameSStabs_->page(AppTab);
    flash_ = players_
                 ? players_->take(appPage)
                 : new FlashPlayer(
                       group_, PlayerFiles{folders_.program / "player", gameFolder_, folders_.data / "Saves"},
                       appPage);
    flash_->hide();
    // Until the movie's first frame the player shows the page colour, as the catalogue's pages do.
    flash_->page()->setBackgroundColor(pageColour_);
    connect(flash_, &FlashPlayer::movieLoaded, this, &FlashPayFrm::focusApp);
    connect(flash_, &FlashPlayer::movieDrawn, this, [this] {
        movieDrawn_ = true;
        layoutCurrentTab();
    });
    connect(flash_, &FlashPlayer::movieFailed, this, [this] {
        if (note_) note_->setText(text(MovieFailedNote));
        movieFailed_ = true;
        layoutCurrentTab();
    });
    // The movie's fscommand: "quit" closes the viewer, "fullscreen" does what the full-screen tab
    // does. The close waits for the page's report to be handled.
    connect(flash_, &FlashPlayer::quitRequested, this, &QWidget::close, Qt::QueuedConnection);
    connect(flash_, &FlashPlayer::fullScreenRequested, this, [this](bool on) {
        if (on != fullScreen_) GameSStabs_->setCurrentTab(FullScreenTab);
    });
    connect(flash_, &FlashPlayer::savesRefused, this, [this] { sayAboutSaves(SavesFullNote, refusalSaid_); });
    connect(flash_, &FlashPlayer::savesNotWritten, this,
            [this] { sayAboutSaves(SavesNotWrittenNote, failureSaid_); });
}

// The movie goes on playing; the note says why its progress is not kept.
void FlashPayFrm::sayAboutSaves(std::string_view note, bool& said) {
    if (said || !savesNote_) return;
    said = true;
    sayOverPlayer(text(note));
}

bool FlashPayFrm::sayOverPlayer(const QString& note) {
    if (!savesNote_) return false;
    savesNote_->setText(note);
    savesNote_->show();
    layoutCurrentTab();
    savesNoteShown_->start();
    return true;
}

void FlashPayFrm::applySkin(const Settings& settings) {
    const QString skinName = text(settings.skinName);
    directUI_ = new skin::DirectUI(this);
    directUI_->Skin(skinName, this, folders_.program);
    tabSkin_ = new skin::CSSTab(this);
    tabSkin_->setTabWidth(TabWidthPixels);
    tabSkin_->setTabHeight(TabHeightPixels);
    tabSkin_->setColors(settings.tabColor, settings.tabBackColor);
    tabSkin_->TabSkin(GameSStabs_, skinName, folders_.program);

    // The bar's two pictures are the skin's; without them it keeps their size and draws no picture.
    // They are read straight away: the frame's loads above already let pending events run.
    const std::filesystem::path folder = directUI_->skinFolder();
    N1_->setBarPictureBack(skin::Surface::loadBitmap(folder / "ProgressBack.bmp").image());
    N1_->setBarPictureFore(skin::Surface::loadBitmap(folder / "ProgressFore.bmp").image());
    if (N1_->BarPictureBack().isNull()) N1_->resize(ProgressWidthPixels, ProgressHeightPixels);
    N1_->raise();

    paintBackground(Frm_, QPalette::Window);
    paintBackground(GameSour_, QPalette::Window);
    paintBackground(GameInfo_, QPalette::Base);
    paintBackground(GameLY_, QPalette::Base);
}

void FlashPayFrm::fillTexts() {
    const AppDetail& detail = app_.CurrentApp;
    const QString name = text(detail.Name);
    setWindowTitle(name);
    Frm_->setTitle(name + text(DescriptionFrameSuffix));
    GameSour_->setTitle(name + text(SourceFrameSuffix));
    GameInfo_->setPlainText(plainText(detail.Description));
    GameLY_->setPlainText(plainText(detail.Developer));
    GameSStabs_->setTabCaption(AppTab, name);
}

QString FlashPayFrm::moviePath() const {
    return place_ ? QString::fromStdString(place_->movieOnDisk(gameFolder_).string()) : QString();
}

std::string FlashPayFrm::movieFile() const {
    return place_ ? place_->movieFile().string() : std::string();
}

// What an earlier version kept for the movie is taken over first, on one of the group's workers:
// it asks every kept app whether the earlier saves folder was shared, and may copy the movie. Only
// then is the movie looked for and, as it starts, are its saves read.
void FlashPayFrm::startMovie() {
    if (!place_) return;
    const int start = ++starts_;
    if (place_->isLocal() || !KeptApps(folders_.data).hasEarlierFiles(app_.CurrentApp)) return findMovie();
    group_.readers().start(
        [folder = folders_.data, detail = app_.CurrentApp] { KeptApps(folder).adoptEarlierFiles(detail); },
        [self = QPointer<FlashPayFrm>(this), start] {
            if (self && self->starts_ == start) self->findMovie();
        });
}

// A movie whose file cannot be looked for (a name too long even for its site folder, a folder
// that cannot be read) shows the note; nothing a store page names ends the program.
void FlashPayFrm::findMovie() {
    if (!place_) return;
    const std::filesystem::path movie = place_->movieOnDisk(gameFolder_);
    std::error_code ec;
    if (std::filesystem::is_regular_file(movie, ec)) {
        N1_->hide();
        playMovie();
        return;
    }
    // A local movie that went away meanwhile is said so; there is nothing to download.
    if (place_->isLocal()) {
        if (note_) note_->setText(text(LocalMovie{movie, LocalMovie::Problem::Missing}.note()));
        movieFailed_ = true;
        layoutCurrentTab();
        return;
    }
    std::filesystem::create_directories(movie.parent_path(), ec);
    movieFailed_ = static_cast<bool>(ec); // the bar shows while the movie downloads, not the note
    if (movieFailed_) {
        layoutCurrentTab();
        return;
    }
    Down_->setFileURL(text(app_.CurrentApp.ContentUrl));
    Down_->setSaveFilePath(QString::fromStdString(movie.parent_path().string()));
    Down_->control().setSaveAs(movie.filename().string());
    Down_->BeginDownload();
    N1_->show();
}

void FlashPayFrm::downloadComplete(int bytes) {
    std::error_code ec;
    if (!place_ || bytes == 0 || !std::filesystem::is_regular_file(place_->movieOnDisk(gameFolder_), ec))
        return;
    N1_->hide();
    playMovie();
}

void FlashPayFrm::playMovie() {
    // A window that gave its player back shows no app any more; a download that ends after that
    // leaves its movie in Game for the next viewer.
    if (!flash_) return;
    movieFailed_ = false;
    movieDrawn_ = false;
    flash_->setMovie(moviePath(), text(app_.CurrentApp.ContentUrl));
    layoutCurrentTab();
}

void FlashPayFrm::documentComplete(const QUrl& url) {
    if (!sameAddress(url, app_.CurrentApp.ContentUrl) || AppWeb_->Busy()) return;
    pageReady_ = true;
    layoutCurrentTab();
    focusApp();
}

// The app shown takes the keyboard, so that a game answers its keys without a click first: when
// the window shows, once the movie or page has loaded, and after every tab click.
void FlashPayFrm::focusApp() {
    if (GameSStabs_->currentTab() != AppTab) return;
    QWidget* view = flash_ && flash_->isVisible()     ? static_cast<QWidget*>(flash_)
                    : AppWeb_ && AppWeb_->isVisible() ? AppWeb_
                                                      : nullptr;
    if (!view) return;
    // A view whose tab was away for a moment (a click on another tab) can keep the window's focus
    // while its page lost it; focusing it anew gives the page, and the movie in it, the keys again.
    if (view->hasFocus()) view->clearFocus();
    view->setFocus(Qt::OtherFocusReason);
}

// The viewer opens in front of the catalogue with the keyboard.
void FlashPayFrm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    activateWindow();
    focusApp();
}

void FlashPayFrm::closeEvent(QCloseEvent* event) {
    if (!flash_ || movieStopped_) return QWidget::closeEvent(event);
    event->ignore();
    hide();
    if (closing_) return;
    closing_ = true;
    // Closed again once the movie has stopped; queued, as the stop may end at once.
    connect(
        flash_, &FlashPlayer::movieStopped, this,
        [this] {
            movieStopped_ = true;
            close();
        },
        static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
    flash_->stopMovie();
}

void FlashPayFrm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int width = base::pixelsToTwips(event->size().width());
    const int height = base::pixelsToTwips(event->size().height());
    place(N1_, ViewerLayout::progressBar(width, height, base::pixelsToTwips(N1_->width()),
                                         base::pixelsToTwips(N1_->height())));
    place(GameSStabs_, ViewerLayout::tabs(fullScreen_, width, height));
    layoutCurrentTab();
}

void FlashPayFrm::layoutCurrentTab() {
    const TwipsRect S{base::pixelsToTwips(GameSStabs_->x()), base::pixelsToTwips(GameSStabs_->y()),
                      base::pixelsToTwips(GameSStabs_->width()), base::pixelsToTwips(GameSStabs_->height())};
    const int T = GameSStabs_->tabHeightTwips();
    const TwipsRect frame = ViewerLayout::tabFrame(S, T);
    switch (tabContent(GameSStabs_->currentTab())) {
    case TabContent::Description:
        place(Frm_, frame);
        place(GameInfo_, ViewerLayout::textBox(frame));
        break;
    case TabContent::Source:
        place(GameSour_, frame);
        place(GameLY_, ViewerLayout::textBox(frame));
        break;
    case TabContent::App:
        if (flash_) {
            place(flash_, ViewerLayout::player(S, T));
            place(note_, ViewerLayout::player(S, T));
            place(curtain_, ViewerLayout::player(S, T));
            AppPic_->hide();
            flash_->setVisible(!movieFailed_);
            note_->setVisible(movieFailed_);
            curtain_->setVisible(!movieFailed_ && !movieDrawn_);
            curtain_->raise();
            if (savesNote_->isVisible()) {
                const TwipsRect player = ViewerLayout::player(S, T);
                savesNote_->setFixedWidth(base::twipsToPixels(player.width));
                savesNote_->move(base::twipsToPixels(player.left), base::twipsToPixels(player.top));
                savesNote_->adjustSize();
                savesNote_->raise();
            }
            break;
        }
        if (!AppWeb_) break; // no app loaded yet
        for (auto [pic, web] : {std::pair{AppPic_, AppWeb_}, std::pair{ADPic_, ADWeb_}}) {
            place(pic, frame);
            const TwipsRect browser = ViewerLayout::pageBrowser(frame);
            web->Move(browser.left, browser.top, browser.width, browser.height);
        }
        if (pageReady_) {
            AppPic_->show();
            ADPic_->hide();
        }
        break;
    }
}

void FlashPayFrm::tabClicked() {
    // Selecting the app's tab below clicks again; that inner click only lays out.
    if (inClick_) return;
    QScopedValueRollback guard(inClick_, true);

    const int current = GameSStabs_->currentTab();
    switch (tabCommand(current, fullScreen_)) {
    case TabCommand::Reload:
        if (app_.IsWidgetApp) {
            // A movie that could not run is fetched anew: its file may be broken. Only a click
            // does this, so a broken file never makes the viewer download again and again. A local
            // movie is the player's own file: it is only read.
            if (movieFailed_ && place_ && !place_->isLocal()) {
                std::error_code ec;
                std::filesystem::remove(gameFolder_ / place_->movieFile(), ec);
            }
            startMovie();
        } else if (AppWeb_ && base::isWebAddress(app_.CurrentApp.ContentUrl)) {
            AppWeb_->Navigate(text(app_.CurrentApp.ContentUrl));
        }
        GameSStabs_->setCurrentTab(AppTab);
        break;
    case TabCommand::EnterFullScreen:
        GameSStabs_->setTabCaption(current, text(LeaveFullScreenCaption));
        fullScreen_ = true;
        GameSStabs_->setCurrentTab(AppTab);
        if (!isMaximized()) directUI_->toggleMaximised();
        break;
    case TabCommand::LeaveFullScreen:
        GameSStabs_->setTabCaption(current, text(FullScreenCaption));
        fullScreen_ = false;
        GameSStabs_->setCurrentTab(AppTab);
        if (isMaximized()) directUI_->toggleMaximised();
        break;
    case TabCommand::None:
        break;
    }
    leaveFullScreen_->setEnabled(fullScreen_);
    // The window's size may not have changed (it was maximised already): place the tabs anew.
    place(GameSStabs_,
          ViewerLayout::tabs(fullScreen_, base::pixelsToTwips(width()), base::pixelsToTwips(height())));
    layoutCurrentTab();
    focusApp();
}
