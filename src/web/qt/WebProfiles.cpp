#include "web/qt/WebProfiles.h"

#include "base/StableName.h"
#include "web/qt/PersistentCookies.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWebEngineProfile>
#include <system_error>

namespace fs = std::filesystem;

WebProfiles::WebProfiles(fs::path appFolder)
    : folder_(folder(appFolder)), pageAppFolders_(folder_ / "PageApps") {}

// A window closed just before (its deletion still pending) takes its pages with it first.
WebProfiles::~WebProfiles() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

fs::path WebProfiles::folder(const fs::path& appFolder) {
    return appFolder / "WebData";
}

void WebProfiles::prepareEngine() {
    // Local storage reaches the disk a second after a change. Without this switch the engine waits
    // five seconds, and after its first write at most one write a minute for each site.
    static const QByteArray flag = "--enable-aggressive-domstorage-flushing";
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (flags.split(' ').contains(flag)) return;
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.isEmpty() ? flag : flags + ' ' + flag);
}

QWebEngineProfile* WebProfiles::catalogue() {
    if (!catalogue_) {
        catalogue_ = lasting(QStringLiteral("Catalogue"), folder_ / "Catalogue");
        // The catalogue's pages run no scripts and need no cookie beyond the session.
        catalogue_->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    }
    return catalogue_.get();
}

QWebEngineProfile* WebProfiles::pageApp(std::string_view link) {
    // By folder name: links that share a folder share its profile too, as two profiles on one
    // folder would spoil its data.
    const std::string name = base::stableName(link);
    if (const auto found = pageApps_.find(name); found != pageApps_.end()) return found->second.profile.get();
    if (!pageAppsSplit_) {
        pageAppFolders_.splitShared();
        pageAppsSplit_ = true;
    }
    const fs::path dir = pageAppFolders_.folderFor(link);
    PageApp app;
    app.profile = lasting(QStringLiteral("PageApp-") + QString::fromStdString(name), dir);
    app.profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    app.cookies = std::make_unique<PersistentCookies>(*app.profile->cookieStore(), dir / "Cookies.txt");
    return pageApps_.emplace(name, std::move(app)).first->second.profile.get();
}

QWebEngineProfile* WebProfiles::newPlayerProfile(QObject* owner) {
    return new QWebEngineProfile(owner);
}

// A profile whose storage and HTTP cache are kept in dir, inside WebData/. The folders are the
// user's alone: they hold cookies and whatever the pages stored.
std::unique_ptr<QWebEngineProfile> WebProfiles::lasting(const QString& name, const fs::path& dir) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    for (fs::path mine = dir; !mine.empty() && mine != folder_.parent_path(); mine = mine.parent_path())
        fs::permissions(mine, fs::perms::owner_all, ec);
    auto profile = std::make_unique<QWebEngineProfile>(name);
    const QString path = QString::fromStdString(dir.string());
    profile->setPersistentStoragePath(path);
    profile->setCachePath(path);
    profile->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
    return profile;
}
