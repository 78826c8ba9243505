#pragma once
// Blocks every request of the player's profile that leaves the player's scheme, so neither the
// player page nor a movie reaches the network or local files.

#include <QWebEngineUrlRequestInterceptor>

class PlayerRequestGuard : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
  public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;
};
