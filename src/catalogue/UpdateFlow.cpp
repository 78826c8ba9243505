#include "catalogue/UpdateFlow.h"

#include "base/AtomicFile.h"
#include "base/Url.h"
#include "catalogue/UpdatePage.h"
#include "catalogue/UpdateVersion.h"
#include "controls/bkDLControl.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// An http(s) address with a host: "scheme://" followed by something other than a path.
bool hasHost(std::string_view address) {
    if (!base::isWebAddress(address)) return false;
    const auto host = address.find("://") + 3;
    return host < address.size() && address[host] != '/' && address[host] != '\\' && address[host] != '?' &&
           address[host] != '#';
}

} // namespace

UpdateFlow::UpdateFlow(UpdateSignature checker, std::string ownVersion)
    : checker_(std::move(checker)), ownVersion_(std::move(ownVersion)) {}

fs::path UpdateFlow::downloadFolder(const fs::path& dataFolder) {
    return dataFolder / "Update";
}

std::optional<std::string> UpdateFlow::pageArrived(std::int32_t bytes, const fs::path& pageFile) {
    std::error_code ec;
    pageOutcome_ = "no update page";
    if (bytes == 0 || !fs::is_regular_file(pageFile, ec)) return std::nullopt;
    const auto size = fs::file_size(pageFile, ec);
    const bool readable = !ec && size <= PageMaxBytes;
    const auto page = readable ? UpdatePage::read(pageFile) : UpdatePage();
    fs::remove(pageFile, ec);
    if (!readable) return std::nullopt;
    pageOutcome_ = "no update (no newer version)";
    if (!catalogue::updateDue(page.Version, ownVersion_)) return std::nullopt;
    // The address as it is requested, so that the file's name is taken from what was asked for.
    std::string address = base::normaliseUrl(page.ftp);
    pageOutcome_ = "no update (a newer version without a usable address)";
    if (!hasHost(address)) return std::nullopt;
    pageOutcome_ = "update offered";
    version_ = page.Version;
    signature_ = page.Signature;
    return address;
}

bool UpdateFlow::firstNoticeOf(const fs::path& noticed) const {
    std::ifstream told(noticed, std::ios::binary);
    const std::string last((std::istreambuf_iterator<char>(told)), std::istreambuf_iterator<char>());
    if (last == version_) return false;
    // A note that cannot be kept is told again at the next start rather than never.
    base::writeFileAtomic(noticed, version_);
    return true;
}

std::string UpdateFlow::fileNameFor(std::string_view address) {
    const std::string name = bkDLControl::fileNameOf(std::string(address));
    const bool plain = !name.empty() && name != "." && name != ".." && name.size() <= MaxFileName &&
                       std::none_of(name.begin(), name.end(),
                                    [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
    return plain ? name : std::string(FallbackFileName);
}

UpdateFlow::HandOver UpdateFlow::fileArrived(std::int32_t bytes, const fs::path& file) const {
    std::error_code ec;
    if (bytes == 0 || !fs::is_regular_file(fs::symlink_status(file, ec))) return HandOver::Ignore;
    if (checker_.verifyFile(version_, file, signature_)) {
        fs::permissions(file, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                        fs::perm_options::add, ec);
        if (!ec) return HandOver::Verified;
    }
    fs::remove(file, ec);
    return HandOver::Rejected;
}
