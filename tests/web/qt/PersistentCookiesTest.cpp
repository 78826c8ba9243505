// The cookie file of a profile: written soon after each change with the lasting cookies only, and
// read back into a fresh store without the expired ones.

#include "web/qt/PersistentCookies.h"

#include "LoopbackServer.h"
#include "PageScript.h"
#include "TempDir.h"

#include <QDateTime>
#include <QFile>
#include <QSignalSpy>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>

namespace {

QByteArray readAll(const std::filesystem::path& file) {
    QFile in(QString::fromStdString(file.string()));
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

QNetworkCookie cookie(const QByteArray& name, const QByteArray& value, int daysToLive) {
    QNetworkCookie made(name, value);
    made.setDomain(QStringLiteral("127.0.0.1"));
    made.setPath(QStringLiteral("/"));
    if (daysToLive != 0) made.setExpirationDate(QDateTime::currentDateTimeUtc().addDays(daysToLive));
    return made;
}

// Counts, while it lives, the warnings that a cookie file could not be written; they still go to
// the handler before it.
class WriteFailures {
  public:
    WriteFailures() { previous = qInstallMessageHandler(&WriteFailures::handle); }
    ~WriteFailures() { qInstallMessageHandler(previous); }
    int count() const { return counted; }

  private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (type == QtWarningMsg && text.contains(QLatin1String("cannot write the cookies"))) ++counted;
        if (previous) previous(type, context, text);
    }
    static inline QtMessageHandler previous = nullptr;
    static inline std::atomic<int> counted = 0;
};

class PersistentCookiesTest : public ::testing::Test {
  protected:
    PersistentCookiesTest() {
        site.routes().Get("/", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("<body>cookies</body>", "text/html");
        });
        site.start();
    }
    // A page of the site on profile, loaded. The store reports changes only once a page has
    // started the profile's network side.
    std::unique_ptr<QWebEnginePage> sitePage(QWebEngineProfile& profile) {
        auto page = std::make_unique<QWebEnginePage>(&profile);
        QSignalSpy loaded(page.get(), &QWebEnginePage::loadFinished);
        page->load(QUrl(QString::fromStdString(site.url("/"))));
        EXPECT_TRUE(loaded.wait(15000));
        return page;
    }

    TempDir dir;
    std::filesystem::path file = dir.path() / "Cookies.txt";
    LoopbackServer site;
};

} // namespace

TEST_F(PersistentCookiesTest, TheFileFollowsEachChangeWithTheLastingCookiesOnly) {
    QWebEngineProfile profile;
    QWebEngineCookieStore& store = *profile.cookieStore();
    PersistentCookies kept(store, file);
    const auto page = sitePage(profile);
    store.setCookie(cookie("lasting", "1", 1));
    store.setCookie(cookie("session", "1", 0));
    ASSERT_TRUE(waitUntil([&] { return readAll(file).contains("lasting=1"); }, 5000));
    EXPECT_FALSE(readAll(file).contains("session"));
    EXPECT_EQ(readAll(file).count('\n'), 1);

    // The page replaces one and sets another; the file holds the new value once.
    evaluate(*page, "document.cookie = 'lasting=2; max-age=3600'; document.cookie = 'other=3; max-age=3600'");
    ASSERT_TRUE(waitUntil([&] { return readAll(file).contains("other=3"); }, 5000));
    EXPECT_TRUE(readAll(file).contains("lasting=2"));
    EXPECT_FALSE(readAll(file).contains("lasting=1"));

    // Removed by the page and by the program.
    evaluate(*page, "document.cookie = 'other=; max-age=0'");
    store.deleteCookie(cookie("lasting", "2", 1));
    ASSERT_TRUE(waitUntil(
        [&] { return !readAll(file).contains("other") && !readAll(file).contains("lasting"); }, 5000));
    EXPECT_TRUE(kept.cookies().isEmpty());
}

TEST_F(PersistentCookiesTest, AFreshStoreGetsTheFilesUnexpiredCookiesBeforeItsFirstPage) {
    QByteArray lines = cookie("lasting", "1", 1).toRawForm() + "\n" + cookie("expired", "1", -1).toRawForm() +
                       "\n" + "not a cookie at all\n" + cookie("session", "1", 0).toRawForm() + "\n";
    QFile out(QString::fromStdString(file.string()));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(lines);
    out.close();

    QWebEngineProfile profile;
    PersistentCookies kept(*profile.cookieStore(), file);
    ASSERT_EQ(kept.cookies().size(), 1);
    EXPECT_EQ(evaluate(*sitePage(profile), "document.cookie").toString(), QStringLiteral("lasting=1"));
}

TEST_F(PersistentCookiesTest, AFileThatCannotBeWrittenKeepsTheCookiesForTheNextTry) {
    QWebEngineProfile profile;
    std::filesystem::create_directory(file); // a folder where the file belongs
    {
        PersistentCookies kept(*profile.cookieStore(), file);
        const auto page = sitePage(profile);
        WriteFailures failures;
        const int before = failures.count();
        profile.cookieStore()->setCookie(cookie("lasting", "1", 1));
        ASSERT_TRUE(waitUntil([&] { return kept.cookies().size() == 1; }, 5000));
        ASSERT_TRUE(
            waitUntil([&] { return failures.count() > before; }, PersistentCookies::WriteDelayMs + 5000))
            << "the write after the change was not tried";
        EXPECT_TRUE(std::filesystem::is_directory(file));
        std::filesystem::remove(file);
    }
    // Written when the object goes.
    EXPECT_TRUE(readAll(file).contains("lasting=1"));
}
