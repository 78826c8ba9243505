#include "StoreServer.h"

#include "EmbeddedFiles.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <sys/socket.h>
#include <thread>

namespace appstore {

namespace {

StoreReply notFound(std::string_view path) {
    return {404, "text/html; charset=utf-8", StorePages::notFound(path)};
}

// A Host header is used in links only when it looks like a host name or address with a port.
bool plausibleHost(std::string_view host) {
    if (host.empty() || host.size() > 255) return false;
    for (char c : host) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                        c == '.' || c == '-' || c == ':' || c == '[' || c == ']';
        if (!ok) return false;
    }
    return true;
}

} // namespace

StoreServer::StoreServer(const StoreCatalog& catalog, StoreOptions options)
    : catalog_(catalog), pages_(catalog), appPages_(catalog), options_(std::move(options)) {
    addRoutes();
    // Short keep-alive so that idle client connections do not hold the worker threads.
    http_.set_keep_alive_timeout(2);
    // Pages go out uncompressed: the library answers "br" with brotli at its highest quality, which
    // costs tens of milliseconds per page, far more than sending a few kilobytes over loopback. The
    // library owns the request object it passes here as const, so dropping the header is safe.
    http_.set_pre_routing_handler([](const httplib::Request& request, httplib::Response&) {
        const_cast<httplib::Request&>(request).headers.erase("Accept-Encoding");
        return httplib::Server::HandlerResponse::Unhandled;
    });
    // More workers than the library's default of eight: the catalogue browser's page views and the
    // updater's parallel fetches reach the store at the same time. The server owns the queue.
    http_.new_task_queue = [] { return std::make_unique<httplib::ThreadPool>(kWorkerThreads).release(); };
    http_.set_socket_options([this](int socket) {
        const int yes = 1;
        ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        listenSocket_ = socket;
    });
    http_.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
        dispatch(request, response);
    });
}

int StoreServer::bind() {
    port_ = options_.port == 0 ? http_.bind_to_any_port(options_.host)
                               : (http_.bind_to_port(options_.host, options_.port) ? options_.port : -1);
    // The library listens with a backlog of 5: a burst of clients (the updater opens eight
    // connections at once) overflows it, and the kernel then drops connection attempts that the
    // clients repeat only after a second. Listening again on the bound socket raises the backlog.
    if (port_ >= 0 && listenSocket_ >= 0) ::listen(listenSocket_, SOMAXCONN);
    return port_;
}

namespace {

// The style sheet's address names its version, so a browser may keep it a week; an app's icon
// may change with the app and is kept a day. A fresh copy lets the catalogue show its pages with
// their look while the store cannot be reached.
constexpr const char* kStyleSheetCaching = "max-age=604800";
constexpr const char* kIconCaching = "max-age=86400";

} // namespace

void StoreServer::addRoutes() {
    const auto page = [](std::string html) {
        return StoreReply{200, "text/html; charset=utf-8", std::move(html)};
    };
    routes_.push_back(
        {"/", false, [this, page](const auto&, std::string_view site) { return page(pages_.home(site)); }});
    routes_.push_back({"/appweb/c", false, [this, page](const httplib::Request& r, std::string_view site) {
                           auto html =
                               pages_.category(site, r.get_param_value("cid"), r.get_param_value("leaf_cid"),
                                               r.get_param_value("page"));
                           return html ? page(std::move(*html)) : notFound(r.path);
                       }});
    routes_.push_back(
        {"/appweb/search", false, [this, page](const httplib::Request& r, std::string_view site) {
             return page(pages_.search(site, r.get_param_value("w")));
         }});
    addAppRoutes();
    routes_.push_back({"/static/07051645/appweb/styles/main.css", false, [](const auto&, std::string_view) {
                           return StoreReply{200, "text/css; charset=utf-8", std::string(embedded::mainCss),
                                             kStyleSheetCaching};
                       }});
    routes_.push_back(
        {"/static/icons/app-", true, [this](const httplib::Request& r, std::string_view) {
             std::string_view name =
                 std::string_view(r.path).substr(std::string_view("/static/icons/app-").size());
             if (!name.ends_with(".svg")) return notFound(r.path);
             auto svg = pages_.icon(name.substr(0, name.size() - 4));
             return svg ? StoreReply{200, "image/svg+xml", std::move(*svg), kIconCaching} : notFound(r.path);
         }});
    routes_.push_back({"/box/update.html", false, [this, page](const auto&, std::string_view site) {
                           return page(
                               pages_.updatePage(site, options_.updateVersion, options_.updateSignature));
                       }});
    routes_.push_back({"/box/tj.html", false, [this, page](const auto&, std::string_view) {
                           return page(pages_.statistics(requests_.load()));
                       }});
    routes_.push_back({"/box/download/", true, [this](const httplib::Request& r, std::string_view) {
                           return download(
                               std::string_view(r.path).substr(std::string_view("/box/download/").size()));
                       }});
}

// The pages behind an app link, each answering 404 for an unknown id or an app of the other kind.
void StoreServer::addAppRoutes() {
    using Render = std::function<std::optional<std::string>(std::string_view site, std::string_view id)>;
    const auto byId = [this](std::string path, Render render) {
        routes_.push_back({path, false, [render](const httplib::Request& r, std::string_view site) {
                               auto html = render(site, r.get_param_value("id"));
                               return html ? StoreReply{200, "text/html; charset=utf-8", std::move(*html)}
                                           : notFound(r.path);
                           }});
    };
    const AppPages& pages = appPages_;
    byId("/appweb/app", [&pages](auto site, auto id) { return pages.entry(site, id); });
    byId("/widget/detail", [&pages](auto site, auto id) { return pages.movieDetail(site, id); });
    byId("/appweb/detail", [&pages](auto site, auto id) { return pages.pageDetail(site, id); });
    byId("/appweb/frame", [&pages](auto site, auto id) { return pages.frame(site, id); });
    byId("/appweb/canvas", [&pages](auto, auto id) { return pages.canvas(id); });
    routes_.push_back({"/widget/swf/", true, [this](const httplib::Request& r, std::string_view) {
                           const auto file =
                               std::string_view(r.path).substr(std::string_view("/widget/swf/").size());
                           if (auto extra = moviesFolderFile(file)) return *extra;
                           auto movie = AppPages::movie(file);
                           return movie ? StoreReply{200, "application/x-shockwave-flash", std::move(*movie)}
                                        : notFound(r.path);
                       }});
}

std::optional<StoreReply> StoreServer::moviesFolderFile(std::string_view name) const {
    // Subfolders of the folder are served too; nothing outside it.
    if (options_.moviesFolder.empty() || name.find('\\') != std::string_view::npos) return std::nullopt;
    for (std::size_t start = 0;;) {
        const auto slash = name.find('/', start);
        const auto part = name.substr(start, slash - start);
        if (part.empty() || part == "." || part == "..") return std::nullopt;
        if (slash == std::string_view::npos) break;
        start = slash + 1;
    }
    const auto path = options_.moviesFolder / std::string(name);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::ostringstream bytes;
    bytes << file.rdbuf();
    const bool movie = name.ends_with(".swf");
    return StoreReply{200, movie ? "application/x-shockwave-flash" : "application/octet-stream", bytes.str()};
}

StoreReply StoreServer::download(std::string_view name) const {
    if (!options_.updateFile || name != catalog_.release().file)
        return notFound("/box/download/" + std::string(name));
    std::ifstream file(*options_.updateFile, std::ios::binary);
    if (!file) return notFound("/box/download/" + std::string(name));
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return {200, "application/octet-stream", bytes.str()};
}

std::string StoreServer::siteOf(const httplib::Request& request) const {
    const auto host = request.get_header_value("Host");
    if (plausibleHost(host)) return "http://" + host;
    return "http://" + options_.host + ":" + std::to_string(port_);
}

StoreReply StoreServer::answer(const httplib::Request& request, std::string_view site) const {
    for (const auto& route : routes_) {
        const bool match = route.prefix ? request.path.starts_with(route.path) : request.path == route.path;
        if (match) return route.handler(request, site);
    }
    return notFound(request.path);
}

void StoreServer::dispatch(const httplib::Request& request, httplib::Response& response) {
    const auto start = std::chrono::steady_clock::now();
    ++requests_;
    if (options_.delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(options_.delayMs));
    StoreReply reply;
    try {
        reply = answer(request, siteOf(request));
    } catch (const std::exception& e) {
        reply = {500, "text/plain; charset=utf-8", std::string("internal error: ") + e.what() + "\n"};
    }
    response.status = reply.status;
    response.set_content(reply.body, reply.contentType.c_str());
    if (!reply.cacheControl.empty()) response.set_header("Cache-Control", reply.cacheControl);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    std::fprintf(stderr, "%s %s %d %lld ms\n", request.method.c_str(), request.target.c_str(), reply.status,
                 static_cast<long long>(ms.count()));
}

} // namespace appstore
