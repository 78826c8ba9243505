#pragma once
// An HTTP server on 127.0.0.1 and a free port, serving on its own thread for one test.

#include <chrono>
#include <httplib.h>
#include <stdexcept>
#include <string>
#include <thread>

class LoopbackServer {
  public:
    LoopbackServer() = default;
    ~LoopbackServer() { stop(); }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    httplib::Server& routes() { return server_; }

    // Binds and starts serving the routes set up so far. Returns once the server runs: a stop()
    // before that would be missed by the server and leave it listening for ever.
    void start() {
        port_ = server_.bind_to_any_port("127.0.0.1");
        if (port_ <= 0) throw std::runtime_error("no free port");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        for (int i = 0; i < 5000 && !server_.is_running(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (!server_.is_running()) throw std::runtime_error("the test server did not start");
    }

    // Stops serving and waits for the server's thread; does nothing when it was not started.
    void stop() {
        if (!thread_.joinable()) return;
        server_.stop();
        thread_.join();
    }

    std::string site() const { return "http://127.0.0.1:" + std::to_string(port_); }
    std::string url(const std::string& path) const { return site() + path; }

  private:
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
};
