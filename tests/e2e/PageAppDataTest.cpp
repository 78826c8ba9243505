// What the store's page apps keep lasts and stays each app's own: the apps run in a process of
// their own (pageapp_child, the viewer as Brindle opens it), which is killed with SIGKILL or ends,
// and is started again on the same application folder.

#include "BrindleFolder.h"
#include "ChildProcess.h"
#include "StoreProcess.h"
#include "WaitUntil.h"

#include <algorithm>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <httplib.h>
#include <regex>

using namespace std::chrono_literals;

namespace {

// Whether a file under folder named name, or inside a folder named name, contains text in single
// bytes or (as the engine keeps a value that is not all Latin-1) in UTF-16. A file being written
// under another name does not count.
bool onDisk(const std::filesystem::path& folder, const std::string& name, const std::string& text) {
    std::string wide;
    for (char c : text)
        wide += std::string{c, '\0'};
    std::error_code ec;
    for (std::filesystem::recursive_directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::filesystem::path& path = it->path();
        if (!it->is_regular_file(ec) || std::find(path.begin(), path.end(), name) == path.end()) continue;
        std::ifstream in(path, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (bytes.find(text) != std::string::npos || bytes.find(wide) != std::string::npos) return true;
    }
    return false;
}

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
    // Arguments after the application folder and the store site.
    PageApp(const BrindleFolder& folder, const std::string& site, const std::vector<std::string>& rest)
        : child_(PAGEAPP_CHILD, args(folder, site, rest), true) {}

    // The next line the app printed that starts with prefix, without the prefix.
    std::string next(const std::string& prefix) {
        while (const auto line = child_.readLine(60s))
            if (line->starts_with(prefix)) return line->substr(prefix.size());
        return "(no " + prefix + "line)";
    }
    ChildProcess& process() { return child_; }

  private:
    static std::vector<std::string> args(const BrindleFolder& folder, const std::string& site,
                                         const std::vector<std::string>& rest) {
        std::vector<std::string> all{folder.path().string(), site};
        all.insert(all.end(), rest.begin(), rest.end());
        return all;
    }

    ChildProcess child_;
};

} // namespace

// The second note comes six seconds after the first, when the engine on its own has written the
// first and would not write the app's storage again for a minute, nor its cookies for half a
// minute; the kill comes as soon as the note and its cookie are on disk.
TEST(PageAppDataTest, NotesAndCookiesOfAPageAppSurviveAKillSecondsAfterTheWriteAndARestart) {
    StoreProcess store;
    BrindleFolder folder(store.site());
    const std::string link = appLink(store.site(), "记事本");
    ASSERT_FALSE(link.empty());
    {
        PageApp app(folder, store.site(), {link, "first note", "second note"});
        EXPECT_EQ(app.next("cookies "), "");
        ASSERT_EQ(app.next("written "), "first note");
        ASSERT_EQ(app.next("written "), "second note");
        const std::filesystem::path data = folder.path() / "WebData" / "PageApps";
        EXPECT_TRUE(waitUntil([&] {
            return onDisk(data, "Local Storage", "second note") &&
                   onDisk(data, "Cookies.txt", "last=second%20note");
        })) << "the second note or its cookie is not on disk";
        app.process().kill(SIGKILL);
        ASSERT_TRUE(app.process().wait(10s));
    }
    PageApp again(folder, store.site(), {link});
    const std::string notes = again.next("notes ");
    EXPECT_NE(notes.find("\"first note\""), std::string::npos) << notes;
    EXPECT_NE(notes.find("\"second note\""), std::string::npos) << notes;
    EXPECT_EQ(again.next("cookies "), "last=second%20note");
}

// Both apps come from one origin of the store, yet each keeps its own value under the same key in
// local storage, cookies and IndexedDB: when opened one after the other in one run, and after a
// restart.
TEST(PageAppDataTest, TwoPageAppsKeepingAValueUnderOneKeyEachReadBackTheirOwn) {
    StoreProcess store;
    BrindleFolder folder(store.site());
    const std::string notes = appLink(store.site(), "记事本");
    const std::string game = appLink(store.site(), "三国争霸");
    ASSERT_FALSE(notes.empty());
    ASSERT_FALSE(game.empty());
    const auto found = [](const std::string& value) {
        return "[\"" + value + "\",\"" + value + "\",\"" + value + "\"]";
    };
    {
        PageApp run(folder, store.site(), {"--keep", "score", notes, "notes 1", game, "game 1"});
        EXPECT_EQ(run.next("found "), "[null,null,null]");
        EXPECT_EQ(run.next("kept "), "notes 1");
        EXPECT_EQ(run.next("found "), "[null,null,null]") << "the game sees the notes app's value";
        EXPECT_EQ(run.next("kept "), "game 1");
        ASSERT_EQ(run.process().wait(30s), 0);
    }
    PageApp again(folder, store.site(),
                  {"--keep", "score", game, "game 2", notes, "notes 2", game, "game 3"});
    EXPECT_EQ(again.next("found "), found("game 1"));
    EXPECT_EQ(again.next("found "), found("notes 1"));
    EXPECT_EQ(again.next("found "), found("game 2"));
    ASSERT_EQ(again.process().wait(30s), 0);
}
