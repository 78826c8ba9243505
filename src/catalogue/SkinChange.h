#pragma once
// The skin change: the chosen skin's colours go into the settings file, and the page cache is
// emptied and its home page rebuilt when the page colour changes. Restarting the program is the
// caller's part.

#include "pages/PageSite.h"

#include <filesystem>
#include <string>
#include <string_view>

class SkinChange {
  public:
    enum class Result {
        SameSkin,           // the current skin was chosen: nothing done
        SettingsNotWritten, // the settings file could not be replaced: nothing else done
        Changed             // settings written (and the cache handled): restart now
    };
    struct Outcome {
        Result result = Result::SameSkin;
        bool cacheEmptied = false;
        bool homeRebuilt = false;
    };

    // settingsFile: the program's settings file; currentSkin and currentWebBackColor: the settings
    // the program started with; site: the page cache and the store its home page comes from.
    SkinChange(std::filesystem::path appFolder, std::filesystem::path settingsFile, std::string currentSkin,
               std::string currentWebBackColor, PageSite site);

    // Changes to the skin of the Skin folder's entry caption.
    Outcome apply(const std::string& caption) const;

    // The settings file for a skin: seven lines, each ended by CRLF, then one more CRLF; Len is
    // the caption's length in characters.
    static std::string settingsText(std::string_view caption, std::string_view tabColor,
                                    std::string_view tabBackColor, std::string_view webBackColor);

    // Deletes every file of htmlDir whose extension is ".html" in any letter case; returns how many.
    static int emptyPageCache(const std::filesystem::path& htmlDir);

  private:
    std::filesystem::path appFolder_;
    std::filesystem::path settingsFile_;
    std::string currentSkin_;
    std::string currentWebBackColor_;
    PageSite site_;
};
