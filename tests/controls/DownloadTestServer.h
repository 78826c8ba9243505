#pragma once
// Servers on 127.0.0.1 for the download tests: an HTTP server whose handlers can wait for the
// test's word, and a raw socket server that resets its connection in the middle of a body.

#include "LoopbackServer.h"

#include <arpa/inet.h>
#include <condition_variable>
#include <mutex>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

class DownloadTestServer {
  public:
    DownloadTestServer() = default;
    ~DownloadTestServer() { stop(); }
    DownloadTestServer(const DownloadTestServer&) = delete;
    DownloadTestServer& operator=(const DownloadTestServer&) = delete;

    httplib::Server& http() { return server_.routes(); }

    // Starts serving the routes set up so far and returns once the server runs.
    void start() { server_.start(); }
    std::string url(const std::string& path) const { return server_.url(path); }

    // Lets handlers that wait for release() go on (they must return before the server stops).
    void release() {
        {
            std::lock_guard lock(mutex_);
            released_ = true;
        }
        releasedChanged_.notify_all();
    }
    // For handlers: waits until release() or the timeout; true when released.
    bool waitForRelease(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        return releasedChanged_.wait_for(lock, timeout, [this] { return released_; });
    }

    // Releases the waiting handlers, then stops the server.
    void stop() {
        release();
        server_.stop();
    }

  private:
    std::mutex mutex_;
    std::condition_variable releasedChanged_;
    bool released_ = false;
    LoopbackServer server_; // last: its thread ends before the members its handlers use
};

// Accepts one connection, answers with a header announcing bodySize bytes, sends sentBytes of them
// and then resets the connection.
class ResettingServer {
  public:
    ResettingServer(std::size_t bodySize, std::size_t sentBytes) {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener_, 1);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this, bodySize, sentBytes] { serve(bodySize, sentBytes); });
    }
    ~ResettingServer() {
        ::shutdown(listener_, SHUT_RDWR);
        thread_.join();
        ::close(listener_);
    }
    ResettingServer(const ResettingServer&) = delete;
    ResettingServer& operator=(const ResettingServer&) = delete;

    std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }

  private:
    void serve(std::size_t bodySize, std::size_t sentBytes) {
        int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) return;
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos) {
            auto n = ::recv(connection, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            request.append(buffer, static_cast<std::size_t>(n));
        }
        std::string reply = "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
                            std::to_string(bodySize) + "\r\n\r\n" + std::string(sentBytes, 'x');
        ::send(connection, reply.data(), reply.size(), MSG_NOSIGNAL);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        linger reset{1, 0}; // close with a reset instead of an orderly end
        ::setsockopt(connection, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
        ::close(connection);
    }

    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
};
