#pragma once
// The temporary file that receives a download's body while it arrives. It lives in the target
// folder, so that the finished download is moved into place by a rename, and it is deleted when
// its owner lets go of it without moving it: a failed, cancelled or abandoned download leaves
// nothing behind.

#include <filesystem>
#include <string>

class DownloadBodyFile {
  public:
    DownloadBodyFile() = default;
    explicit DownloadBodyFile(std::filesystem::path path) : path_(std::move(path)) {}
    DownloadBodyFile(DownloadBodyFile&& other) noexcept;
    DownloadBodyFile& operator=(DownloadBodyFile&& other) noexcept;
    DownloadBodyFile(const DownloadBodyFile&) = delete;
    DownloadBodyFile& operator=(const DownloadBodyFile&) = delete;
    ~DownloadBodyFile();

    const std::filesystem::path& path() const { return path_; }
    bool empty() const { return path_.empty(); }

    // Renames the file to target, replacing a file of that name. Returns an empty text on success
    // (the file is then no longer this object's), otherwise the reason; the file stays owned.
    std::string moveTo(const std::filesystem::path& target);

  private:
    void removeFile() noexcept;
    std::filesystem::path path_;
};
