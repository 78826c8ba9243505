#pragma once
// Serves the Flash player's scheme from the player's files and the downloaded movies, read-only.
// Installed only on the player's own web profile, so store pages cannot reach it.

#include "viewer/PlayerFiles.h"

#include <QWebEngineUrlSchemeHandler>

class PlayerSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
  public:
    PlayerSchemeHandler(viewer::PlayerFiles files, QObject* parent = nullptr);

    // Makes the scheme known to the web engine as a secure scheme whose pages may use XHR. Call it
    // once in main, before the QApplication is created.
    static void registerScheme();

    void requestStarted(QWebEngineUrlRequestJob* job) override;

  private:
    viewer::PlayerFiles files_;
};
