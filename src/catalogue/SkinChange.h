#pragma once
// The skin change: the chosen skin's colours go into the settings file; when the page colour
// changes, the page cache is then emptied and its home page rebuilt with the new colour (a store
// fetch, which the caller may run off its user-interface thread once its own page builds have
// stopped). Restarting the program is the caller's part.

#include "pages/PageSite.h"

#include <filesystem>
#include <string>
#include <string_view>

class SkinChange {
  public:
    enum class Result {
        SameSkin,           // the current skin was chosen: nothing done
        SettingsNotWritten, // the settings file could not be replaced: nothing else done
        NotASkin,           // the entry holds no Skin.ini (a plain file, say): nothing done
        Changed             // settings written: refresh the page cache if due, then restart
    };
    struct Outcome {
        Result result = Result::SameSkin;
        bool pageColourChanged = false; // refreshPageCache is due
        std::string webBackColor;       // the new skin's page colour
    };

    // settingsFile: the program's settings file; currentSkin and currentWebBackColor: the settings
    // the program started with; site: the page cache and the store its home page comes from.
    SkinChange(std::filesystem::path appFolder, std::filesystem::path settingsFile, std::string currentSkin,
               std::string currentWebBackColor, PageSite site);

    // Writes the settings of the Skin folder's entry caption. An entry without a Skin.ini is
    // refused: the program would restart without frame, caption buttons or colours, and the user
    // could neither close it nor choose another skin.
    Outcome apply(const std::string& caption) const;
    // Empties the page cache and builds its home page from the store's root page with the page
    // colour webBackColor; false when the store gave no home page.
    bool refreshPageCache(std::string_view webBackColor) const;

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
