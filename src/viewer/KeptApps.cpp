#include "viewer/KeptApps.h"

#include "base/AtomicFile.h"
#include "base/StableName.h"
#include "startup/IniDocument.h"
#include "startup/IniFile.h"
#include "viewer/MovieDownload.h"
#include "viewer/PlayerFiles.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <utility>

namespace fs = std::filesystem;

namespace viewer {

namespace {

constexpr std::string_view kSection = "App";
constexpr std::string_view kLinkKey = "Link";
constexpr std::string_view kEntryKey = "Entry";
// Room for the longest description a store page holds.
constexpr std::int32_t kValueBuffer = 1 << 20;

using Field = std::string AppDetail::*;
constexpr std::array<std::pair<std::string_view, Field>, 7> kFields{{
    {"Name", &AppDetail::Name},
    {"ContentUrl", &AppDetail::ContentUrl},
    {"Icon", &AppDetail::Icon},
    {"Logo", &AppDetail::Logo},
    {"Description", &AppDetail::Description},
    {"Developer", &AppDetail::Developer},
    {"MovieFile", &AppDetail::MovieFile},
}};

// A value on one line, its blanks kept: backslash, CR and LF escaped, then the whole in double
// quotes, which the INI reader takes off again (with the blanks around them).
std::string encode(std::string_view value) {
    std::string out = "\"";
    for (const char c : value) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out + "\"";
}

std::string decode(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const char next = value[++i];
        out += next == 'r' ? '\r' : next == 'n' ? '\n' : next;
    }
    return out;
}

std::string fileBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace

KeptApps::KeptApps(fs::path appFolder) : appFolder_(std::move(appFolder)) {}

fs::path KeptApps::fileFor(std::string_view linkAddress) const {
    // The link inside the file settles a clash.
    return appFolder_ / "Apps" / (base::stableName(linkAddress) + ".ini");
}

bool KeptApps::keep(std::string_view linkAddress, const OpenedApp& app) const {
    // Details whose movie could not be played from Game would only replace details that can.
    if (!app.IsWidgetApp || !app.opens() || !moviePlaceOf(app.CurrentApp)) return false;
    startup::IniDocument document("");
    document.set(kSection, kLinkKey, encode(linkAddress));
    for (const auto& [key, field] : kFields)
        document.set(kSection, key, encode(app.CurrentApp.*field));
    document.set(kSection, kEntryKey, encode(app.Entry));
    const fs::path file = fileFor(linkAddress);
    const std::string bytes = document.bytes();
    if (fileBytes(file) == bytes) return true; // opened again with the same details
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    return base::writeFileAtomic(file, bytes);
}

std::optional<KeptApps::Kept> KeptApps::readFile(const fs::path& file) {
    IniFile ini;
    ini.SpecifyIni(file.string());
    Kept kept;
    kept.link = decode(ini.ReadString(kSection, kLinkKey, kValueBuffer));
    if (kept.link.empty()) return std::nullopt;
    for (const auto& [key, field] : kFields)
        kept.detail.*field = decode(ini.ReadString(kSection, key, kValueBuffer));
    kept.entry = decode(ini.ReadString(kSection, kEntryKey, kValueBuffer));
    return kept;
}

std::optional<OpenedApp> KeptApps::find(std::string_view linkAddress) const {
    auto kept = readFile(fileFor(linkAddress));
    if (!kept || kept->link != linkAddress) return std::nullopt;
    OpenedApp app;
    app.IsWidgetApp = true;
    app.outcome = OpenedApp::Outcome::Kept;
    app.CurrentApp = std::move(kept->detail);
    app.Entry = std::move(kept->entry);
    const auto movie = keptMovieFile(app.CurrentApp);
    std::error_code ec;
    if (!movie || !fs::is_regular_file(appFolder_ / "Game" / *movie, ec)) return std::nullopt;
    return app;
}

std::optional<std::string> KeptApps::keptMovieFile(const AppDetail& detail) const {
    const auto place = moviePlaceOf(detail);
    if (!place) return std::nullopt;
    const fs::path game = appFolder_ / "Game";
    std::error_code ec;
    if (!fs::is_regular_file(game / place->movieFile(), ec) &&
        fs::is_regular_file(game / detail.MovieFile, ec))
        return detail.MovieFile;
    return place->movieFile().string();
}

void KeptApps::adoptEarlierFiles(const AppDetail& detail) const {
    const auto place = moviePlaceOf(detail);
    const auto earlier = movieAddressOf(detail.MovieFile);
    if (!place || !earlier) return;
    place->adoptEarlierFiles(appFolder_ / "Game", appFolder_ / "Saves", detail.MovieFile, [&] {
        const auto apps = all();
        return std::none_of(apps.begin(), apps.end(), [&](const Kept& app) {
            const auto other = moviePlaceOf(app.detail);
            const auto name = movieAddressOf(app.detail.MovieFile);
            return other && name && name->name == earlier->name && other->savesName() != place->savesName();
        });
    });
}

bool KeptApps::hasEarlierFiles(const AppDetail& detail) const {
    const auto place = moviePlaceOf(detail);
    if (!place) return false;
    const auto earlier = place->earlierFiles(appFolder_ / "Game", appFolder_ / "Saves", detail.MovieFile);
    return earlier.movie || earlier.saves;
}

std::vector<KeptApps::Kept> KeptApps::all() const {
    std::vector<Kept> apps;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(appFolder_ / "Apps", ec)) {
        if (entry.path().extension() != ".ini" || !entry.is_regular_file(ec)) continue;
        auto kept = readFile(entry.path());
        // Only the file its link hashes to counts, as find() reads no other.
        if (!kept || fileFor(kept->link) != entry.path()) continue;
        kept->keptAt = entry.last_write_time(ec);
        apps.push_back(std::move(*kept));
    }
    return apps;
}

OpenedApp KeptApps::read(std::string_view linkAddress, std::string_view storeSite,
                         const std::function<void(bool isWidgetApp)>& kindKnown) const {
    const auto before = readFile(fileFor(linkAddress));
    const std::string likelyEntry = before && before->link == linkAddress ? before->entry : std::string();
    OpenedApp app = OpenedApp::read(linkAddress, storeSite, kindKnown, likelyEntry);
    if (app.outcome == OpenedApp::Outcome::Read) {
        keep(linkAddress, app);
        return app;
    }
    if (app.outcome != OpenedApp::Outcome::Unreachable) return app;
    auto kept = find(linkAddress);
    if (!kept) return app;
    if (kindKnown) kindKnown(true);
    return std::move(*kept);
}

} // namespace viewer
