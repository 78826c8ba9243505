#include "viewer/MovieDownload.h"

#include "base/Numbers.h"
#include "base/Url.h"
#include "controls/bkDLControl.h"
#include "viewer/PlayerFiles.h"

#include <algorithm>

namespace viewer {

std::optional<std::string> movieFileName(const AppDetail& app) {
    if (!isPlainFileName(app.MovieFile) || !base::isWebAddress(app.ContentUrl) ||
        bkDLControl::fileNameOf(app.ContentUrl) != app.MovieFile)
        return std::nullopt;
    return app.MovieFile;
}

std::int32_t progressValue(float percent) {
    return std::clamp(base::roundHalfEven(static_cast<double>(percent) * 100.0), 0, 100);
}

} // namespace viewer
