#include "CatalogueWindow.h"

#include "catalogue/PendingStart.h"
#include "catalogue/qt/MessageBoxHook.h"
#include "startup/IniFile.h"
#include "startup/Servers.h"

#include <QTest>

namespace fs = std::filesystem;

CatalogueWindow::CatalogueWindow(const std::string& storeSite) : folder_(storeSite), web_(folder_.path()) {
    fs::create_directory(folder() / "Html");
    fs::create_directory(folder() / "Game");
    catalogue::setMessageBoxHook([this](const QString& text) { messages_.push_back(text); });
    PendingStart::take();
}

CatalogueWindow::~CatalogueWindow() {
    if (window_) window_->close();
    window_.reset();
    catalogue::setMessageBoxHook({});
}

MainFrm& CatalogueWindow::open() {
    ensureSettingsFile(settingsFile());
    IniFile ini;
    ini.SpecifyIni(settingsFile().string());
    settings_ = readSettings(ini);
    window_ = std::make_unique<MainFrm>(folder(), settings_, Servers::read(folder()), web_);
    QObject::connect(window_.get(), &MainFrm::unloaded, [this] { unloaded_ = true; });
    window_->show();
    return *window_;
}

bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    return QTest::qWaitFor(done, static_cast<int>(timeout.count()));
}
