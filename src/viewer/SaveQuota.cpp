#include "viewer/SaveQuota.h"

namespace viewer {

bool SaveQuota::admit(const std::filesystem::path& file, std::size_t size) {
    const auto known = sizes_.find(file);
    const std::size_t before = known == sizes_.end() ? 0 : known->second;
    const std::size_t files = sizes_.size() + (known == sizes_.end() ? 1 : 0);
    if (files > MaxFiles || size > MaxBytes || bytes_ - before > MaxBytes - size) return false;
    bytes_ = bytes_ - before + size;
    sizes_[file] = size;
    return true;
}

void SaveQuota::remove(const std::filesystem::path& file) {
    const auto known = sizes_.find(file);
    if (known == sizes_.end()) return;
    bytes_ -= known->second;
    sizes_.erase(known);
}

} // namespace viewer
