// Brindle, the catalogue browser: one per application folder (a second start brings the running
// one's window to the front and ends before it writes anything), the start sequence (settings file,
// page-cache updater, settings, working folders), then the catalogue window with its update check
// and skin menu. The program ends when the window closes, or on SIGTERM, which closes the window
// first so that no web-engine process is left behind. An app link clicked in the window opens the
// app viewer; closing the window closes the viewer too, and the program ends once the viewer's
// movie has stopped and its saves are on disk (written while the rest tears down). A skin change
// or an update names a program to start: it starts only after the application object and every
// window and web-engine process of this instance are gone, its saves are on disk, and it has let
// go of the folder's lock and its socket, so that the new one starts in full.
// Its command line is read first (library/CommandLine.h): a command for scripts, --help or
// --version runs alone, and a command line it does not take is refused, before anything of Qt.
// Movie files it names open each in a viewer once the window shows, or, when Brindle runs already,
// in the running one, which the request brings to the front.

#include "base/AppFolder.h"
#include "base/AtomicFile.h"
#include "base/Folders.h"
#include "base/RunLock.h"
#include "catalogue/PendingStart.h"
#include "catalogue/SkinChange.h"
#include "catalogue/UpdatePublicKey.h"
#include "catalogue/UpdateVersion.h"
#include "catalogue/qt/MainFrm.h"
#include "catalogue/qt/QtChinese.h"
#include "catalogue/qt/SingleInstance.h"
#include "catalogue/qt/SkinMenu.h"
#include "catalogue/qt/TerminationSignal.h"
#include "catalogue/qt/UpdateCheck.h"
#include "library/CommandLine.h"
#include "library/qt/PlayTracker.h"
#include "pages/Catalogue.h"
#include "skin/qt/ShowSkinMenu.h"
#include "startup/IniFile.h"
#include "startup/PosixLauncher.h"
#include "startup/Servers.h"
#include "startup/StartMode.h"
#include "viewer/LocalMovie.h"
#include "viewer/SaveWriter.h"
#include "viewer/qt/AppOpener.h"
#include "viewer/qt/FlashPayFrm.h"
#include "viewer/qt/PlayerGroup.h"
#include "viewer/qt/PlayerReadiness.h"
#include "viewer/qt/PlayerSchemeHandler.h"
#include "web/qt/WebProfiles.h"

#include <QApplication>
#include <QLoggingCategory>
#include <optional>
#include <string>
#include <vector>

namespace {

// The start of the program: its folders and the program it hands over to.
Q_LOGGING_CATEGORY(startLog, "brindle.start")

const char* const InstanceLockName = "Brindle.lock";
// How long a second start tries to reach the running instance, which may still be starting.
constexpr std::chrono::milliseconds ReachRunningMs{800};

// A second start: the running instance shows its window and opens files; this one writes nothing
// and ends.
bool showRunningInstance(int argc, char** argv, const std::filesystem::path& dataFolder,
                         const std::vector<std::filesystem::path>& files) {
    QCoreApplication app(argc, argv);
    return SingleInstance::askToShow(dataFolder, ReachRunningMs, files);
}

// Movies' saves go to saves, which the caller keeps until it has waited for them.
int runCatalogue(int argc, char** argv, const base::Folders& folders, const StartResult& start,
                 const std::vector<std::filesystem::path>& files, viewer::SaveWriter& saves) {
    WebProfiles::prepareEngine();
    QApplication app(argc, argv);
    if (!QtChinese::install(app)) std::fprintf(stderr, "Brindle: Qt's Chinese translations are missing\n");
    // Listening from the start, so that a second start reaches this one while its window is built.
    SingleInstance instance(folders.data);
    TerminationSignal termination;
    // A SIGTERM that comes while the window is being built (its skin lets events run) ends the
    // program before the window shows.
    bool terminated = false;
    QObject::connect(&termination, &TerminationSignal::received, &app, [&terminated] { terminated = true; });
    const Servers servers = Servers::read(folders.config);
    // Made before the windows and destroyed after them, as pages must go before their profiles.
    WebProfiles web(folders);
    MainFrm window(folders, start.settings, servers, web);
    QObject::connect(&instance, &SingleInstance::showRequested, &window,
                     [&window] { SingleInstance::bringToFront(&window); });
    PlayerGroup players(saves);
    AppOpener opener(folders, start.settings, servers.site, web, players);
    QObject::connect(&window, &MainFrm::appLinkClicked, &opener, &AppOpener::open);
    const auto openFile = [&opener](const QString& path) { opener.openFile(path.toStdString()); };
    QObject::connect(&window, &MainFrm::movieFileChosen, &opener, openFile);
    QObject::connect(&instance, &SingleInstance::fileRequested, &opener, openFile);
    QObject::connect(&opener, &AppOpener::notOpened, &window, &MainFrm::ShowNote);
    // Plays and play time go into the window's play library. Destroyed before the opener, it adds
    // the time of a viewer still open while that viewer is there.
    PlayTracker tracker(*window.playLibrary(), folders.data);
    QObject::connect(&opener, &AppOpener::opened, &tracker, [&tracker, &opener](FlashPayFrm* viewer) {
        tracker.trackViewer(viewer, opener.currentLink().toString(QUrl::FullyEncoded).toStdString());
    });
    QObject::connect(&tracker, &PlayTracker::changed, &window, &MainFrm::libraryChanged);
    // A play that cannot be counted is said over its movie, or over the catalogue.
    QObject::connect(&tracker, &PlayTracker::notCounted, &window,
                     [&window](QWidget* where, const QString& why) {
                         auto* viewer = qobject_cast<FlashPayFrm*>(where);
                         if (!viewer || !viewer->sayOverPlayer(why)) window.ShowNote(why);
                     });
    // The movie viewers' player is ready only while a movie is likely: none while the catalogue
    // shows other apps, no memory spent on it for a player who browses them.
    PlayerReadiness readiness(opener.readyPlayer(),
                              [&opener](const QUrl& link) { return opener.isKeptMovieApp(link); });
    QObject::connect(&window, &MainFrm::moviePageShown, &readiness, &PlayerReadiness::moviePageShown);
    QObject::connect(&window, &MainFrm::linkHovered, &readiness, &PlayerReadiness::linkHovered);
    QObject::connect(&window, &MainFrm::movieTabPointed, &readiness, &PlayerReadiness::movieTabPointed);

    UpdateCheck update(window.UpDateDown(), window.DownFtp(), folders, UpdateSignature(updatePublicKeyPem()),
                       &window);
    SkinMenu skins(&window,
                   SkinChange(folders.program, start.settingsFile, start.settings.skinName,
                              start.settings.webBackColor,
                              {Catalogue::htmlFolder(folders.data), servers.site, servers.staticHost}),
                   folders.program / base::executableBaseName());
    skins.fill(folders.program / "Skin", start.settings.skinName);
    QObject::connect(&skins, &SkinMenu::pageCacheRefreshing, &window, &MainFrm::StopPageBuilds);
    skin::setSkinMenuHandler([&skins] { skins.popupAtMouse(); });

    // The program ends once the window has unloaded and the viewer its opener showed has gone,
    // its movie stopped; not when the last window leaves the screen.
    app.setQuitOnLastWindowClosed(false);
    QObject::connect(&termination, &TerminationSignal::received, &window, &QWidget::close);
    QObject::connect(&window, &MainFrm::unloaded, &opener, [&opener] {
        opener.closeViewer();
        opener.whenViewersClosed(&QCoreApplication::quit);
    });
    int code = 0;
    if (!terminated) {
        window.show();
        for (const auto& file : files)
            opener.openFile(file);
        code = app.exec();
    }
    skin::setSkinMenuHandler({});
    return code;
}

} // namespace

int main(int argc, char** argv) {
    // The commands for scripts run before anything of Qt, so they need no display.
    const auto command = library::CommandLine::parse(std::vector<std::string>(argv + 1, argv + argc));
    const auto folders = base::Folders::ofThisProgram();
    if (command.runsAlone())
        return command.run(folders, folders.data / InstanceLockName, catalogue::ownVersionText());
    // Log lines of every part of the program, each under its category (QT_LOGGING_RULES), read
    // "Brindle: ..." on standard error, as scripts look for them.
    qSetMessagePattern(QStringLiteral("Brindle: %{message}"));
    // The web engine takes schemes only before the first application object exists.
    PlayerSchemeHandler::registerScheme();
    for (const auto& folder : folders.prepare())
        std::fprintf(stderr, "Brindle: cannot create the folder %s\n", folder.c_str());
    std::optional<base::RunLock> instanceLock(std::in_place, folders.data / InstanceLockName,
                                              base::RunLock::Mode::Try);
    // Another instance holds the folder. A lock that cannot be had at all (a read-only folder)
    // leaves only the socket to tell whether one runs.
    std::error_code noFolder;
    const auto currentFolder = std::filesystem::current_path(noFolder);
    std::vector<std::filesystem::path> files;
    for (const std::string& file : command.files())
        files.push_back(viewer::LocalMovie::pathOf(file, currentFolder));
    if (!instanceLock->held()) {
        if (showRunningInstance(argc, argv, folders.data, files)) return 0;
        // A running Brindle that cannot be reached cannot open the files either: said, not dropped.
        if (instanceLock->busy() && !files.empty()) {
            std::fprintf(stderr, "Brindle 已在运行，但无法把文件交给它，请在 Brindle 里打开这些文件。\n");
            return 1;
        }
        if (instanceLock->busy()) return 0;
    }

    PosixLauncher launcher;
    IniFile settingsFile;
    const StartResult start = runStartSequence(folders, base::executableBaseName(), launcher, settingsFile);
    for (const auto& folder : start.missingFolders)
        qCWarning(startLog, "cannot create the folder %s", folder.c_str());
    // Only Brindle writes into these folders and only one Brindle runs per folder: holding the lock
    // and before its first download, any temporary file there is left by a write or download that
    // a kill or crash cut short.
    if (instanceLock->held())
        for (const char* folder : {"Game", "Update", "Apps"})
            base::removeTemporaries(folders.data / folder, true);

    // The saves of the movies that stopped last are written while the program tears down.
    viewer::SaveWriter saves;
    const int code = runCatalogue(argc, argv, folders, start, files, saves);
    saves.waitIdle();
    instanceLock.reset();
    if (!PendingStart::run(launcher)) qCWarning(startLog, "cannot start the next program");
    return code;
}
