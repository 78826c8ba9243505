#include "StoreOptions.h"

#include <charconv>
#include <string_view>

namespace appstore {

namespace {

std::optional<int> number(std::string_view text, int low, int high) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<StoreOptions> StoreOptions::parse(std::span<char* const> args, std::string& error) {
    StoreOptions options;
    error.clear();
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view name = args[i];
        if (name == "--help" || name == "-h") return std::nullopt;
        if (i + 1 >= args.size()) {
            error = "missing value for " + std::string(name);
            return std::nullopt;
        }
        const std::string_view value = args[++i];
        if (name == "--host") {
            options.host = value;
        } else if (name == "--port") {
            const auto port = number(value, 0, 65535);
            if (!port) {
                error = "bad port: " + std::string(value);
                return std::nullopt;
            }
            options.port = *port;
        } else if (name == "--data") {
            options.dataFolder = value;
        } else if (name == "--delay-ms") {
            const auto delay = number(value, 0, 600000);
            if (!delay) {
                error = "bad delay: " + std::string(value);
                return std::nullopt;
            }
            options.delayMs = *delay;
        } else if (name == "--update-version") {
            options.updateVersion = std::string(value);
        } else if (name == "--update-file") {
            options.updateFile = std::filesystem::path(value);
        } else if (name == "--update-signature") {
            options.updateSignature = std::string(value);
        } else if (name == "--movies") {
            options.moviesFolder = value;
        } else {
            error = "unknown option: " + std::string(name);
            return std::nullopt;
        }
    }
    return options;
}

const char* StoreOptions::usage() {
    return "usage: appstore [--host ADDRESS] [--port N] [--data FOLDER] [--delay-ms N]\n"
           "                [--update-version TEXT] [--update-file FILE] [--update-signature BASE64]\n"
           "                [--movies FOLDER]\n"
           "  --host            address to listen on (default 127.0.0.1)\n"
           "  --port            port to listen on (default 8780; 0 picks a free port)\n"
           "  --data            folder of the store's database, created and seeded on first start\n"
           "                    (default: store-data next to the program)\n"
           "  --delay-ms        delay added to every request, in milliseconds\n"
           "  --update-version  version announced by /box/update.html (default: the published release, 1)\n"
           "  --update-file     file offered as the new version's download under /box/download/\n"
           "  --update-signature  the file's Ed25519 signature for the announced version (base64, from\n"
           "                    signupdate sign --version), which the update page carries as Signature\n"
           "  --movies          folder whose files are served under /widget/swf/ by name, in place of\n"
           "                    the store's own movie of the same name (movies and files beside them,\n"
           "                    in subfolders too)\n";
}

} // namespace appstore
