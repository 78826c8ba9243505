#pragma once
// What one movie keeps in saves, bounded as Flash Player bounded what a site stored: at most
// MaxBytes in at most MaxFiles files together. A save that would take the movie over either is
// refused, and the file keeps what it held.

#include <cstddef>
#include <filesystem>
#include <map>

namespace viewer {

class SaveQuota {
  public:
    static constexpr std::size_t MaxBytes = 16 << 20;
    static constexpr std::size_t MaxFiles = 1000;

    // Whether file may hold size bytes now, beside what the others hold; when it may, it counts
    // so from now on.
    bool admit(const std::filesystem::path& file, std::size_t size);
    // The file is gone.
    void remove(const std::filesystem::path& file);

    std::size_t bytes() const { return bytes_; }
    std::size_t files() const { return sizes_.size(); }

  private:
    std::map<std::filesystem::path, std::size_t> sizes_;
    std::size_t bytes_ = 0;
};

} // namespace viewer
