#include "startup/Servers.h"

#include "startup/IniFile.h"

namespace {

constexpr const char* kBundledStore = "http://127.0.0.1:8780";

std::string address(IniFile& ini, const char* section, const char* key) {
    std::string value = ini.ReadString(section, key, 1000);
    while (!value.empty() && value.back() == '/')
        value.pop_back();
    return value.empty() ? kBundledStore : value;
}

} // namespace

Servers Servers::read(const std::filesystem::path& configFolder) {
    IniFile ini;
    ini.SpecifyIni((configFolder / "Servers.ini").string());
    return {address(ini, "Store", "Site"), address(ini, "Store", "Static"), address(ini, "Maker", "Server")};
}
