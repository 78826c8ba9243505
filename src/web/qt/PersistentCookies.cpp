#include "web/qt/PersistentCookies.h"

#include "base/AtomicFile.h"
#include "web/qt/WebLog.h"

#include <QDateTime>
#include <QFile>
#include <QUrl>
#include <QWebEngineCookieStore>
#include <algorithm>

namespace {

bool lasting(const QNetworkCookie& cookie, const QDateTime& now) {
    return !cookie.isSessionCookie() && cookie.expirationDate() > now;
}

// A cookie whose domain has no leading dot belongs to that host alone. It goes back without a
// domain attribute and with the host as its origin, which keeps it host-only: with the attribute
// the engine would hand it to every subdomain as well.
void put(QWebEngineCookieStore& store, const QNetworkCookie& cookie) {
    if (cookie.domain().startsWith(QLatin1Char('.'))) {
        store.setCookie(cookie);
        return;
    }
    QUrl origin;
    origin.setScheme(cookie.isSecure() ? QStringLiteral("https") : QStringLiteral("http"));
    origin.setHost(cookie.domain());
    origin.setPath(cookie.path().isEmpty() ? QStringLiteral("/") : cookie.path());
    QNetworkCookie hostOnly = cookie;
    hostOnly.setDomain(QString());
    store.setCookie(hostOnly, origin);
}

} // namespace

PersistentCookies::PersistentCookies(QWebEngineCookieStore& store, std::filesystem::path file,
                                     QObject* parent)
    : QObject(parent), file_(std::move(file)) {
    write_.setSingleShot(true);
    write_.setInterval(WriteDelayMs);
    connect(&write_, &QTimer::timeout, this, &PersistentCookies::flush);
    connect(&store, &QWebEngineCookieStore::cookieAdded, this, &PersistentCookies::added);
    connect(&store, &QWebEngineCookieStore::cookieRemoved, this, &PersistentCookies::removed);
    restore(store);
}

PersistentCookies::~PersistentCookies() {
    flush();
}

void PersistentCookies::restore(QWebEngineCookieStore& store) {
    QFile in(QString::fromStdString(file_.string()));
    if (!in.open(QIODevice::ReadOnly)) return;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    while (!in.atEnd()) {
        for (const QNetworkCookie& cookie : QNetworkCookie::parseCookies(in.readLine().trimmed())) {
            if (!lasting(cookie, now)) continue;
            cookies_.removeIf([&](const QNetworkCookie& kept) { return kept.hasSameIdentifier(cookie); });
            cookies_.append(cookie);
        }
    }
    for (const QNetworkCookie& cookie : cookies_)
        put(store, cookie);
}

void PersistentCookies::added(const QNetworkCookie& cookie) {
    const auto same = std::find_if(cookies_.begin(), cookies_.end(), [&](const QNetworkCookie& kept) {
        return kept.hasSameIdentifier(cookie);
    });
    if (!cookie.isSessionCookie()) {
        if (same != cookies_.end() && *same == cookie) return; // the store reports one it has been given
        if (same != cookies_.end())
            *same = cookie;
        else
            cookies_.append(cookie);
        changed();
    } else if (same != cookies_.end()) {
        // A session cookie took the place of a lasting one, which must not come back at the next start.
        cookies_.erase(same);
        changed();
    }
}

// The engine reports a replaced cookie as removed before it reports the new one; only the cookie
// itself (not a newer one of the same name) is dropped.
void PersistentCookies::removed(const QNetworkCookie& cookie) {
    if (cookies_.removeAll(cookie) > 0) changed();
}

void PersistentCookies::changed() {
    dirty_ = true;
    // Not restarted by later changes, so that a page that changes its cookies all the time still
    // gets them written every WriteDelayMs.
    if (!write_.isActive()) write_.start();
}

void PersistentCookies::flush() {
    write_.stop();
    if (!dirty_) return;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QByteArray lines;
    for (const QNetworkCookie& cookie : cookies_) {
        const QByteArray line = cookie.toRawForm(QNetworkCookie::Full);
        if (lasting(cookie, now) && !line.contains('\n') && !line.contains('\r')) lines += line + '\n';
    }
    dirty_ = !base::writeFileAtomic(file_, std::string_view(lines.constData(), lines.size()));
    if (dirty_) qCWarning(webLog, "cannot write the cookies to %s", file_.c_str());
}
