#include "catalogue/UpdateFlow.h"

#include "TempDir.h"
#include "UpdateSigner.h"
#include "base/AtomicFile.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class UpdateFlowTest : public ::testing::Test {
  protected:
    UpdateSigner::KeyPair maker = UpdateSigner::generateKeyPair();
    UpdateSigner signer{maker.privatePem};
    UpdateFlow flow{UpdateSignature(maker.publicPem), "1.0.0"};
    TempDir dir;
    fs::path page = dir.path() / "update.html";
    fs::path file = dir.path() / "BrindleSetup.bin";
    std::string newVersion = "#!/bin/sh\ntouch marker\n";

    std::optional<std::string> offer(const std::string& version, const std::string& signature,
                                     const std::string& ftp = "http://h/box/download/BrindleSetup.bin",
                                     const std::string& info = "i") {
        const auto text = UpdateSigner::updatePage(version, ftp, "d", info, signature);
        base::writeFileAtomic(page, text);
        return flow.pageArrived(static_cast<std::int32_t>(text.size()), page);
    }
};

bool executable(const fs::path& file) {
    return (fs::status(file).permissions() & fs::perms::owner_exec) != fs::perms::none;
}

} // namespace

TEST_F(UpdateFlowTest, ThePageIsReadAndDeletedAndOnlyAHigherVersionNumberOffersItsFile) {
    EXPECT_EQ(offer("1", "s"), std::nullopt);
    EXPECT_FALSE(fs::exists(page));
    EXPECT_EQ(offer("1.4", "s"), std::nullopt);
    EXPECT_EQ(flow.pageOutcome(), "no update (no newer version)");
    EXPECT_EQ(offer("1.5", "s"), "http://h/box/download/BrindleSetup.bin");
    EXPECT_EQ(flow.pageOutcome(), "update offered");
    EXPECT_FALSE(fs::exists(page));
    // An older version never replaces the running one, even when the maker signed it.
    EXPECT_EQ(offer("0", signer.sign("0", newVersion)), std::nullopt);
    EXPECT_FALSE(fs::exists(page));

    // A page without Version counts as 0; a failed download (0 bytes) or a missing file does nothing.
    base::writeFileAtomic(page, "[Main]\r\nftp = http://h/x\r\n");
    EXPECT_EQ(flow.pageArrived(10, page), std::nullopt);
    base::writeFileAtomic(page, "[Main]\r\nVersion = 2\r\n");
    EXPECT_EQ(flow.pageArrived(0, page), std::nullopt);
    EXPECT_TRUE(fs::exists(page));
    EXPECT_EQ(flow.pageOutcome(), "no update page");
    EXPECT_EQ(flow.pageArrived(10, dir.path() / "none.html"), std::nullopt);
}

TEST_F(UpdateFlowTest, AFileSignedForTheAnnouncedVersionBecomesExecutableAndAnythingElseIsDeleted) {
    ASSERT_TRUE(offer("2", signer.sign("2", newVersion)));
    base::writeFileAtomic(file, newVersion);
    ASSERT_FALSE(executable(file));
    EXPECT_EQ(flow.fileArrived(static_cast<std::int32_t>(newVersion.size()), file),
              UpdateFlow::HandOver::Verified);
    EXPECT_TRUE(executable(file));

    // The same signature over other bytes.
    base::writeFileAtomic(file, newVersion + "rm -rf ~\n");
    EXPECT_EQ(flow.fileArrived(40, file), UpdateFlow::HandOver::Rejected);
    EXPECT_FALSE(fs::exists(file));

    // Signed by someone else, or no signature on the page at all.
    const UpdateSigner stranger(UpdateSigner::generateKeyPair().privatePem);
    for (const std::string& signature : {stranger.sign("2", newVersion), std::string()}) {
        ASSERT_TRUE(offer("2", signature));
        base::writeFileAtomic(file, newVersion);
        EXPECT_EQ(flow.fileArrived(20, file), UpdateFlow::HandOver::Rejected);
        EXPECT_FALSE(fs::exists(file));
    }

    // The maker's release 2 announced as 3: its signature holds for 2 only.
    for (const char* announced : {"3", "2.0"}) {
        ASSERT_TRUE(offer(announced, signer.sign("2", newVersion)));
        base::writeFileAtomic(file, newVersion);
        EXPECT_EQ(flow.fileArrived(20, file), UpdateFlow::HandOver::Rejected);
        EXPECT_FALSE(fs::exists(file));
    }
}

TEST_F(UpdateFlowTest, AFailedDownloadIsIgnoredAndAFolderIsNeverTakenForTheFile) {
    ASSERT_TRUE(offer("2", signer.sign("2", newVersion)));
    EXPECT_EQ(flow.fileArrived(0, file), UpdateFlow::HandOver::Ignore);
    EXPECT_EQ(flow.fileArrived(5, file), UpdateFlow::HandOver::Ignore);
    fs::create_directory(file);
    EXPECT_EQ(flow.fileArrived(5, file), UpdateFlow::HandOver::Ignore);
    EXPECT_TRUE(fs::is_directory(file));
    EXPECT_EQ(UpdateFlow::downloadFolder(dir.path()), dir.path() / "Update");
}

TEST_F(UpdateFlowTest, APageTooLongOrWithoutAnHttpAddressOffersNothingAndTheFileNameIsPlain) {
    // A page longer than the limit is not read, whatever it says.
    EXPECT_EQ(offer("2", "s", "http://h/a.bin", std::string(UpdateFlow::PageMaxBytes, 'x')), std::nullopt);
    EXPECT_FALSE(fs::exists(page));
    EXPECT_EQ(flow.pageOutcome(), "no update page");
    EXPECT_EQ(offer("2", "s", "http://h/a.bin", std::string(UpdateFlow::PageMaxBytes - 200, 'x')),
              "http://h/a.bin");

    for (const char* ftp : {"", "ftp://h/a.bin", "file:///usr/bin/a", "a.bin", "http://", "http:///a.bin",
                            "https://?a.bin", "javascript:alert(1)"}) {
        EXPECT_EQ(offer("2", "s", ftp), std::nullopt) << ftp;
        EXPECT_EQ(flow.pageOutcome(), "no update (a newer version without a usable address)") << ftp;
    }
    // The address as it goes out: tabs and line breaks dropped, spaces escaped.
    EXPECT_EQ(offer("2", "s", "https://h/new\tversion 2.bin"), "https://h/newversion%202.bin");

    EXPECT_EQ(UpdateFlow::fileNameFor("https://h/box/setup.bin?v=2"), "setup.bin?v=2");
    EXPECT_EQ(UpdateFlow::fileNameFor("https://h/" + std::string(100, 'a')), std::string(100, 'a'));
    for (const std::string& address : {"https://h/" + std::string(101, 'a'), std::string("https://h/a\x01b"),
                                       std::string("https://h/a\x7f"), std::string("https://h/"),
                                       std::string("https://h/.."), std::string("https://h/a\r")})
        EXPECT_EQ(UpdateFlow::fileNameFor(address), "BrindleSetup.bin") << address;
}

TEST_F(UpdateFlowTest, ASystemInstallHearsOfEachNewerVersionOnce) {
    const fs::path noticed = dir.path() / "UpdateNoticed";
    ASSERT_TRUE(offer("2", "s"));
    EXPECT_TRUE(flow.firstNoticeOf(noticed));
    EXPECT_FALSE(flow.firstNoticeOf(noticed));
    // A later start (a flow of its own) with the same page says nothing; a newer version is told.
    UpdateFlow later{UpdateSignature(maker.publicPem), "1.0.0"};
    const auto text = UpdateSigner::updatePage("2", "http://h/x.bin", "d", "i", "s");
    base::writeFileAtomic(page, text);
    ASSERT_TRUE(later.pageArrived(static_cast<std::int32_t>(text.size()), page));
    EXPECT_FALSE(later.firstNoticeOf(noticed));
    ASSERT_TRUE(offer("3", "s"));
    EXPECT_TRUE(flow.firstNoticeOf(noticed));
}
