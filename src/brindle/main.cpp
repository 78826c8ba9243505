// Brindle, the catalogue browser: the start sequence (settings file, page-cache updater, settings,
// working folders), then the catalogue window. The program ends when the window closes, or on
// SIGTERM, which closes the window first so that no web-engine process is left behind. An app link
// clicked in the window opens the app viewer; closing the window closes the viewer too.

#include "base/AppFolder.h"
#include "catalogue/qt/MainFrm.h"
#include "catalogue/qt/TerminationSignal.h"
#include "startup/IniFile.h"
#include "startup/PosixLauncher.h"
#include "startup/Servers.h"
#include "startup/StartMode.h"
#include "viewer/qt/AppOpener.h"
#include "viewer/qt/PlayerSchemeHandler.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
    const auto appFolder = base::applicationFolder();
    PosixLauncher launcher;
    IniFile settingsFile;
    const StartResult start = runStartSequence(appFolder, base::executableBaseName(), launcher, settingsFile);
    for (const auto& folder : start.missingFolders)
        std::fprintf(stderr, "Brindle: cannot create the folder %s\n", folder.c_str());

    PlayerSchemeHandler::registerScheme(); // the web engine takes schemes only before it starts
    QApplication app(argc, argv);
    TerminationSignal termination;
    const Servers servers = Servers::read(appFolder);
    MainFrm window(appFolder, start.settings, servers);
    AppOpener opener(appFolder, start.settings, servers.site);
    QObject::connect(&window, &MainFrm::appLinkClicked, &opener, &AppOpener::open);
    QObject::connect(&window, &MainFrm::unloaded, &opener, &AppOpener::closeViewer);
    QObject::connect(&termination, &TerminationSignal::received, &window, &QWidget::close);
    QObject::connect(&window, &MainFrm::unloaded, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    window.show();
    return app.exec();
}
