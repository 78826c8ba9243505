#include "viewer/MovieDownload.h"

#include "base/Numbers.h"
#include "base/Url.h"
#include "controls/bkDLControl.h"
#include "viewer/PlayerFiles.h"

#include <algorithm>

namespace viewer {

std::optional<MoviePlace> moviePlaceOf(const AppDetail& app) {
    if (!isPlainFileName(app.MovieFile) || !base::isWebAddress(app.ContentUrl) ||
        bkDLControl::fileNameOf(app.ContentUrl) != app.MovieFile)
        return std::nullopt;
    return MoviePlace::of(app.ContentUrl);
}

std::int32_t progressValue(float percent) {
    return std::clamp(base::roundHalfEven(static_cast<double>(percent) * 100.0), 0, 100);
}

std::string downloadFailedNote(std::string_view error) {
    if (error.find("No space left on device") != std::string_view::npos ||
        error.find("Disk quota exceeded") != std::string_view::npos)
        return "磁盘空间不足，游戏没能下载完。请腾出一些空间，再点击“重载应用”。";
    return "游戏没能下载完，请检查网络后点击“重载应用”再试。";
}

} // namespace viewer
