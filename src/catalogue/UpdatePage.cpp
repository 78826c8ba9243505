#include "catalogue/UpdatePage.h"

#include "startup/IniFile.h"

UpdatePage UpdatePage::read(const std::filesystem::path& file) {
    IniFile ini;
    ini.SpecifyIni(file.string());
    UpdatePage page;
    page.Version = ini.ReadString("Main", "Version", 100);
    page.ftp = ini.ReadString("Main", "ftp", 1000);
    page.Date = ini.ReadString("Main", "Date", 100);
    page.Info = ini.ReadString("Main", "Info", 1000);
    page.Signature = ini.ReadString("Main", "Signature", 100);
    return page;
}
