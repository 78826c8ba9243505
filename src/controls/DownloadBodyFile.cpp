#include "controls/DownloadBodyFile.h"

#include <system_error>

DownloadBodyFile::DownloadBodyFile(DownloadBodyFile&& other) noexcept : path_(std::move(other.path_)) {
    other.path_.clear();
}

DownloadBodyFile& DownloadBodyFile::operator=(DownloadBodyFile&& other) noexcept {
    if (this != &other) {
        removeFile();
        path_ = std::move(other.path_);
        other.path_.clear();
    }
    return *this;
}

DownloadBodyFile::~DownloadBodyFile() {
    removeFile();
}

std::string DownloadBodyFile::moveTo(const std::filesystem::path& target) {
    std::error_code ec;
    std::filesystem::rename(path_, target, ec);
    if (ec) return ec.message();
    path_.clear();
    return {};
}

void DownloadBodyFile::removeFile() noexcept {
    if (path_.empty()) return;
    std::error_code ec;
    std::filesystem::remove(path_, ec);
    path_.clear();
}
