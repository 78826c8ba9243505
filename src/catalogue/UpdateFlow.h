#pragma once
// The decisions of the update check, on the files that its two downloads wrote: whether the update
// page announces a newer version, and whether the new version's file is the maker's, signed for the
// version the page announces, and may run.

#include "catalogue/UpdateSignature.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

class UpdateFlow {
  public:
    enum class HandOver {
        Ignore,   // nothing arrived (failed download): nothing to do
        Verified, // the file is the maker's; it was made executable
        Rejected  // no valid signature; the file was deleted
    };

    // The update page comes from a server that may misbehave: at most this much of it is read,
    // within this time; a longer or slower page is no update.
    static constexpr std::int64_t PageMaxBytes = 64 * 1024;
    static constexpr std::chrono::seconds PageDeadline{15};
    // The new version's file name when its address gives none that is plain.
    static constexpr std::string_view FallbackFileName = "BrindleSetup.bin";
    static constexpr std::size_t MaxFileName = 100;

    explicit UpdateFlow(UpdateSignature checker, std::string ownVersion);

    // The new version's download goes into this folder of the data folder, so a file that is not
    // yet verified can never replace one of the program's own files.
    static std::filesystem::path downloadFolder(const std::filesystem::path& dataFolder);

    // The update page arrived (bytes 0: its download failed). Reads it, deletes it whatever it
    // says, and returns the address of the new version's file (its ftp key, cleaned up as it is
    // requested) when the page's version number is higher than the own one and that address is an
    // http(s) one with a host. A page longer than PageMaxBytes is not read. The page's version and
    // signature are kept for fileArrived.
    std::optional<std::string> pageArrived(std::int32_t bytes, const std::filesystem::path& pageFile);
    // What the last page led to, in words for the log: "update offered", or "no update" and why.
    const std::string& pageOutcome() const { return pageOutcome_; }

    // For a program that the system's software updates keep, which downloads nothing itself: whether
    // the user is still to hear of the version the last page offered. The version told last is
    // kept in the file noticed, so that each version is told once.
    bool firstNoticeOf(const std::filesystem::path& noticed) const;

    // The name the new version's file is saved under in downloadFolder: the file name of address
    // when it is plain (not empty, "." or "..", no control characters, at most MaxFileName bytes),
    // otherwise FallbackFileName.
    static std::string fileNameFor(std::string_view address);

    // The new version's file arrived (bytes 0: its download failed). Checks it against the version
    // and signature that the last page with an update carried.
    HandOver fileArrived(std::int32_t bytes, const std::filesystem::path& file) const;

  private:
    UpdateSignature checker_;
    std::string ownVersion_;
    // Of the last page that offered an update.
    std::string version_;
    std::string signature_;
    std::string pageOutcome_;
};
