#pragma once
// The asynchronous read behind the download control: it fetches one URL in the background and
// reports what happens through notifications that arrive on the user-interface thread, in order.

#include "controls/DownloadBodyFile.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

// Status codes of a progress notification (the numbering of the URL-moniker binding status list,
// with 0 for an error). Readers may send other codes; the control ignores them.
namespace ReadStatus {
constexpr int Error = 0;       // text: what went wrong
constexpr int Connecting = 2;  // text: the address connected to
constexpr int Redirecting = 3; // text: the new URL
constexpr int BeginData = 4;   // the total size is known
constexpr int Data = 5;
constexpr int EndData = 6;
constexpr int MimeType = 13;  // text: the content type
constexpr int CacheFile = 14; // text: the path of the file receiving the body
} // namespace ReadStatus

struct ReadProgress {
    int status = ReadStatus::Error;
    std::string text;
    std::int64_t bytesRead = 0;
    std::int64_t totalBytes = 0; // 0 when the server did not announce a size
};

// The end of a successful read. The body has been streamed to bodyFile, which the receiver moves
// into place; a body file left in this record is deleted with it.
struct ReadCompletion {
    std::int64_t bytesRead = 0;
    DownloadBodyFile bodyFile;
    std::string saveError; // why the body could not be stored (then bodyFile is incomplete)
};

struct ReadRequest {
    std::string url;
    std::string key;                       // names the read for cancel
    std::filesystem::path bodyFile;        // where the body is streamed to; created by the reader
    std::int64_t maxBytes = 0;             // a longer body ends the read with an error; 0: no limit
    std::chrono::milliseconds deadline{0}; // the whole read ends with an error after this; 0: none
};

struct ReadStartError {
    std::int32_t number = 0;
    std::string description;
};

// Receives the notifications of a read, on the user-interface thread.
class UrlReaderListener {
  public:
    virtual ~UrlReaderListener() = default;
    virtual void onReadProgress(const ReadProgress& progress) = 0;
    virtual void onReadComplete(ReadCompletion& completion) = 0;
};

class UrlReader {
  public:
    virtual ~UrlReader() = default;
    // Starts reading in the background. Notifications never arrive inside this call. A read ends
    // with either an error notification or a completion, unless it is cancelled.
    virtual std::optional<ReadStartError> start(const ReadRequest& request, UrlReaderListener& listener) = 0;
    // Stops the read with this key; after this call no notification of it arrives. Unknown keys
    // are ignored.
    virtual void cancel(const std::string& key) = 0;
};
