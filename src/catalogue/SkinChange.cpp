#include "catalogue/SkinChange.h"

#include "base/AtomicFile.h"
#include "base/Text.h"
#include "pages/Catalogue.h"
#include "pages/HomePageBuilder.h"
#include "startup/IniFile.h"

#include <vector>

namespace fs = std::filesystem;

namespace {

bool readOnly(const fs::path& file) {
    std::error_code ec;
    const auto status = fs::status(file, ec);
    return fs::exists(status) && (status.permissions() & fs::perms::owner_write) == fs::perms::none;
}

} // namespace

SkinChange::SkinChange(fs::path appFolder, fs::path settingsFile, std::string currentSkin,
                       std::string currentWebBackColor, PageSite site)
    : appFolder_(std::move(appFolder)), settingsFile_(std::move(settingsFile)),
      currentSkin_(std::move(currentSkin)), currentWebBackColor_(std::move(currentWebBackColor)),
      site_(std::move(site)) {}

std::string SkinChange::settingsText(std::string_view caption, std::string_view tabColor,
                                     std::string_view tabBackColor, std::string_view webBackColor) {
    std::string text = "[Main]\r\nSkinName = ";
    text += caption;
    text += "\r\nLen = " + std::to_string(base::charCount(caption)) + "\r\n[Color]\r\nTabColor = ";
    text += tabColor;
    text += "\r\nTabBackColor = ";
    text += tabBackColor;
    text += "\r\nWebBackColor = ";
    text += webBackColor;
    text += "\r\n\r\n";
    return text;
}

int SkinChange::emptyPageCache(const fs::path& htmlDir) {
    std::vector<fs::path> pages;
    std::error_code ec;
    for (fs::directory_iterator it(htmlDir, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError) && base::equalsNoCase(it->path().extension().string(), ".html"))
            pages.push_back(it->path());
    }
    int removed = 0;
    for (const auto& page : pages)
        removed += fs::remove(page, ec) ? 1 : 0;
    return removed;
}

SkinChange::Outcome SkinChange::apply(const std::string& caption) const {
    Outcome outcome;
    if (caption == currentSkin_) return outcome;
    // A name with a line break would add lines of its own to the settings file.
    if (caption.find_first_of("\r\n") != std::string::npos) {
        outcome.result = Result::SettingsNotWritten;
        return outcome;
    }

    const fs::path skinIni = appFolder_ / "Skin" / caption / "Skin.ini";
    std::error_code ec;
    if (!fs::is_regular_file(skinIni, ec)) {
        outcome.result = Result::NotASkin;
        return outcome;
    }
    IniFile skin;
    skin.SpecifyIni(skinIni.string());
    const auto tabBackColor = skin.ReadString("Color", "TabBackColor", 100);
    const auto webBackColor = skin.ReadString("Color", "WebBackColor", 100);
    const auto tabColor = skin.ReadString("Color", "TabColor", 100);

    // Nothing is deleted or restarted unless the new settings are in place. A settings file the
    // user made read-only stays as it is, as the INI writes treat it.
    if (readOnly(settingsFile_) ||
        !base::writeFileAtomic(settingsFile_, settingsText(caption, tabColor, tabBackColor, webBackColor))) {
        outcome.result = Result::SettingsNotWritten;
        return outcome;
    }
    outcome.result = Result::Changed;
    outcome.webBackColor = webBackColor;
    outcome.pageColourChanged = webBackColor != currentWebBackColor_;
    return outcome;
}

bool SkinChange::refreshPageCache(std::string_view webBackColor) const {
    emptyPageCache(site_.htmlDir);
    return BuildHomePage(site_, site_.storeSite + "/", webBackColor, kHomeKey);
}
