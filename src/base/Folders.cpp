#include "base/Folders.h"

#include "base/AppFolder.h"
#include "base/AtomicFile.h"
#include "base/PersonalServersIni.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace base {

const char* const Folders::SharedInstallMarker = "SharedInstall";

Folders::Folders(const fs::path& oneFolder) : Folders(oneFolder, oneFolder, oneFolder, oneFolder) {}

Folders::Folders(fs::path program, fs::path data, fs::path config, fs::path cache)
    : program(std::move(program)), data(std::move(data)), config(std::move(config)), cache(std::move(cache)) {
}

namespace {

// $variable when it holds an absolute path (relative ones are to be ignored), else home/fallback.
fs::path xdgFolder(const Folders::Environment& env, const char* variable, const fs::path& home,
                   const char* fallback) {
    const char* value = env(variable);
    const fs::path set = value ? value : "";
    return (set.is_absolute() ? set : home / fallback) / "brindle";
}

const char* homeOfUser() {
    const passwd* user = ::getpwuid(::getuid());
    return user && user->pw_dir ? user->pw_dir : "/";
}

} // namespace

Folders Folders::decide(const fs::path& program, bool programWritable, const Environment& env) {
    std::error_code ec;
    if (programWritable && !fs::exists(program / SharedInstallMarker, ec)) return Folders(program);
    const char* homeValue = env("HOME");
    const fs::path home = homeValue && *homeValue ? homeValue : homeOfUser();
    return Folders(program, xdgFolder(env, "XDG_DATA_HOME", home, ".local/share"),
                   xdgFolder(env, "XDG_CONFIG_HOME", home, ".config"),
                   xdgFolder(env, "XDG_CACHE_HOME", home, ".cache"));
}

Folders Folders::ofThisProgram() {
    const fs::path program = applicationFolder();
    return decide(program, ::access(program.c_str(), W_OK) == 0,
                  [](const char* name) { return std::getenv(name); });
}

std::vector<fs::path> Folders::prepare() const {
    std::vector<fs::path> missing;
    if (beside()) return missing;
    for (const fs::path& folder : {data, config, cache}) {
        std::error_code ec;
        fs::create_directories(folder, ec);
        if (!fs::is_directory(folder, ec)) missing.push_back(folder);
    }
    // The user's copy from then on (with a store port of their own): their edits stay, and a newer
    // package does not overwrite them.
    std::error_code ec;
    if (fs::exists(program / "Servers.ini", ec) && !fs::exists(config / "Servers.ini", ec)) {
        std::ifstream in(program / "Servers.ini", std::ios::binary);
        const std::string programIni{std::istreambuf_iterator<char>(in), {}};
        if (in) writeFileAtomic(config / "Servers.ini", personalServersIni(programIni, ::getuid()));
    }
    return missing;
}

} // namespace base
