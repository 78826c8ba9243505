#pragma once
// The store's HTTP front: a table of routes (exact paths and path prefixes) over the store's
// pages, an optional delay per request and one log line per request on stderr.

#include "AppPages.h"
#include "StoreOptions.h"
#include "StorePages.h"

#include <atomic>
#include <functional>
#include <httplib.h>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace appstore {

struct StoreReply {
    StoreReply(int status = 200, std::string contentType = "text/html; charset=utf-8", std::string body = {},
               std::string cacheControl = {})
        : status(status), contentType(std::move(contentType)), body(std::move(body)),
          cacheControl(std::move(cacheControl)) {}

    int status;
    std::string contentType;
    std::string body;
    // Sent as Cache-Control when not empty.
    std::string cacheControl;
};

class StoreServer {
  public:
    static constexpr std::size_t kWorkerThreads = 32;

    StoreServer(const StoreCatalog& catalog, StoreOptions options);

    // Binds the listening socket; returns the port (the chosen one for port 0) or -1.
    int bind();
    // Serves until stop() is called.
    bool run() { return http_.listen_after_bind(); }
    void stop() { http_.stop(); }

  private:
    // site: scheme and host of the store as the client addressed it, for absolute links.
    using Handler = std::function<StoreReply(const httplib::Request&, std::string_view site)>;
    struct Route {
        std::string path;
        bool prefix = false;
        Handler handler;
    };

    void addRoutes();
    void addAppRoutes();
    void dispatch(const httplib::Request& request, httplib::Response& response);
    StoreReply answer(const httplib::Request& request, std::string_view site) const;
    std::string siteOf(const httplib::Request& request) const;
    StoreReply download(std::string_view name) const;
    // A file of the --movies folder, when that names one.
    std::optional<StoreReply> moviesFolderFile(std::string_view name) const;

    const StoreCatalog& catalog_;
    StorePages pages_;
    AppPages appPages_;
    StoreOptions options_;
    int port_ = -1;
    int listenSocket_ = -1;
    std::vector<Route> routes_;
    std::atomic<long long> requests_{0};
    httplib::Server http_;
};

} // namespace appstore
