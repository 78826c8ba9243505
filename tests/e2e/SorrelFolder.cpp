#include "SorrelFolder.h"

#include "ChildProcess.h"
#include "StoreProcess.h"

#include <fstream>
#include <sstream>

std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFile(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

void writeServersIni(const std::filesystem::path& folder, const std::string& site) {
    writeFile(folder / "Servers.ini", "[Store]\r\nSite = " + site + "\r\nStatic = " + site +
                                          "\r\n[Maker]\r\nServer = " + site + "\r\n");
}

SorrelFolder::SorrelFolder(const std::string& storeSite) {
    std::filesystem::copy_file(builtAppFolder() / "Sorrel", dir_.path() / "Sorrel");
    writeServersIni(dir_.path(), storeSite);
}

ChildProcess SorrelFolder::start() const {
    return ChildProcess(dir_.path() / "Sorrel", {}, false);
}

std::optional<int> SorrelFolder::run(std::chrono::seconds timeout) const {
    ChildProcess sorrel = start();
    return sorrel.wait(timeout);
}

std::map<std::string, std::string> SorrelFolder::htmlFiles() const {
    std::map<std::string, std::string> files;
    std::error_code ec;
    for (const auto& item : std::filesystem::directory_iterator(html(), ec))
        files[item.path().filename().string()] = readFile(item.path());
    return files;
}
