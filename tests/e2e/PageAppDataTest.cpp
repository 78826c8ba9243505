// What the store's notes app (a page app) keeps lasts when its process is killed soon after the
// write: the app runs in a process of its own (pageapp_child, the viewer as Brindle opens it),
// which is killed with SIGKILL and started again on the same application folder.

#include "BrindleFolder.h"
#include "ChildProcess.h"
#include "StoreProcess.h"

#include <csignal>
#include <gtest/gtest.h>
#include <httplib.h>
#include <regex>
#include <thread>

using namespace std::chrono_literals;

namespace {

// The link of the store's app called name, as its search page gives it.
std::string appLink(const std::string& site, const std::string& name) {
    httplib::Client client(site);
    const auto page = client.Get("/appweb/search", httplib::Params{{"w", name}}, httplib::Headers{});
    std::smatch link;
    if (!page || !std::regex_search(page->body, link, std::regex(R"re(href="(/appweb/app\?id=\d+)")re")))
        return {};
    return site + link[1].str();
}

class PageApp {
  public:
    PageApp(const BrindleFolder& folder, const std::string& site, const std::string& link,
            const std::vector<std::string>& notes = {})
        : child_(PAGEAPP_CHILD, args(folder, site, link, notes), true) {}

    // The next line the app printed that starts with prefix, without the prefix.
    std::string next(const std::string& prefix) {
        while (const auto line = child_.readLine(60s))
            if (line->starts_with(prefix)) return line->substr(prefix.size());
        return "(no " + prefix + "line)";
    }
    ChildProcess& process() { return child_; }

  private:
    static std::vector<std::string> args(const BrindleFolder& folder, const std::string& site,
                                         const std::string& link, const std::vector<std::string>& notes) {
        std::vector<std::string> all{folder.path().string(), site, link};
        all.insert(all.end(), notes.begin(), notes.end());
        return all;
    }

    ChildProcess child_;
};

} // namespace

// The second note comes six seconds after the first, when the engine on its own has written the
// first and would not write the app's storage again for a minute, nor its cookies for half a
// minute; the kill comes five seconds later, half the ten seconds that a page app's data may take
// at most to reach the disk.
TEST(PageAppDataTest, NotesAndCookiesOfAPageAppSurviveAKillSecondsAfterTheWriteAndARestart) {
    StoreProcess store;
    BrindleFolder folder(store.site());
    const std::string link = appLink(store.site(), "记事本");
    ASSERT_FALSE(link.empty());
    {
        PageApp app(folder, store.site(), link, {"first note", "second note"});
        EXPECT_EQ(app.next("cookies "), "");
        ASSERT_EQ(app.next("written "), "first note");
        ASSERT_EQ(app.next("written "), "second note");
        std::this_thread::sleep_for(5s);
        app.process().kill(SIGKILL);
        ASSERT_TRUE(app.process().wait(10s));
    }
    PageApp again(folder, store.site(), link);
    const std::string notes = again.next("notes ");
    EXPECT_NE(notes.find("\"first note\""), std::string::npos) << notes;
    EXPECT_NE(notes.find("\"second note\""), std::string::npos) << notes;
    EXPECT_EQ(again.next("cookies "), "last=second%20note");
}
