#include "catalogue/UpdateFlow.h"

#include "catalogue/UpdatePage.h"
#include "catalogue/UpdateVersion.h"

#include <system_error>

namespace fs = std::filesystem;

UpdateFlow::UpdateFlow(UpdateSignature checker, std::string ownVersion)
    : checker_(std::move(checker)), ownVersion_(std::move(ownVersion)) {}

fs::path UpdateFlow::downloadFolder(const fs::path& appFolder) {
    return appFolder / "Update";
}

std::optional<std::string> UpdateFlow::pageArrived(std::int32_t bytes, const fs::path& pageFile) {
    std::error_code ec;
    if (bytes == 0 || !fs::is_regular_file(pageFile, ec)) return std::nullopt;
    const auto page = UpdatePage::read(pageFile);
    fs::remove(pageFile, ec);
    if (!catalogue::updateDue(page.Version, ownVersion_)) return std::nullopt;
    version_ = page.Version;
    signature_ = page.Signature;
    return page.ftp;
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
