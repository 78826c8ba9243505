// The download control over the libcurl reader against servers on the loopback interface.
#include "controls/CurlReader.h"

#include "DownloadTestServer.h"
#include "TempDir.h"
#include "controls/DownloadQueueLoop.h"
#include "controls/bkDLControl.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {

class LoopHost : public bkDLHost {
  public:
    DownloadQueueLoop loop;
    std::vector<std::string> events;
    std::vector<float> fractions;

    void processMessages() override { loop.runPending(std::chrono::milliseconds(100)); }
    void showErrorBox(const std::string& title, const std::string&) override {
        events.push_back("MessageBox " + title);
    }
    void DLProgress(float percent, std::int32_t bytes, std::int32_t total) override {
        fractions.push_back(percent);
        events.push_back("DLProgress " + std::to_string(bytes) + " " + std::to_string(total));
    }
    void DLCanceled() override { events.push_back("DLCanceled"); }
    void DLError(std::int32_t error, const std::string& message) override {
        events.push_back("DLError " + std::to_string(error) + " " + message);
    }
    void DLComplete(std::int32_t bytes) override { events.push_back("DLComplete " + std::to_string(bytes)); }
    void DLConnected(const std::string& address) override { events.push_back("DLConnected " + address); }
    void DLRedirect(const std::string& url) override { events.push_back("DLRedirect " + url); }
    void DLCacheFile(const std::string&) override { events.push_back("DLCacheFile"); }
    void DLMIMEType(const std::string& type) override { events.push_back("DLMIMEType " + type); }
    void DLFileSize(std::int32_t total) override { events.push_back("DLFileSize " + std::to_string(total)); }
    void DLBeginDownload() override { events.push_back("DLBeginDownload"); }

    bool has(const std::string& prefix) const {
        return std::any_of(events.begin(), events.end(), [&](auto& e) { return e.rfind(prefix, 0) == 0; });
    }
};

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

class CurlReaderTest : public ::testing::Test {
  protected:
    CurlReaderTest() {
        control = std::make_unique<bkDLControl>(host, std::make_unique<CurlReader>(host.loop));
        control->setSaveFilePath(dir.path().string());
        auto& http = server.http();
        http.Get("/file.bin", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(pattern(300'000), "application/octet-stream");
        });
        // Eight pieces with pauses between, so that progress shows several steps.
        http.Get("/slow.swf", [](const httplib::Request&, httplib::Response& res) {
            res.set_content_provider(8 * 32768, "application/x-shockwave-flash",
                                     [](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                         std::this_thread::sleep_for(std::chrono::milliseconds(80));
                                         auto piece = pattern(8 * 32768).substr(offset, 32768);
                                         return sink.write(piece.data(), piece.size());
                                     });
        });
        http.Get("/moved", [this](const httplib::Request&, httplib::Response& res) {
            res.set_redirect(server.url("/target/movie.swf"));
            res.set_content("a redirect body, not the file", "text/plain");
        });
        http.Get("/target/movie.swf", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("movie", "application/x-shockwave-flash");
        });
        http.Get("/empty.txt",
                 [](const httplib::Request&, httplib::Response& res) { res.set_content("", "text/plain"); });
        http.Get("/missing.swf", [](const httplib::Request&, httplib::Response& res) {
            res.status = 404;
            res.set_content("<html>not found</html>", "text/html");
        });
        http.Get("/stall.bin", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content_provider(100'000, "application/octet-stream",
                                     [this](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                         if (offset == 0) return sink.write(pattern(1000).data(), 1000);
                                         server.waitForRelease(std::chrono::seconds(20));
                                         return false;
                                     });
        });
        // A page that never ends: a byte every 20 ms until released.
        http.Get("/endless.txt", [this](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider("text/plain", [this](std::size_t, httplib::DataSink& sink) {
                if (server.waitForRelease(std::chrono::milliseconds(20))) return false;
                return sink.write("x", 1);
            });
        });
        // Servers that misbehave in ways the control must ride out.
        http.Get("/chunked.bin", [](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider("application/octet-stream",
                                             [](std::size_t offset, httplib::DataSink& sink) {
                                                 if (offset == 0) return sink.write("hello ", 6);
                                                 if (offset == 6) return sink.write("world", 5);
                                                 sink.done();
                                                 return true;
                                             });
        });
        http.Get("/deep/relative", [](const httplib::Request&, httplib::Response& res) {
            res.status = 302;
            res.set_header("Location", "../target/movie.swf?v=2");
        });
        http.Get("/broken.bin", [](const httplib::Request&, httplib::Response& res) {
            res.status = 500;
            res.set_content("<html>server error</html>", "text/html");
        });
        server.start();
    }
    ~CurlReaderTest() override { CurlReader::setNoDataTimeout(std::chrono::seconds(30)); }

    // Runs the message loop until the download has ended (bounded, so a fault fails the test).
    void runToEnd() {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (control->downloading() && std::chrono::steady_clock::now() < deadline)
            host.processMessages();
        ASSERT_FALSE(control->downloading());
    }
    bool download(const std::string& path) {
        control->setFileURL(server.url(path));
        if (!control->BeginDownload()) return false;
        runToEnd();
        return control->completed();
    }
    std::vector<std::string> folderContents() const {
        std::vector<std::string> names;
        for (auto& entry : std::filesystem::directory_iterator(dir.path()))
            names.push_back(entry.path().filename());
        return names;
    }

    TempDir dir;
    DownloadTestServer server;
    LoopHost host;
    std::unique_ptr<bkDLControl> control;
};

} // namespace

TEST_F(CurlReaderTest, DownloadsWithProgressEventsInOrder) {
    ASSERT_TRUE(download("/slow.swf"));
    const auto& e = host.events;
    ASSERT_GE(e.size(), 8u);
    EXPECT_EQ(e[0], "DLConnected 127.0.0.1");
    EXPECT_EQ(e[1], "DLMIMEType application/x-shockwave-flash");
    EXPECT_EQ(e[2], "DLCacheFile");
    EXPECT_EQ(e[3], "DLFileSize 262144");
    EXPECT_EQ(e[4], "DLBeginDownload");
    EXPECT_EQ(e[e.size() - 2], "DLProgress 262144 262144");
    EXPECT_EQ(e.back(), "DLComplete 262144");
    EXPECT_GE(host.fractions.size(), 4u);
    EXPECT_TRUE(std::is_sorted(host.fractions.begin(), host.fractions.end()));
    EXPECT_GT(host.fractions.front(), 0.0f);
    EXPECT_LT(host.fractions.front(), 1.0f);
    EXPECT_FLOAT_EQ(host.fractions.back(), 1.0f);
    EXPECT_EQ(readFile(dir.path() / "slow.swf"), pattern(262144));
    EXPECT_EQ(folderContents(), std::vector<std::string>{"slow.swf"}); // no temporary file left
    EXPECT_EQ(control->MIMEType(), "application/x-shockwave-flash");
    EXPECT_EQ(control->FileSize(), 262144);
}

TEST_F(CurlReaderTest, WaitReturnsTrueWithTheFileWritten) {
    control->setFileURL(server.url("/file.bin"));
    EXPECT_TRUE(control->BeginDownload(true));
    EXPECT_EQ(readFile(dir.path() / "file.bin"), pattern(300'000));
    EXPECT_EQ(host.events.back(), "DLComplete 300000");

    control->setFileURL(server.url("/missing.swf"));
    EXPECT_FALSE(control->BeginDownload(true));
}

TEST_F(CurlReaderTest, RedirectFailsOrSavesUnderTheTargetsName) {
    EXPECT_FALSE(download("/moved"));
    EXPECT_EQ(host.events[1], "DLError 2 Redirected to " + server.url("/target/movie.swf"));
    EXPECT_EQ(host.events.back(), "DLComplete 0");
    control.reset(); // waits for the cancelled worker
    EXPECT_TRUE(folderContents().empty());

    control = std::make_unique<bkDLControl>(host, std::make_unique<CurlReader>(host.loop));
    control->setSaveFilePath(dir.path().string());
    control->setFailOnRedirect(false);
    host.events.clear();
    ASSERT_TRUE(download("/moved"));
    EXPECT_TRUE(host.has("DLRedirect " + server.url("/target/movie.swf")));
    EXPECT_EQ(control->SaveFileName(), (dir.path() / "movie.swf").string());
    EXPECT_EQ(readFile(dir.path() / "movie.swf"), "movie");
    EXPECT_EQ(folderContents(), std::vector<std::string>{"movie.swf"});
}

TEST_F(CurlReaderTest, ZeroBytesAndErrorStatusesSaveNothing) {
    EXPECT_FALSE(download("/empty.txt"));
    EXPECT_TRUE(host.has("DLError 3 Zero bytes retrieved"));
    EXPECT_EQ(host.events.back(), "DLComplete 0");

    host.events.clear();
    EXPECT_FALSE(download("/missing.swf"));
    EXPECT_TRUE(host.has("DLError 99 HTTP error 404"));
    EXPECT_EQ(host.events.back(), "DLComplete 0");
    EXPECT_TRUE(folderContents().empty());
}

TEST_F(CurlReaderTest, AResetMidBodyKeepsTheOldFile) {
    std::ofstream(dir.path() / "game.swf") << "old";
    ResettingServer resetting(100'000, 5'000);
    control->setFileURL(resetting.url("/game.swf"));
    ASSERT_TRUE(control->BeginDownload());
    runToEnd();
    EXPECT_TRUE(host.has("DLError 99 "));
    EXPECT_EQ(host.events.back(), "DLComplete 0");
    EXPECT_EQ(readFile(dir.path() / "game.swf"), "old");
    control.reset();
    EXPECT_EQ(folderContents(), std::vector<std::string>{"game.swf"});
}

TEST_F(CurlReaderTest, AStalledServerEndsWithErrorNinetyNine) {
    CurlReader::setNoDataTimeout(std::chrono::milliseconds(700));
    EXPECT_FALSE(download("/stall.bin"));
    EXPECT_TRUE(host.has("DLError 99 No data received for 700 milliseconds"));
    EXPECT_EQ(host.events.back(), "DLComplete 0");
    server.release();
    control.reset();
    EXPECT_TRUE(folderContents().empty());
}

TEST_F(CurlReaderTest, CancelStopsTheTransferAndLeavesNothing) {
    control->setFileURL(server.url("/stall.bin"));
    ASSERT_TRUE(control->BeginDownload());
    while (!host.has("DLBeginDownload"))
        host.processMessages();
    control->CancelDownload();
    EXPECT_EQ(host.events.back(), "DLCanceled");
    for (int i = 0; i < 3; ++i)
        host.processMessages(); // nothing of the cancelled read arrives
    EXPECT_EQ(host.events.back(), "DLCanceled");
    server.release();
    control.reset();
    EXPECT_TRUE(folderContents().empty());
}

TEST_F(CurlReaderTest, BadUrlsAndMissingFoldersFail) {
    control->setFileURL("gopher-x://host/file.bin");
    EXPECT_FALSE(control->BeginDownload());
    EXPECT_TRUE(host.has("DLError 1 "));
    EXPECT_TRUE(host.has("MessageBox bkDLControl Internal Error: "));

    host.events.clear();
    control->setSaveFilePath((dir.path() / "no-such-folder").string());
    EXPECT_FALSE(download("/file.bin"));
    EXPECT_TRUE(host.has("DLError 4 "));
    EXPECT_EQ(host.events.back(), "DLComplete 0");
}

TEST_F(CurlReaderTest, MisbehavingServersSaveWholeFilesOrKeepTheOldOne) {
    // A body of unknown length arrives whole, with no size and no bar.
    ASSERT_TRUE(download("/chunked.bin"));
    EXPECT_EQ(readFile(dir.path() / "chunked.bin"), "hello world");
    EXPECT_EQ(control->FileSize(), 0);
    EXPECT_FLOAT_EQ(host.fractions.back(), 0.0f);

    // A relative redirect target names the file, query included.
    control->setFailOnRedirect(false);
    ASSERT_TRUE(download("/deep/relative"));
    EXPECT_EQ(control->RedirectFile(), server.url("/target/movie.swf?v=2"));
    EXPECT_EQ(readFile(dir.path() / "movie.swf?v=2"), "movie");

    // A server error keeps the file already there and saves nothing of its body.
    std::ofstream(dir.path() / "broken.bin") << "old";
    EXPECT_FALSE(download("/broken.bin"));
    EXPECT_TRUE(host.has("DLError 99 HTTP error 500"));
    EXPECT_EQ(readFile(dir.path() / "broken.bin"), "old");
    control.reset();
    EXPECT_EQ(folderContents().size(), 3u); // no temporary file left
}

TEST_F(CurlReaderTest, ABodyOverTheLimitOrAReadPastTheDeadlineFailsAndLeavesNothing) {
    std::ofstream(dir.path() / "file.bin") << "old";
    control->setLimits(64 * 1024, std::chrono::seconds(20));
    EXPECT_FALSE(download("/file.bin"));
    EXPECT_TRUE(host.has("DLError 99 Longer than 65536 bytes"));
    EXPECT_EQ(host.events.back(), "DLComplete 0");
    EXPECT_EQ(readFile(dir.path() / "file.bin"), "old");

    // Within the limit it arrives whole.
    control->setLimits(300'000, std::chrono::seconds(20));
    ASSERT_TRUE(download("/file.bin"));
    EXPECT_EQ(readFile(dir.path() / "file.bin"), pattern(300'000));

    // Data keeps coming, so only the deadline ends it.
    host.events.clear();
    control->setLimits(0, std::chrono::milliseconds(400));
    EXPECT_FALSE(download("/endless.txt"));
    EXPECT_TRUE(host.has("DLError 99 Not done within 400 milliseconds"));
    EXPECT_EQ(host.events.back(), "DLComplete 0");
    server.release();
    control.reset();
    EXPECT_EQ(folderContents(), std::vector<std::string>{"file.bin"});
}

TEST_F(CurlReaderTest, AFileNameOfItsOwnReplacesTheUrls) {
    control->setSaveAs("setup.bin");
    ASSERT_TRUE(download("/target/movie.swf"));
    EXPECT_EQ(control->SaveFileName(), (dir.path() / "setup.bin").string());
    EXPECT_EQ(readFile(dir.path() / "setup.bin"), "movie");
    control->setSaveAs("");
    EXPECT_EQ(control->SaveFileName(), (dir.path() / "movie.swf").string());
}
