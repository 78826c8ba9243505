#include "catalogue/SkinMenuItems.h"

#include <algorithm>
#include <cctype>

namespace {

bool beforeIgnoringCase(const std::string& a, const std::string& b) {
    const auto lower = [](unsigned char c) { return std::tolower(c); };
    const bool less = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                                   [&](char x, char y) { return lower(x) < lower(y); });
    const bool greater = std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                                      [&](char x, char y) { return lower(x) < lower(y); });
    return less || (!greater && a < b);
}

} // namespace

std::vector<SkinMenuItem> skinMenuItems(const std::filesystem::path& skinFolder,
                                        const std::string& currentSkin) {
    std::vector<std::string> names;
    std::error_code ec;
    // The iterator never yields "." and "..".
    for (std::filesystem::directory_iterator it(skinFolder, ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end(), beforeIgnoringCase);

    std::vector<SkinMenuItem> items{{"皮肤列表", false, false}};
    for (auto& name : names) {
        const bool current = name == currentSkin;
        items.push_back({std::move(name), true, current});
    }
    return items;
}
