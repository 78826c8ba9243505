#include "web/qt/WebProfiles.h"

#include "web/qt/PersistentCookies.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWebEngineProfile>
#include <system_error>

namespace fs = std::filesystem;

WebProfiles::WebProfiles(fs::path appFolder) : folder_(folder(appFolder)) {}

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
        catalogue_ = lasting(QStringLiteral("Catalogue"));
        // The catalogue's pages run no scripts and need no cookie beyond the session.
        catalogue_->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    }
    return catalogue_.get();
}

QWebEngineProfile* WebProfiles::pageApps() {
    if (!pageApps_) {
        pageApps_ = lasting(QStringLiteral("PageApps"));
        pageApps_->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
        pageAppCookies_ = std::make_unique<PersistentCookies>(*pageApps_->cookieStore(),
                                                              folder_ / "PageApps" / "Cookies.txt");
    }
    return pageApps_.get();
}

QWebEngineProfile* WebProfiles::newPlayerProfile(QObject* owner) {
    return new QWebEngineProfile(owner);
}

// A profile whose storage and HTTP cache are kept in WebData/<name>/. The folder is the user's
// alone: it holds cookies and whatever the pages stored.
std::unique_ptr<QWebEngineProfile> WebProfiles::lasting(const QString& name) {
    const fs::path dir = folder_ / name.toStdString();
    std::error_code ec;
    fs::create_directories(dir, ec);
    fs::permissions(folder_, fs::perms::owner_all, ec);
    fs::permissions(dir, fs::perms::owner_all, ec);
    auto profile = std::make_unique<QWebEngineProfile>(name);
    const QString path = QString::fromStdString(dir.string());
    profile->setPersistentStoragePath(path);
    profile->setCachePath(path);
    profile->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
    return profile;
}
