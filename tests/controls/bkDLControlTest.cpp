#include "controls/bkDLControl.h"

#include "TempDir.h"

#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>

namespace {

// A reader that the test drives by hand: it records starts and cancels and lets the test send
// notifications as the user-interface thread would receive them.
class FakeReader : public UrlReader {
  public:
    struct State {
        std::vector<ReadRequest> starts;
        std::vector<std::string> cancels;
        std::optional<ReadStartError> failure;
        UrlReaderListener* listener = nullptr;
    };
    explicit FakeReader(State& state) : state_(state) {}
    std::optional<ReadStartError> start(const ReadRequest& request, UrlReaderListener& listener) override {
        if (state_.failure) return state_.failure;
        state_.starts.push_back(request);
        state_.listener = &listener;
        return std::nullopt;
    }
    void cancel(const std::string& key) override { state_.cancels.push_back(key); }

  private:
    State& state_;
};

class RecordingHost : public bkDLHost {
  public:
    std::vector<std::string> events;
    std::vector<std::string> properties;
    std::function<void()> onProcessMessages;
    std::function<void(std::int32_t)> onComplete;

    void processMessages() override { onProcessMessages(); }
    void showErrorBox(const std::string& title, const std::string& text) override {
        events.push_back("MessageBox " + title + "|" + text);
    }
    void propertyChanged(std::string_view name) override { properties.emplace_back(name); }
    void DLProgress(float percent, std::int32_t bytes, std::int32_t total) override {
        std::ostringstream line;
        line << "DLProgress " << percent << " " << bytes << " " << total;
        events.push_back(line.str());
    }
    void DLCanceled() override { events.push_back("DLCanceled"); }
    void DLError(std::int32_t error, const std::string& message) override {
        events.push_back("DLError " + std::to_string(error) + " " + message);
    }
    void DLComplete(std::int32_t bytes) override {
        events.push_back("DLComplete " + std::to_string(bytes));
        if (onComplete) onComplete(bytes);
    }
    void DLConnected(const std::string& address) override { events.push_back("DLConnected " + address); }
    void DLRedirect(const std::string& url) override { events.push_back("DLRedirect " + url); }
    void DLCacheFile(const std::string& path) override { events.push_back("DLCacheFile " + path); }
    void DLMIMEType(const std::string& type) override { events.push_back("DLMIMEType " + type); }
    void DLFileSize(std::int32_t total) override { events.push_back("DLFileSize " + std::to_string(total)); }
    void DLBeginDownload() override { events.push_back("DLBeginDownload"); }
};

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class bkDLControlTest : public ::testing::Test {
  protected:
    bkDLControlTest() : control(host, std::make_unique<FakeReader>(reader)) {
        control.setSaveFilePath(dir.path().string());
    }

    void progress(int status, std::string text = {}, std::int64_t bytes = 0, std::int64_t total = 0) {
        reader.listener->onReadProgress(ReadProgress{status, std::move(text), bytes, total});
    }
    // Completes the running read with body as the streamed file.
    void complete(const std::string& body) {
        ReadCompletion completion;
        completion.bytesRead = static_cast<std::int64_t>(body.size());
        if (!body.empty()) {
            writeFile(reader.starts.back().bodyFile, body);
            completion.bodyFile = DownloadBodyFile(reader.starts.back().bodyFile);
        }
        reader.listener->onReadComplete(completion);
    }
    std::vector<std::filesystem::path> folderContents() const {
        std::vector<std::filesystem::path> names;
        for (auto& entry : std::filesystem::directory_iterator(dir.path()))
            names.push_back(entry.path().filename());
        return names;
    }

    TempDir dir;
    FakeReader::State reader;
    RecordingHost host;
    bkDLControl control;
};

} // namespace

TEST(bkDLControlNames, SaveFileNameComesFromTheUrlsLastSegment) {
    EXPECT_EQ(bkDLControl::deriveSaveFileName("/app", "http://h/box/update.html"), "/app/update.html");
    EXPECT_EQ(bkDLControl::deriveSaveFileName("/app/", "http://h/box/update.html"), "/app/update.html");
    EXPECT_EQ(bkDLControl::deriveSaveFileName("/app", "update.html"), "/app/update.html");
    EXPECT_EQ(bkDLControl::deriveSaveFileName("/g/", "http://h/a/c.swf?x=1"), "/g/c.swf?x=1");
    EXPECT_EQ(bkDLControl::deriveSaveFileName("/g/", "http://h/a\\b\\c.swf"), "/g/c.swf");
    EXPECT_EQ(bkDLControl::deriveSaveFileName("", "http://h/a"), "");
    EXPECT_EQ(bkDLControl::deriveSaveFileName("/g", ""), "");
}

TEST_F(bkDLControlTest, PropertiesDeriveTheNameAndReadRenameOnlyWithoutFailOnRedirect) {
    bkDLControl fresh(host, std::make_unique<FakeReader>(reader));
    fresh.setFileURL("http://h/a.swf");
    EXPECT_EQ(fresh.SaveFileName(), "");
    fresh.setSaveFilePath("/g");
    EXPECT_EQ(fresh.SaveFileName(), "/g/a.swf");
    EXPECT_TRUE(fresh.FailOnRedirect());
    EXPECT_FALSE(fresh.RenameOnRedirect());
    fresh.setFailOnRedirect(false);
    EXPECT_TRUE(fresh.RenameOnRedirect());
    EXPECT_TRUE(fresh.storedRenameOnRedirect());
    EXPECT_EQ(host.properties.back(), "FailOnRedirect");
}

TEST_F(bkDLControlTest, SavedPropertiesKeepOrderDefaultsAndRaiseNoChange) {
    PropertyBag bag;
    control.setFileURL("http://h/x.bin");
    control.setForeColor(255);
    control.setRenameOnRedirect(false);
    control.setFont("Sans,12");
    control.WriteProperties(bag, "Sans,9");
    std::vector<std::string> names;
    for (auto& [name, value] : bag.entries())
        names.push_back(name);
    EXPECT_EQ(names,
              (std::vector<std::string>{"ForeColor", "Font", "FileURL", "SaveFilePath", "RenameOnRedirect"}));

    host.properties.clear();
    bkDLControl loaded(host, std::make_unique<FakeReader>(reader));
    loaded.ReadProperties(bag, "Sans,9");
    EXPECT_TRUE(host.properties.empty());
    EXPECT_EQ(loaded.ForeColor(), 255);
    EXPECT_EQ(loaded.BackColor(), bkDLControl::DefaultBackColor);
    EXPECT_EQ(loaded.Font(), "Sans,12");
    EXPECT_EQ(loaded.BorderStyle(), 1);
    EXPECT_FALSE(loaded.storedRenameOnRedirect());
    EXPECT_TRUE(loaded.FailOnRedirect());
    EXPECT_EQ(loaded.SaveFileName(), (dir.path() / "x.bin").string());

    bkDLControl empty(host, std::make_unique<FakeReader>(reader));
    empty.ReadProperties(PropertyBag(), "Serif,10");
    EXPECT_EQ(empty.Font(), "Serif,10");
    EXPECT_EQ(empty.ForeColor(), bkDLControl::DefaultForeColor);
    EXPECT_TRUE(empty.ShowProgress());
}

TEST_F(bkDLControlTest, RefusesToStartWithoutUrlOrFolderOrTwice) {
    EXPECT_FALSE(control.BeginDownload());
    control.setFileURL("http://h/a.bin");
    control.setSaveFilePath("");
    EXPECT_FALSE(control.BeginDownload());
    EXPECT_TRUE(host.events.empty());
    EXPECT_TRUE(reader.starts.empty());

    control.setSaveFilePath(dir.path().string());
    EXPECT_TRUE(control.BeginDownload());
    EXPECT_FALSE(control.BeginDownload());
    EXPECT_EQ(reader.starts.size(), 1u);
    EXPECT_TRUE(control.downloading());
    EXPECT_TRUE(host.events.empty());
}

TEST_F(bkDLControlTest, StartFailureRaisesErrorOneThenShowsTheMessageBox) {
    reader.failure = ReadStartError{3, "Bad URL"};
    control.setFileURL("http://h/a.bin");
    EXPECT_FALSE(control.BeginDownload());
    EXPECT_EQ(host.events,
              (std::vector<std::string>{"DLError 1 Bad URL", "DLComplete 0",
                                        "MessageBox bkDLControl Internal Error: 3|3Error: \r\nBad URL"}));
    EXPECT_FALSE(control.downloading());
}

TEST_F(bkDLControlTest, NamesThatLeaveTheFolderFailWithErrorFourBeforeAnyRead) {
    for (std::string url : {"http://h/dir/", "http://h/dir/..", "http://h/."}) {
        host.events.clear();
        control.setFileURL(url);
        EXPECT_FALSE(control.BeginDownload()) << url;
        ASSERT_EQ(host.events.size(), 2u) << url;
        EXPECT_EQ(host.events[0].rfind("DLError 4 Invalid file name [", 0), 0u) << url;
        EXPECT_EQ(host.events[1], "DLComplete 0");
    }
    EXPECT_TRUE(reader.starts.empty());
}

TEST_F(bkDLControlTest, SuccessfulDownloadRaisesEventsInOrderAndMovesTheFileIntoPlace) {
    writeFile(dir.path() / "a.bin", "old");
    control.setFileURL("http://h/a.bin");
    ASSERT_TRUE(control.BeginDownload());
    auto body = reader.starts[0].bodyFile;
    EXPECT_EQ(body.parent_path(), dir.path());
    EXPECT_EQ(reader.starts[0].key, control.SaveFileName());
    progress(ReadStatus::Connecting, "127.0.0.1");
    progress(ReadStatus::MimeType, "application/x-shockwave-flash");
    progress(ReadStatus::CacheFile, body.string());
    progress(ReadStatus::BeginData, {}, 0, 8);
    progress(7, "ignored");
    progress(ReadStatus::Data, {}, 2, 8);
    EXPECT_FLOAT_EQ(control.progress(), 0.25f);
    EXPECT_EQ(readFile(dir.path() / "a.bin"), "old"); // untouched until the download completes
    progress(ReadStatus::EndData, {}, 8, 8);
    complete("12345678");

    EXPECT_EQ(host.events,
              (std::vector<std::string>{"DLConnected 127.0.0.1", "DLMIMEType application/x-shockwave-flash",
                                        "DLCacheFile " + body.string(), "DLFileSize 8", "DLBeginDownload",
                                        "DLProgress 0.25 2 8", "DLProgress 1 8 8", "DLComplete 8"}));
    EXPECT_EQ(readFile(dir.path() / "a.bin"), "12345678");
    EXPECT_EQ(folderContents().size(), 1u);
    EXPECT_TRUE(control.completed());
    EXPECT_FALSE(control.downloading());
    EXPECT_EQ(control.BytesRead(), 8);
    EXPECT_EQ(control.FileSize(), 8);
    EXPECT_EQ(control.ConnectionAddress(), "127.0.0.1");
    EXPECT_EQ(control.MIMEType(), "application/x-shockwave-flash");
    EXPECT_EQ(control.CacheFile(), body.string());
    ASSERT_TRUE(control.progressBox(200, 10));
    EXPECT_DOUBLE_EQ(control.progressBox(200, 10)->width, 200);

    // The next start clears the run-time values but keeps the bar until data arrives.
    ASSERT_TRUE(control.BeginDownload());
    EXPECT_EQ(control.BytesRead(), 0);
    EXPECT_EQ(control.MIMEType(), "");
    EXPECT_FALSE(control.completed());
    EXPECT_FLOAT_EQ(control.progress(), 1.0f);
    progress(ReadStatus::Data, {}, 100, 0);
    EXPECT_FLOAT_EQ(control.progress(), 0.0f); // an unknown size shows no bar
    EXPECT_FALSE(control.progressBox(200, 10));
}

TEST_F(bkDLControlTest, BeginDownloadFromInsideDLCompleteIsRefused) {
    control.setFileURL("http://h/a.bin");
    bool second = true;
    host.onComplete = [&](std::int32_t) { second = control.BeginDownload(); };
    ASSERT_TRUE(control.BeginDownload());
    complete("abc");
    EXPECT_FALSE(second);
    EXPECT_FALSE(control.downloading());
}

TEST_F(bkDLControlTest, CacheCleanUpNeverTouchesTheSavedFileAndToleratesAMissingCopy) {
    control.setFileURL("http://h/a.bin");
    ASSERT_TRUE(control.BeginDownload());
    progress(ReadStatus::CacheFile, control.SaveFileName());
    complete("abc");
    EXPECT_EQ(host.events.back(), "DLComplete 3");
    EXPECT_EQ(readFile(dir.path() / "a.bin"), "abc");

    host.events.clear();
    ASSERT_TRUE(control.BeginDownload());
    progress(ReadStatus::CacheFile, (dir.path() / "gone.tmp").string());
    complete("xyz");
    EXPECT_EQ(host.events.back(), "DLComplete 3");
    EXPECT_TRUE(control.completed());

    // A copy that cannot be deleted fails after the file was written.
    host.events.clear();
    std::filesystem::create_directories(dir.path() / "busy" / "inner");
    ASSERT_TRUE(control.BeginDownload());
    progress(ReadStatus::CacheFile, (dir.path() / "busy").string());
    complete("xyz");
    ASSERT_EQ(host.events.size(), 4u);
    EXPECT_EQ(host.events[1], "DLComplete 3");
    EXPECT_EQ(host.events[2].rfind("DLError 4 ", 0), 0u);
    EXPECT_NE(host.events[2].find(" [" + control.SaveFileName() + "]"), std::string::npos);
    EXPECT_EQ(host.events[3], "DLComplete 0");
    EXPECT_TRUE(control.completed());
}

TEST_F(bkDLControlTest, RedirectFailsOrRenamesAsSet) {
    control.setFileURL("http://h/a.bin");
    ASSERT_TRUE(control.BeginDownload());
    progress(ReadStatus::Redirecting, "http://h2/b.swf");
    EXPECT_EQ(reader.cancels, std::vector<std::string>{control.SaveFileName()});
    EXPECT_EQ(host.events,
              (std::vector<std::string>{"DLError 2 Redirected to http://h2/b.swf", "DLComplete 0"}));
    EXPECT_EQ(control.RedirectFile(), "http://h2/b.swf");
    complete("late"); // a completion of the cancelled read is dropped with its file
    EXPECT_TRUE(folderContents().empty());

    host.events.clear();
    control.setFailOnRedirect(false);
    ASSERT_TRUE(control.BeginDownload());
    progress(ReadStatus::Redirecting, "http://h2/b.swf");
    complete("swf");
    EXPECT_EQ(host.events, (std::vector<std::string>{"DLRedirect http://h2/b.swf", "DLComplete 3"}));
    EXPECT_EQ(control.SaveFileName(), (dir.path() / "b.swf").string());
    EXPECT_EQ(readFile(dir.path() / "b.swf"), "swf");

    // Without the rename flag the name from FileURL stays.
    control.setFileURL("http://h/a.bin");
    control.setRenameOnRedirect(false);
    ASSERT_TRUE(control.BeginDownload());
    progress(ReadStatus::Redirecting, "http://h2/c.swf");
    complete("bin");
    EXPECT_EQ(readFile(dir.path() / "a.bin"), "bin");

    // A redirect target ending in "/" gives no file name.
    control.setRenameOnRedirect(true);
    host.events.clear();
    ASSERT_TRUE(control.BeginDownload());
    progress(ReadStatus::Redirecting, "http://h2/dir/");
    complete("page");
    EXPECT_EQ(host.events.back(), "DLComplete 0");
    EXPECT_EQ(host.events[1].rfind("DLError 4 Invalid file name", 0), 0u);
    EXPECT_FALSE(control.completed());
}

TEST_F(bkDLControlTest, FailuresRaiseTheirCodeThenDLCompleteZero) {
    control.setFileURL("http://h/a.bin");
    ASSERT_TRUE(control.BeginDownload());
    progress(ReadStatus::Data, {}, 4, 8);
    complete("");
    EXPECT_EQ(host.events, (std::vector<std::string>{"DLProgress 0.5 4 8", "DLError 3 Zero bytes retrieved",
                                                     "DLComplete 0"}));
    EXPECT_FLOAT_EQ(control.progress(), 0.0f);

    host.events.clear();
    ASSERT_TRUE(control.BeginDownload());
    progress(ReadStatus::Error, "HTTP error 404 Not Found");
    progress(ReadStatus::Data, {}, 4, 8); // late notifications after the end are ignored
    EXPECT_EQ(host.events, (std::vector<std::string>{"DLError 99 HTTP error 404 Not Found", "DLComplete 0"}));

    host.events.clear();
    ASSERT_TRUE(control.BeginDownload());
    ReadCompletion failed;
    failed.bytesRead = 10;
    failed.saveError = "No space left on device";
    reader.listener->onReadComplete(failed);
    EXPECT_EQ(host.events,
              (std::vector<std::string>{"DLError 4 No space left on device [" + control.SaveFileName() + "]",
                                        "DLComplete 0"}));
    EXPECT_FALSE(control.completed());
    EXPECT_TRUE(folderContents().empty());
}

TEST_F(bkDLControlTest, CancelRaisesDLCanceledOnlyWhileDownloading) {
    control.CancelDownload();
    EXPECT_TRUE(host.events.empty());
    EXPECT_TRUE(reader.cancels.empty());

    control.setFileURL("http://h/a.bin");
    ASSERT_TRUE(control.BeginDownload());
    progress(ReadStatus::Data, {}, 4, 8);
    auto key = control.SaveFileName();
    control.setFileURL("http://h/other.bin"); // the running read keeps its key
    control.CancelDownload();
    EXPECT_EQ(reader.cancels, std::vector<std::string>{key});
    EXPECT_EQ(host.events, (std::vector<std::string>{"DLProgress 0.5 4 8", "DLCanceled"}));
    EXPECT_FLOAT_EQ(control.progress(), 0.0f);
    EXPECT_FALSE(control.downloading());
}

TEST_F(bkDLControlTest, WaitReturnsWhetherTheFileWasWritten) {
    control.setFileURL("http://h/a.bin");
    host.onProcessMessages = [&] { complete("data"); };
    EXPECT_TRUE(control.BeginDownload(true));
    EXPECT_EQ(readFile(dir.path() / "a.bin"), "data");

    host.onProcessMessages = [&] { progress(ReadStatus::Error, "reset"); };
    EXPECT_FALSE(control.BeginDownload(true));

    int rounds = 0;
    host.onProcessMessages = [&] {
        if (++rounds == 3) control.CancelDownload();
    };
    EXPECT_FALSE(control.BeginDownload(true));
    EXPECT_EQ(rounds, 3);
    EXPECT_EQ(host.events.back(), "DLCanceled");
}

TEST_F(bkDLControlTest, DestroyingWhileDownloadingCancelsSilently) {
    {
        bkDLControl doomed(host, std::make_unique<FakeReader>(reader));
        doomed.setSaveFilePath(dir.path().string());
        doomed.setFileURL("http://h/a.bin");
        ASSERT_TRUE(doomed.BeginDownload());
    }
    EXPECT_EQ(reader.cancels.size(), 1u);
    EXPECT_TRUE(host.events.empty());
}

TEST_F(bkDLControlTest, ProgressBoxFollowsFractionAndShowProgress) {
    EXPECT_FALSE(control.progressBox(100, 20));
    control.setFileURL("http://h/a.bin");
    ASSERT_TRUE(control.BeginDownload());
    progress(ReadStatus::Data, {}, 1, 4);
    auto box = control.progressBox(100, 20);
    ASSERT_TRUE(box);
    EXPECT_DOUBLE_EQ(box->width, 25);
    EXPECT_DOUBLE_EQ(box->height, 20);
    control.setShowProgress(false);
    EXPECT_FALSE(control.progressBox(100, 20));
}
