#pragma once
// Addresses of the web app store and the maker's update server, from Servers.ini in the settings
// folder:
//   [Store]  Site = ...  Static = ...
//   [Maker]  Server = ...
// A missing file or key means the bundled store at http://127.0.0.1:8780.

#include <filesystem>
#include <string>

struct Servers {
    // Scheme and host (and port), never with a trailing "/".
    std::string site;
    std::string staticHost;
    std::string makerServer;

    static Servers read(const std::filesystem::path& configFolder);
};
