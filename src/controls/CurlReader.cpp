#include "controls/CurlReader.h"

#include "base/Url.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <curl/curl.h>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>
#include <utility>

namespace {

constexpr int MaxRedirects = 20;
constexpr auto DataNotificationInterval = std::chrono::milliseconds(50);
constexpr auto PollInterval = std::chrono::milliseconds(100);
constexpr long ReceiveBufferSize = 1024 * 1024;
constexpr const char* AllowedSchemes = "http,https,ftp,ftps";

std::atomic<long long> noDataTimeoutMs{30'000};

struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct UrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
struct HeaderListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
struct CurlFree {
    void operator()(char* text) const { curl_free(text); }
};

std::string durationText(std::chrono::milliseconds duration) {
    auto ms = duration.count();
    return ms % 1000 == 0 ? std::to_string(ms / 1000) + " seconds" : std::to_string(ms) + " milliseconds";
}

} // namespace

struct CurlReader::Read {
    std::string key;
    std::string url;
    std::filesystem::path bodyPath;
    std::int64_t maxBytes = 0;
    std::chrono::milliseconds deadline{0};
    UrlReaderListener* listener = nullptr;
    std::unique_ptr<CURLM, MultiDeleter> multi;
    std::atomic<bool> cancelled{false}; // written on the user-interface thread only
    std::atomic<bool> finished{false};
};

namespace {

// One read on its worker thread: requests each hop, streams the body to the body file and posts
// the notifications.
class Transfer {
  public:
    Transfer(std::shared_ptr<CurlReader::Read> read, DownloadMessageLoop& loop)
        : read_(std::move(read)), loop_(loop) {}

    void run() {
        easy_.reset(curl_easy_init());
        if (!easy_) return postError("Cannot create a transfer");
        configure();
        std::string url = read_->url;
        if (read_->deadline.count() > 0) deadline_ = std::chrono::steady_clock::now() + read_->deadline;
        for (int hop = 0; hop <= MaxRedirects; ++hop) {
            CURLcode result = performHop(url);
            if (read_->cancelled) return;
            if (stalled_)
                return postError("No data received for " + durationText(CurlReader::noDataTimeout()));
            if (late_) return postError("Not done within " + durationText(read_->deadline));
            if (tooLong_) return postError("Longer than " + std::to_string(read_->maxBytes) + " bytes");
            if (!httpError_.empty()) return postError(httpError_);
            if (result != CURLE_OK && saveError_.empty()) return postError(curlMessage(result));
            if (result == CURLE_OK && isRedirect()) {
                char* target = nullptr;
                curl_easy_getinfo(easy_.get(), CURLINFO_REDIRECT_URL, &target);
                url = target;
                post(ReadStatus::Redirecting, url);
                continue;
            }
            if (result == CURLE_OK && httpStatus_ != 0 && (httpStatus_ < 200 || httpStatus_ > 299))
                return postError("HTTP error " + statusText_);
            return finish();
        }
        postError("More than " + std::to_string(MaxRedirects) + " redirects");
    }

  private:
    void configure() {
        CURL* easy = easy_.get();
        curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, AllowedSchemes);
        curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
        curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, ReceiveBufferSize);
        curl_easy_setopt(easy, CURLOPT_USERAGENT, "bkDLControl/1.0");
        curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorBuffer_);
        headers_.reset(curl_slist_append(nullptr, "Cache-Control: no-cache"));
        curl_slist_append(headers_.get(), "Pragma: no-cache");
        curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers_.get());
        curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Transfer::onHeader);
        curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
        curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Transfer::onBody);
        curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
        curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, &Transfer::onConnected);
        curl_easy_setopt(easy, CURLOPT_PREREQDATA, this);
    }

    // Runs one request to its end, a cancel or a stall.
    CURLcode performHop(const std::string& url) {
        httpStatus_ = 0;
        statusText_.clear();
        httpError_.clear();
        discardBody_ = false;
        errorBuffer_[0] = '\0';
        curl_easy_setopt(easy_.get(), CURLOPT_URL, url.c_str());
        CURLM* multi = read_->multi.get();
        curl_multi_add_handle(multi, easy_.get());
        lastActivity_ = std::chrono::steady_clock::now();
        CURLcode result = CURLE_OK;
        for (int running = 1; running;) {
            if (curl_multi_perform(multi, &running) != CURLM_OK) {
                result = CURLE_FAILED_INIT;
                break;
            }
            if (read_->cancelled) break;
            const auto now = std::chrono::steady_clock::now();
            if (now - lastActivity_ > CurlReader::noDataTimeout()) {
                stalled_ = true;
                break;
            }
            if (deadline_ && now >= *deadline_) {
                late_ = true;
                break;
            }
            if (running) curl_multi_poll(multi, nullptr, 0, static_cast<int>(PollInterval.count()), nullptr);
            postDataProgress(std::chrono::steady_clock::now()); // bytes that came just before a pause
        }
        int queued = 0;
        while (CURLMsg* message = curl_multi_info_read(multi, &queued))
            if (message->msg == CURLMSG_DONE) result = message->data.result;
        curl_multi_remove_handle(multi, easy_.get());
        return result;
    }

    bool isRedirect() const {
        char* target = nullptr;
        curl_easy_getinfo(easy_.get(), CURLINFO_REDIRECT_URL, &target);
        return httpStatus_ >= 300 && httpStatus_ <= 399 && target;
    }

    static size_t onHeader(char* data, size_t size, size_t count, void* self) {
        return static_cast<Transfer*>(self)->header(std::string_view(data, size * count));
    }

    size_t header(std::string_view line) {
        lastActivity_ = std::chrono::steady_clock::now();
        if (line.starts_with("HTTP/")) {
            auto space = line.find(' ');
            std::string_view rest =
                space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
            while (!rest.empty() && (rest.back() == '\r' || rest.back() == '\n'))
                rest.remove_suffix(1);
            statusText_ = std::string(rest);
            httpStatus_ = std::atoi(statusText_.c_str());
        } else if ((line == "\r\n" || line == "\n") && httpStatus_ >= 300) {
            // End of a response's headers: an error status is not read any further, and the body
            // of a redirect is not the file.
            if (httpStatus_ >= 400) {
                httpError_ = "HTTP error " + statusText_;
                return 0;
            }
            discardBody_ = true;
        }
        return line.size();
    }

    static size_t onBody(char* data, size_t size, size_t count, void* self) {
        return static_cast<Transfer*>(self)->body(data, size * count);
    }

    size_t body(const char* data, size_t size) {
        lastActivity_ = std::chrono::steady_clock::now();
        if (discardBody_) return size;
        if (read_->maxBytes > 0 && bytes_ + static_cast<std::int64_t>(size) > read_->maxBytes) {
            tooLong_ = true;
            return 0;
        }
        if (!begun_ && !beginData(true)) return 0;
        for (size_t done = 0; done < size;) {
            auto n = ::write(file_.fd, data + done, size - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                saveError_ = n < 0 ? std::strerror(errno) : "Cannot write the file";
                return 0;
            }
            done += static_cast<size_t>(n);
            bytes_ += n;
        }
        postDataProgress(lastActivity_);
        return size;
    }

    // Data notifications at most every DataNotificationInterval, so a fast transfer does not flood
    // the user-interface thread.
    void postDataProgress(std::chrono::steady_clock::time_point now) {
        if (bytes_ == postedBytes_ || now - lastDataPost_ < DataNotificationInterval) return;
        lastDataPost_ = now;
        postedBytes_ = bytes_;
        post(ReadStatus::Data);
    }

    static int onConnected(void* self, char* primaryIp, char*, int, int) {
        static_cast<Transfer*>(self)->post(ReadStatus::Connecting, primaryIp);
        return CURL_PREREQFUNC_OK;
    }

    // Announces the data: its type, the body file (created here when data has come) and its size.
    bool beginData(bool withFile) {
        begun_ = true;
        char* type = nullptr;
        curl_easy_getinfo(easy_.get(), CURLINFO_CONTENT_TYPE, &type);
        if (type) post(ReadStatus::MimeType, type);
        curl_off_t length = -1;
        curl_easy_getinfo(easy_.get(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        total_ = length > 0 ? length : 0;
        if (withFile) {
            file_.fd = ::open(read_->bodyPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
            if (file_.fd < 0) {
                saveError_ = std::strerror(errno);
                return false;
            }
            bodyFile_ = DownloadBodyFile(read_->bodyPath);
            post(ReadStatus::CacheFile, read_->bodyPath.string());
        }
        post(ReadStatus::BeginData);
        return true;
    }

    // The end of a transfer whose data all came (or whose file could not be written).
    void finish() {
        if (!begun_) beginData(false);
        if (file_.fd >= 0) {
            // Flushed before the rename into place, so a crash leaves no short file under the name.
            if (saveError_.empty() && ::fsync(file_.fd) != 0) saveError_ = std::strerror(errno);
            if (::close(std::exchange(file_.fd, -1)) != 0 && saveError_.empty())
                saveError_ = std::strerror(errno);
        }
        if (saveError_.empty()) post(ReadStatus::EndData);
        auto completion = std::make_shared<ReadCompletion>();
        completion->bytesRead = bytes_;
        completion->bodyFile = std::move(bodyFile_);
        completion->saveError = saveError_;
        loop_.post([read = read_, completion] {
            if (!read->cancelled) read->listener->onReadComplete(*completion);
        });
    }

    void postError(const std::string& message) { post(ReadStatus::Error, message); }

    void post(int status, std::string text = {}) {
        ReadProgress progress{status, std::move(text), bytes_, total_};
        loop_.post([read = read_, progress] {
            if (!read->cancelled) read->listener->onReadProgress(progress);
        });
    }

    std::string curlMessage(CURLcode result) const {
        std::string message = curl_easy_strerror(result);
        if (errorBuffer_[0]) message += std::string(": ") + errorBuffer_;
        return message;
    }

    std::shared_ptr<CurlReader::Read> read_;
    DownloadMessageLoop& loop_;
    std::unique_ptr<CURL, EasyDeleter> easy_;
    std::unique_ptr<curl_slist, HeaderListDeleter> headers_;
    char errorBuffer_[CURL_ERROR_SIZE] = {};

    long httpStatus_ = 0; // 0 for protocols other than HTTP
    std::string statusText_;
    std::string httpError_;
    bool discardBody_ = false;
    bool stalled_ = false;
    bool late_ = false;
    bool tooLong_ = false;
    std::optional<std::chrono::steady_clock::time_point> deadline_;
    bool begun_ = false;
    std::int64_t bytes_ = 0;
    std::int64_t total_ = 0;
    std::int64_t postedBytes_ = 0; // bytes_ as of the last data notification
    std::string saveError_;
    std::chrono::steady_clock::time_point lastActivity_;
    std::chrono::steady_clock::time_point lastDataPost_;

    // The body file: deleted with this object unless handed over in the completion.
    DownloadBodyFile bodyFile_;
    struct Descriptor {
        int fd = -1;
        ~Descriptor() {
            if (fd >= 0) ::close(fd);
        }
    };
    Descriptor file_; // closed before bodyFile_ deletes the file
};

} // namespace

CurlReader::CurlReader(DownloadMessageLoop& loop) : loop_(loop) {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

CurlReader::~CurlReader() {
    for (auto& worker : workers_) {
        worker.read->cancelled = true;
        curl_multi_wakeup(worker.read->multi.get());
    }
    for (auto& worker : workers_)
        worker.thread.join();
}

std::chrono::milliseconds CurlReader::noDataTimeout() {
    return std::chrono::milliseconds(noDataTimeoutMs.load());
}

void CurlReader::setNoDataTimeout(std::chrono::milliseconds timeout) {
    noDataTimeoutMs = timeout.count();
}

std::optional<ReadStartError> CurlReader::start(const ReadRequest& request, UrlReaderListener& listener) {
    joinFinished();
    auto read = std::make_shared<Read>();
    read->key = request.key;
    read->url = base::normaliseUrl(request.url);
    read->bodyPath = request.bodyFile;
    read->maxBytes = request.maxBytes;
    read->deadline = request.deadline;
    read->listener = &listener;

    std::unique_ptr<CURLU, UrlDeleter> parsed(curl_url());
    if (!parsed) return ReadStartError{CURLE_OUT_OF_MEMORY, curl_easy_strerror(CURLE_OUT_OF_MEMORY)};
    if (auto code = curl_url_set(parsed.get(), CURLUPART_URL, read->url.c_str(), 0))
        return ReadStartError{CURLE_URL_MALFORMAT, std::string(curl_url_strerror(code)) + ": " + request.url};
    char* rawScheme = nullptr;
    curl_url_get(parsed.get(), CURLUPART_SCHEME, &rawScheme, 0);
    std::unique_ptr<char, CurlFree> scheme(rawScheme);
    std::string allowed = std::string(",") + AllowedSchemes + ",";
    if (!scheme || allowed.find("," + std::string(scheme.get()) + ",") == std::string::npos)
        return ReadStartError{CURLE_UNSUPPORTED_PROTOCOL, "Unsupported protocol: " + request.url};

    read->multi.reset(curl_multi_init());
    if (!read->multi) return ReadStartError{CURLE_FAILED_INIT, curl_easy_strerror(CURLE_FAILED_INIT)};
    try {
        std::thread thread([read, &loop = loop_] {
            Transfer(read, loop).run();
            read->finished = true;
        });
        workers_.push_back(Worker{read, std::move(thread)});
    } catch (const std::system_error& error) {
        return ReadStartError{error.code().value(), error.what()};
    }
    return std::nullopt;
}

void CurlReader::cancel(const std::string& key) {
    for (auto& worker : workers_) {
        if (worker.read->key != key || worker.read->cancelled) continue;
        worker.read->cancelled = true;
        curl_multi_wakeup(worker.read->multi.get());
    }
}

void CurlReader::joinFinished() {
    std::erase_if(workers_, [](Worker& worker) {
        if (!worker.read->finished) return false;
        worker.thread.join();
        return true;
    });
}
