// The update check in the catalogue window against the built appstore: the window's own UpDateDown
// fetches the store's update page at load, and the store serves a small script as the new version.

#include "catalogue/qt/UpdateCheck.h"

#include "CatalogueWindow.h"
#include "StoreProcess.h"
#include "UpdateSigner.h"
#include "base/AtomicFile.h"
#include "catalogue/PendingStart.h"
#include "controls/qt/bkDLControlWidget.h"
#include "startup/PosixLauncher.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class UpdateCheckTest : public ::testing::Test {
  protected:
    UpdateCheckTest() {
        script = "#!/bin/sh\necho started > '" + (dir.path() / "marker").string() + "'\n";
        base::writeFileAtomic(dir.path() / "new-version", script);
    }

    // Starts a store announcing version with the script and signature, and opens the window on it.
    void open(const std::vector<std::string>& storeArgs) {
        pageDone.reset();
        ended.reset();
        app.reset();
        store = std::make_unique<StoreProcess>(storeArgs);
        app = std::make_unique<CatalogueWindow>(store->site());
        MainFrm& window = app->open();
        pageDone = std::make_unique<QSignalSpy>(window.UpDateDown(), &bkDLControlWidget::DLComplete);
        check = new UpdateCheck(window.UpDateDown(), window.DownFtp(), app->folder(),
                                UpdateSignature(maker.publicPem), &window);
        ended = std::make_unique<QSignalSpy>(check, &UpdateCheck::ended);
    }
    // Waits for the check's end and returns its outcome.
    QString outcome() {
        if (!waitFor([&] { return ended->count() > 0; })) return "(not ended)";
        return ended->first().at(0).toString();
    }
    std::vector<std::string> offering(const std::string& signature, const std::string& version = "2") const {
        return {"--update-version",   version,  "--update-file", (dir.path() / "new-version").string(),
                "--update-signature", signature};
    }
    fs::path downloaded() const { return app->folder() / "Update" / "BrindleSetup.bin"; }

    TempDir dir;
    std::string script;
    UpdateSigner::KeyPair maker = UpdateSigner::generateKeyPair();
    std::unique_ptr<StoreProcess> store;
    std::unique_ptr<CatalogueWindow> app;
    std::unique_ptr<QSignalSpy> pageDone;
    std::unique_ptr<QSignalSpy> ended;
    UpdateCheck* check = nullptr;
};

} // namespace

TEST_F(UpdateCheckTest, TheSameOrAnOlderSignedVersionShowsNothingAndLeavesNoUpdatePage) {
    for (const auto& args :
         {std::vector<std::string>{}, offering(UpdateSigner(maker.privatePem).sign("0", script), "0")}) {
        open(args);
        EXPECT_EQ(outcome(), "no update (no newer version)");
        ASSERT_EQ(pageDone->count(), 1);
        EXPECT_GT(pageDone->first().at(0).toInt(), 0);
        EXPECT_TRUE(app->messages().isEmpty());
        EXPECT_FALSE(fs::exists(app->folder() / "update.html"));
        EXPECT_FALSE(fs::exists(downloaded().parent_path()));
        EXPECT_FALSE(app->unloaded());
        EXPECT_EQ(PendingStart::take(), std::nullopt);
    }
}

TEST_F(UpdateCheckTest, ASignedNewVersionIsStartedOnceTheWindowHasClosed) {
    open(offering(UpdateSigner(maker.privatePem).sign("2", script)));
    QSignalSpy handedOver(check, &UpdateCheck::handedOver);
    ASSERT_TRUE(waitFor([&] { return app->unloaded(); })) << app->messages().join("|").toStdString();
    EXPECT_EQ(app->messages(), QStringList({UpdateCheck::FoundMessage, UpdateCheck::DoneMessage}));
    EXPECT_FALSE(fs::exists(app->folder() / "update.html"));
    EXPECT_EQ(handedOver.count(), 1);
    EXPECT_EQ(outcome(), "update offered, the new version starts once Brindle has ended");
    // Nothing starts while the window's process still holds its files; the program starts it on its way out.
    EXPECT_FALSE(fs::exists(dir.path() / "marker"));
    const auto program = PendingStart::take();
    ASSERT_EQ(program, downloaded());
    EXPECT_NE(fs::status(*program).permissions() & fs::perms::owner_exec, fs::perms::none);
    PendingStart::set(*program);
    PosixLauncher launcher;
    EXPECT_TRUE(PendingStart::run(launcher));
    EXPECT_TRUE(waitFor([&] { return fs::exists(dir.path() / "marker"); }));
}

TEST_F(UpdateCheckTest, ABadMissingForeignOrOtherVersionsSignatureDeletesTheFileAndKeepsTheProgramRunning) {
    const std::string good = UpdateSigner(maker.privatePem).sign("2", script);
    std::string flipped = good;
    flipped[5] = flipped[5] == 'A' ? 'B' : 'A';
    const UpdateSigner stranger(UpdateSigner::generateKeyPair().privatePem);
    const std::vector<std::vector<std::string>> stores{
        offering(flipped),
        offering(stranger.sign("2", script)),
        offering(UpdateSigner(maker.privatePem).sign("2", "other")),
        offering(good, "3"), // release 2 replayed as version 3
        {"--update-version", "2", "--update-file", (dir.path() / "new-version").string()}};
    for (const auto& args : stores) {
        open(args);
        QSignalSpy rejected(check, &UpdateCheck::rejected);
        ASSERT_TRUE(waitFor([&] { return rejected.count() > 0; })) << args.back();
        EXPECT_EQ(outcome(), "update offered, its file was not the maker's and was deleted");
        EXPECT_EQ(app->messages(), QStringList({UpdateCheck::FoundMessage, UpdateCheck::UnverifiedMessage}));
        EXPECT_FALSE(fs::exists(downloaded().parent_path())) << "nothing of the refused file is left";
        EXPECT_FALSE(app->unloaded());
        EXPECT_TRUE(app->window().isVisible());
        EXPECT_EQ(PendingStart::take(), std::nullopt);
    }
    EXPECT_FALSE(fs::exists(dir.path() / "marker"));
}

TEST_F(UpdateCheckTest, AFailedDownloadOfTheNewVersionShowsOnlyTheFirstMessage) {
    open({"--update-version", "1.5"}); // no file to serve: the download ends with an error
    QSignalSpy fileDone(app->window().DownFtp(), &bkDLControlWidget::DLComplete);
    EXPECT_TRUE(outcome().startsWith("update offered, its file did not arrive (")) << outcome().toStdString();
    ASSERT_EQ(fileDone.count(), 1);
    EXPECT_EQ(fileDone.first().at(0).toInt(), 0);
    EXPECT_EQ(app->messages(), QStringList({UpdateCheck::FoundMessage}));
    EXPECT_FALSE(fs::exists(downloaded()));
    EXPECT_FALSE(app->unloaded());
    EXPECT_EQ(PendingStart::take(), std::nullopt);
}
