#include "viewer/qt/PlayerRequestGuard.h"

#include "viewer/PlayerFiles.h"

void PlayerRequestGuard::interceptRequest(QWebEngineUrlRequestInfo& info) {
    const QString scheme = info.requestUrl().scheme();
    const bool own = scheme == QLatin1String(viewer::kPlayerScheme) || scheme == QLatin1String("data") ||
                     scheme == QLatin1String("blob");
    info.block(!own);
}
