#include "CatalogueSession.h"

#include "WaitUntil.h"
#include "pages/Catalogue.h"
#include "skin/qt/SSTab.h"
#include "startup/IniFile.h"
#include "startup/StartMode.h"
#include "web/qt/WebBrowser.h"

#include <QFileInfo>
#include <QTest>
#include <QWebEngineScript>
#include <algorithm>
#include <sstream>

namespace {

// The start sequence of these tests starts nothing.
class NoLauncher : public ProcessLauncher {
  public:
    bool startDetached(const std::filesystem::path&) override { return false; }
};

constexpr int MainTabWidth = 80, MainTabHeight = 75;
constexpr int SubTabWidth = 60, SubTabHeight = 30;

} // namespace

CatalogueSession::CatalogueSession(const std::vector<std::string>& storeArgs)
    : store_(storeArgs), folder_(store_.site()) {
    web_.emplace(folder_.path());
}

CatalogueSession::~CatalogueSession() {
    if (window_) window_->close();
}

void CatalogueSession::open() {
    NoLauncher launcher;
    IniFile ini;
    const StartResult start = runStartSequence(folder_.path(), "Brindle", launcher, ini);
    window_ = std::make_unique<MainFrm>(folder_.path(), start.settings, Servers::read(folder_.path()), *web_);
    PageWatch home(*window_->HomeWeb());
    window_->show();
    if (!QTest::qWaitForWindowExposed(window_.get())) throw std::runtime_error("the window was not shown");
    if (!home.waitFor(folder_.path(), std::string(kHomeKey))) throw std::runtime_error("no home page");
}

void CatalogueSession::restart() {
    window_->close();
    window_.reset();
    web_.reset();
    web_.emplace(folder_.path());
    open();
}

void CatalogueSession::clickMainTab(int index) {
    QTest::mouseClick(window_->SStab1(), Qt::LeftButton, {},
                      QPoint(index * MainTabWidth + MainTabWidth / 2, MainTabHeight / 2));
}

void CatalogueSession::clickSubTab(int index) {
    QTest::mouseClick(window_->GameSStab(), Qt::LeftButton, {},
                      QPoint(index * SubTabWidth + SubTabWidth / 2, SubTabHeight / 2));
}

std::vector<std::string> CatalogueSession::newRequests() {
    const std::string log = store_.log();
    std::istringstream lines(log.substr(std::min(logSeen_, log.size())));
    logSeen_ = log.size();
    std::vector<std::string> requests;
    for (std::string line; std::getline(lines, line);) {
        // "GET /path?query 200 3 ms"
        const std::string request = line.substr(0, line.find(' ', line.find(' ') + 1));
        if (request.starts_with("GET /static/") || request.starts_with("GET /box/") ||
            request == "GET /favicon.ico")
            continue;
        requests.push_back(request);
    }
    return requests;
}

std::string CatalogueSession::bodyText(WebBrowser& browser) {
    return evaluate(browser, "document.body ? document.body.innerText : ''");
}

std::string CatalogueSession::evaluate(WebBrowser& browser, const QString& script) {
    std::string text;
    bool done = false;
    browser.page()->runJavaScript(script, QWebEngineScript::ApplicationWorld, [&](const QVariant& value) {
        text = value.toString().toStdString();
        done = true;
    });
    waitUntil([&] { return done; }, 10000);
    return text;
}

PageWatch::PageWatch(WebBrowser& browser) : spy_(&browser, &WebBrowser::DocumentComplete) {}

bool PageWatch::waitFor(const std::filesystem::path& appFolder, const std::string& key, int timeoutMs) {
    const QUrl page =
        QUrl::fromLocalFile(QString::fromStdString(Catalogue::pageFile(appFolder, key).string()));
    return waitUntil(
        [&] {
            return std::any_of(spy_.begin(), spy_.end(),
                               [&](const QList<QVariant>& args) { return args.at(0).toUrl() == page; });
        },
        timeoutMs);
}

std::vector<std::string> PageWatch::loaded() const {
    std::vector<std::string> names;
    for (const QList<QVariant>& args : spy_)
        names.push_back(QFileInfo(args.at(0).toUrl().toLocalFile()).fileName().toStdString());
    return names;
}

bool requested(const std::vector<std::string>& requests, const std::string& path) {
    return std::find(requests.begin(), requests.end(), "GET " + path) != requests.end();
}
