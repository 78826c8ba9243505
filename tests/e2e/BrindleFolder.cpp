#include "BrindleFolder.h"

#include "SorrelFolder.h"
#include "StoreProcess.h"
#include "pages/Catalogue.h"

namespace fs = std::filesystem;

BrindleFolder::BrindleFolder(const std::string& storeSite, const std::vector<std::string>& programs) {
    const fs::path built = builtAppFolder();
    for (const std::string& program : programs)
        fs::copy_file(built / program, dir_.path() / program);
    for (const char* folder : {"Skin", "player"}) {
        if (fs::exists(built / folder))
            fs::copy(built / folder, dir_.path() / folder, fs::copy_options::recursive);
    }
    writeServersIni(dir_.path(), storeSite);
}

fs::path BrindleFolder::page(const std::string& key) const {
    return Catalogue::pageFile(dir_.path(), key);
}
