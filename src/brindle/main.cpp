// Brindle, the catalogue browser: the start sequence (settings file, page-cache updater, settings,
// working folders), then the catalogue window with its update check and skin menu. The program ends
// when the window closes, or on SIGTERM, which closes the window first so that no web-engine process
// is left behind. An app link clicked in the window opens the app viewer; closing the window closes
// the viewer too. A skin change or an update names a program to start: it starts only after the
// application object and every window and web-engine process of this instance are gone.

#include "base/AppFolder.h"
#include "catalogue/PendingStart.h"
#include "catalogue/SkinChange.h"
#include "catalogue/UpdatePublicKey.h"
#include "catalogue/qt/MainFrm.h"
#include "catalogue/qt/SkinMenu.h"
#include "catalogue/qt/TerminationSignal.h"
#include "catalogue/qt/UpdateCheck.h"
#include "pages/Catalogue.h"
#include "skin/qt/ShowSkinMenu.h"
#include "startup/IniFile.h"
#include "startup/PosixLauncher.h"
#include "startup/Servers.h"
#include "startup/StartMode.h"
#include "viewer/qt/AppOpener.h"
#include "viewer/qt/PlayerSchemeHandler.h"
#include "web/qt/WebProfiles.h"

#include <QApplication>
#include <cstdio>

namespace {

int runCatalogue(int argc, char** argv, const std::filesystem::path& appFolder, const StartResult& start) {
    PlayerSchemeHandler::registerScheme(); // the web engine takes schemes only before it starts
    WebProfiles::prepareEngine();
    QApplication app(argc, argv);
    TerminationSignal termination;
    const Servers servers = Servers::read(appFolder);
    // Made before the windows and destroyed after them, as pages must go before their profiles.
    WebProfiles web(appFolder);
    MainFrm window(appFolder, start.settings, servers, web);
    AppOpener opener(appFolder, start.settings, servers.site, web);
    QObject::connect(&window, &MainFrm::appLinkClicked, &opener, &AppOpener::open);
    QObject::connect(&window, &MainFrm::unloaded, &opener, &AppOpener::closeViewer);

    UpdateCheck update(window.UpDateDown(), window.DownFtp(), appFolder,
                       UpdateSignature(updatePublicKeyPem()), &window);
    SkinMenu skins(&window,
                   SkinChange(appFolder, start.settingsFile, start.settings.skinName,
                              start.settings.webBackColor,
                              {Catalogue::htmlFolder(appFolder), servers.site, servers.staticHost}),
                   appFolder / base::executableBaseName());
    skins.fill(appFolder / "Skin", start.settings.skinName);
    QObject::connect(&skins, &SkinMenu::pageCacheRefreshing, &window, &MainFrm::StopPageBuilds);
    skin::setSkinMenuHandler([&skins] { skins.popupAtMouse(); });

    QObject::connect(&termination, &TerminationSignal::received, &window, &QWidget::close);
    QObject::connect(&window, &MainFrm::unloaded, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    window.show();
    const int code = app.exec();
    skin::setSkinMenuHandler({});
    return code;
}

} // namespace

int main(int argc, char** argv) {
    const auto appFolder = base::applicationFolder();
    PosixLauncher launcher;
    IniFile settingsFile;
    const StartResult start = runStartSequence(appFolder, base::executableBaseName(), launcher, settingsFile);
    for (const auto& folder : start.missingFolders)
        std::fprintf(stderr, "Brindle: cannot create the folder %s\n", folder.c_str());

    const int code = runCatalogue(argc, argv, appFolder, start);
    if (!PendingStart::run(launcher)) std::fprintf(stderr, "Brindle: cannot start the next program\n");
    return code;
}
