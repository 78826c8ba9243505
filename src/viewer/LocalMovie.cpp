#include "viewer/LocalMovie.h"

#include "base/Url.h"
#include "viewer/MoviePlace.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <system_error>

namespace viewer {

namespace fs = std::filesystem;

fs::path LocalMovie::pathOf(std::string_view argument, const fs::path& currentFolder) {
    const std::string_view scheme = "file:";
    if (argument.size() >= scheme.size() &&
        std::equal(scheme.begin(), scheme.end(), argument.begin(),
                   [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); })) {
        const auto place = MoviePlace::of(argument);
        return place && place->isLocal() ? place->movieOnDisk({}) : fs::path(argument);
    }
    return (currentFolder / fs::path(argument)).lexically_normal();
}

LocalMovie LocalMovie::check(const fs::path& path) {
    LocalMovie movie{path, Problem::None};
    std::error_code ec;
    const fs::path real = fs::canonical(path, ec);
    if (ec) {
        movie.problem = ec == std::errc::no_such_file_or_directory ? Problem::Missing : Problem::Unreadable;
        return movie;
    }
    movie.file = real;
    if (!fs::is_regular_file(real, ec)) {
        movie.problem = Problem::NotAMovie;
        return movie;
    }
    std::ifstream in(real, std::ios::binary);
    char head[3] = {};
    if (!in) {
        movie.problem = Problem::Unreadable;
        return movie;
    }
    const std::string_view start(head, in.read(head, sizeof head) ? sizeof head : 0);
    if (start != "FWS" && start != "CWS" && start != "ZWS") movie.problem = Problem::NotAMovie;
    return movie;
}

std::string LocalMovie::note() const {
    const std::string name = "“" + file.string() + "”";
    switch (problem) {
    case Problem::None:
        return {};
    case Problem::Missing:
        return "找不到文件" + name + "。";
    case Problem::Unreadable:
        return "无法读取文件" + name + "，请检查它的权限。";
    case Problem::NotAMovie:
        return name + "不是 Flash 游戏文件（SWF），无法打开。";
    }
    return {};
}

std::string LocalMovie::address() const {
    std::string address = "file://";
    for (const auto& name : file.relative_path())
        address += "/" + base::encodePathSegment(name.string());
    return address;
}

OpenedApp LocalMovie::app() const {
    OpenedApp app;
    app.IsWidgetApp = true;
    app.IsLocalFile = true;
    app.Link = address();
    const std::string stem = file.stem().string();
    app.CurrentApp.Name = stem.empty() ? file.filename().string() : stem;
    app.CurrentApp.ContentUrl = app.Link;
    app.CurrentApp.MovieFile = file.filename().string();
    app.CurrentApp.Description = "本地游戏：" + file.string();
    return app;
}

} // namespace viewer
