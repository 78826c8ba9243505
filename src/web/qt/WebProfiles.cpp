#include "web/qt/WebProfiles.h"

#include "base/StableName.h"
#include "web/qt/PersistentCookies.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWebEngineProfile>
#include <system_error>

namespace fs = std::filesystem;

WebProfiles::WebProfiles(const base::Folders& folders)
    : folder_(folder(folders.data)), cacheFolder_(folders.cache == folders.data ? folder_ : folders.cache),
      pageAppFolders_(folder_ / "PageApps") {}

// A window closed just before (its deletion still pending) takes its pages with it first.
WebProfiles::~WebProfiles() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

fs::path WebProfiles::folder(const fs::path& dataFolder) {
    return dataFolder / "WebData";
}

// Adds word to the space-separated list in the environment variable name, unless it is there.
static void addToEnvironment(const char* name, const QByteArray& word, char separator) {
    const QByteArray words = qgetenv(name);
    if (words.split(separator).contains(word)) return;
    qputenv(name, words.isEmpty() ? word : words + separator + word);
}

void WebProfiles::prepareEngine() {
    // Local storage reaches the disk a second after a change. Without this switch the engine waits
    // five seconds, and after its first write at most one write a minute for each site.
    addToEnvironment("QTWEBENGINE_CHROMIUM_FLAGS", "--enable-aggressive-domstorage-flushing", ' ');
    // The audio service's process, started by the first player page, ends once no page has used it
    // for a while: otherwise it stays for as long as the program runs, after the player went.
    addToEnvironment("QTWEBENGINE_CHROMIUM_FLAGS", "--audio-service-quit-timeout-ms=10000", ' ');
    // The engine's processes (started later, they inherit this) give freed memory back to the
    // system: the C library's thresholds stay at their first values. By default it raises them after
    // a large block is freed, such as the player's 14 MB code once compiled, and then keeps up to
    // twice that block freed in each thread's heap: a player page kept ready held 35 to 105 MiB in
    // those heaps after compiling the player, mostly about 30 with fixed thresholds.
    for (const char* tunable : {"glibc.malloc.trim_threshold=131072", "glibc.malloc.mmap_threshold=131072"})
        addToEnvironment("GLIBC_TUNABLES", tunable, ':');
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

// A profile whose storage is kept in dir, inside WebData/, and its HTTP cache in the same place
// under the cache folder. The folders are the user's alone: they hold cookies and whatever the
// pages stored.
std::unique_ptr<QWebEngineProfile> WebProfiles::lasting(const QString& name, const fs::path& dir) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    for (fs::path mine = dir; !mine.empty() && mine != folder_.parent_path(); mine = mine.parent_path())
        fs::permissions(mine, fs::perms::owner_all, ec);
    auto profile = std::make_unique<QWebEngineProfile>(name);
    profile->setPersistentStoragePath(QString::fromStdString(dir.string()));
    profile->setCachePath(QString::fromStdString((cacheFolder_ / dir.lexically_relative(folder_)).string()));
    profile->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
    return profile;
}
