#pragma once
// The store's command line.

#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace appstore {

struct StoreOptions {
    std::string host = "127.0.0.1";
    int port = 8780; // 0: any free port
    std::filesystem::path dataFolder;
    int delayMs = 0;                                 // added to every request
    std::optional<std::string> updateVersion;        // overrides the published release's version
    std::optional<std::filesystem::path> updateFile; // served as the release's download
    std::optional<std::string> updateSignature;      // base64 signature of that file, on the update page
    std::filesystem::path moviesFolder; // its files are served under /widget/swf/, before the store's own

    // Parses the arguments after the program name. On a bad or unknown argument returns nothing
    // and sets error; "--help" returns nothing with an empty error.
    static std::optional<StoreOptions> parse(std::span<char* const> args, std::string& error);

    static const char* usage();
};

} // namespace appstore
