#pragma once
// The asynchronous read over libcurl: each read runs on a worker thread of its own and posts its
// notifications to the user-interface thread's message loop, where they reach the listener in the
// order they happened. The body is streamed into the request's body file, never held in memory.
//
// Behaviour a caller can rely on:
// - http, https, ftp and ftps URLs; spaces and non-ASCII bytes are percent-encoded as a browser
//   does. Other schemes and malformed URLs fail at start.
// - Redirects are followed one hop at a time and each hop is reported (Redirecting) before the
//   next request; at most 20 hops.
// - The newest version is asked for (no-cache), and no content encoding, so the file arrives byte
//   for byte as the server stores it.
// - An HTTP status of 400 or more, any other status that is neither success nor a redirect, a
//   transfer error, a read that receives nothing for noDataTimeout(), a body longer than the
//   request's maxBytes and a read still running at the request's deadline end with an Error
//   notification; the body file is then deleted.

#include "controls/DownloadMessageLoop.h"
#include "controls/UrlReader.h"

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

class CurlReader : public UrlReader {
  public:
    explicit CurlReader(DownloadMessageLoop& loop);
    // Cancels every running read and waits for its worker to stop.
    ~CurlReader() override;
    CurlReader(const CurlReader&) = delete;
    CurlReader& operator=(const CurlReader&) = delete;

    std::optional<ReadStartError> start(const ReadRequest& request, UrlReaderListener& listener) override;
    void cancel(const std::string& key) override;

    // How long a read may receive nothing before it fails: 30 seconds unless set (tests shorten it).
    static std::chrono::milliseconds noDataTimeout();
    static void setNoDataTimeout(std::chrono::milliseconds timeout);

    struct Read; // shared by the worker, the reader and the posted notifications

  private:
    struct Worker {
        std::shared_ptr<Read> read;
        std::thread thread;
    };
    void joinFinished();

    DownloadMessageLoop& loop_;
    std::vector<Worker> workers_;
};
