#pragma once
// An HTTP server on 127.0.0.1 and a free port, running on its own thread for one test.

#include <chrono>
#include <httplib.h>
#include <stdexcept>
#include <string>
#include <thread>

class TestServer {
  public:
    TestServer() = default;
    ~TestServer() { stop(); }
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    httplib::Server& routes() { return server_; }

    // Binds and starts serving; call after the routes are set.
    void start() {
        port_ = server_.bind_to_any_port("127.0.0.1");
        if (port_ <= 0) throw std::runtime_error("no free port");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    void stop() {
        if (!thread_.joinable()) return;
        server_.stop();
        thread_.join();
    }

    std::string site() const { return "http://127.0.0.1:" + std::to_string(port_); }

  private:
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
};
