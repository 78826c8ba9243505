#include "pages/FetchText.h"

#include "base/Text.h"
#include "base/Url.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <curl/curl.h>
#include <fstream>
#include <iconv.h>
#include <memory>
#include <optional>
#include <vector>

namespace {

std::function<void()>& pendingEventsHook() {
    static std::function<void()> hook;
    return hook;
}

std::atomic<long> stallSeconds{30};

// The cancel flag of the fetches made on this thread; null: they are never cancelled.
thread_local const std::atomic<bool>* cancelFlag = nullptr;

// When the fetches made on this thread must have ended; none: only the stall time-out limits them.
thread_local std::optional<std::chrono::steady_clock::time_point> fetchDeadline;

// Polled by curl while a transfer runs (also while it connects or waits); non-zero ends it.
int checkCancel(void* flag, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<const std::atomic<bool>*>(flag)->load() ? 1 : 0;
}

void processPendingEvents() {
    if (const auto& hook = pendingEventsHook()) hook();
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && base::equalsNoCase(text.substr(0, prefix.size()), prefix);
}

struct CurlDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct SlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};

struct IconvCloser {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Length of the well-formed UTF-8 sequence at the start of text (no overlong forms, no surrogates,
// nothing above U+10FFFF); 0 when there is none.
std::size_t sequenceLength(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 4;
    unsigned char low = 0x80, high = 0xBF; // range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if ((byte(i) & 0xC0) != 0x80) return 0;
    return length;
}

// glibc's UTF-8 decoder lets code points above U+10FFFF and five- and six-byte forms through
// unchanged; like any other invalid input they become U+FFFD, one per byte.
std::string wellFormed(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = sequenceLength(text.substr(i));
        if (length == 0) {
            out += kReplacementCharacter;
            ++i;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
    }
    return out;
}

size_t appendBody(char* data, size_t size, size_t count, void* userData) {
    auto& body = *static_cast<std::string*>(userData);
    const size_t bytes = size * count;
    if (body.size() + bytes > kMaxBodyBytes) return 0; // makes curl end the transfer with an error
    body.append(data, bytes);
    return bytes;
}

bool curlReady() {
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return initialised;
}

// One GET of address into body, with this thread's deadline and cancel flag; false when the
// transfer must not start at all (deadline passed, already cancelled). headers and body must
// outlive the transfer.
bool configureGet(CURL* h, const std::string& address, curl_slist* headers, std::string& body) {
    const long stall = stallSeconds.load();
    curl_easy_setopt(h, CURLOPT_URL, address.c_str());
    curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, stall);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, stall);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &body);
    if (fetchDeadline) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            *fetchDeadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        // The whole transfer, connecting included; a store that accepts and never answers ends here.
        curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(left.count()));
    }
    if (cancelFlag) {
        if (cancelFlag->load()) return false;
        curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, checkCancel);
        curl_easy_setopt(h, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool>*>(cancelFlag));
        curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    }
    return true;
}

std::unique_ptr<curl_slist, SlistDeleter> noCacheHeader() {
    return std::unique_ptr<curl_slist, SlistDeleter>(curl_slist_append(nullptr, "If-Modified-Since: 0"));
}

// GET over HTTP(S); nothing when the transfer did not complete.
std::optional<std::string> fetchHttp(std::string_view url) {
    if (!curlReady()) return std::nullopt;
    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl) return std::nullopt;
    const auto headers = noCacheHeader();
    const std::string address = base::normaliseUrl(url);
    std::string body;
    if (!configureGet(curl.get(), address, headers.get(), body)) return std::nullopt;
    if (curl_easy_perform(curl.get()) != CURLE_OK) return std::nullopt;
    return body;
}

std::optional<std::string> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string body;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        if (body.size() + static_cast<std::size_t>(in.gcount()) > kMaxBodyBytes) return std::nullopt;
        body.append(buffer, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) return std::nullopt;
    return body;
}

// A fetched body decoded; an empty body stays empty whatever the character set.
std::optional<std::string> decodedPage(std::optional<std::string> body, std::string_view charset) {
    if (!body) return std::nullopt;
    if (body->empty()) return std::string();
    return DecodeBody(*body, charset);
}

std::optional<std::string> fetchBody(std::string_view url) {
    if (base::isWebAddress(url)) return fetchHttp(url);
    if (startsWithNoCase(url, "file://")) {
        // file:///path and file://host/path both name /path on this machine.
        const std::string_view rest = url.substr(7);
        const auto slash = rest.find('/');
        if (slash == std::string_view::npos) return std::nullopt;
        return readFile(base::decodePercent(rest.substr(slash)));
    }
    if (base::contains(url, "://")) return std::nullopt; // no other scheme is fetched
    return readFile(std::string(url));
}

} // namespace

std::string DecodeBody(std::string_view body, std::string_view charset) {
    processPendingEvents();
    const std::string from(charset);
    iconv_t cd = iconv_open("UTF-8", from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return {};
    const std::unique_ptr<void, IconvCloser> guard(cd);
    std::string out;
    char* in = const_cast<char*>(body.data());
    size_t inLeft = body.size();
    char buffer[16384];
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        if (result != static_cast<size_t>(-1) || errno == E2BIG) continue;
        // An invalid byte, or a sequence cut off at the end: mark it and go on after the byte.
        out += kReplacementCharacter;
        ++in;
        --inLeft;
    }
    // Flush a stateful decoder's pending output.
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    if (out.starts_with(kByteOrderMark)) out.erase(0, kByteOrderMark.size());
    return wellFormed(out);
}

std::optional<std::string> FetchPage(std::string_view url, std::string_view charset) {
    processPendingEvents();
    return decodedPage(fetchBody(url), charset);
}

void FetchPages(std::span<const std::string> urls, std::string_view charset, long perHost,
                const std::function<void(std::size_t, std::optional<std::string>)>& done) {
    // Each transfer owns its handle and body; the handle's private pointer names its entry.
    struct Transfer {
        std::size_t index;
        std::string address;
        std::string body;
        std::unique_ptr<CURL, CurlDeleter> handle;
        bool finished = false;
    };
    std::unique_ptr<CURLM, MultiDeleter> multi(curlReady() ? curl_multi_init() : nullptr);
    if (multi) {
        curl_multi_setopt(multi.get(), CURLMOPT_MAX_HOST_CONNECTIONS, std::max(perHost, 1L));
        // A store that speaks HTTP/2 carries several pages on each connection.
        curl_multi_setopt(multi.get(), CURLMOPT_PIPELINING, CURLPIPE_MULTIPLEX);
    }
    const auto headers = noCacheHeader();
    std::vector<std::unique_ptr<Transfer>> transfers;
    for (std::size_t i = 0; i < urls.size(); ++i) {
        if (!base::isWebAddress(urls[i])) {
            done(i, FetchPage(urls[i], charset));
            continue;
        }
        // Built with braces and moved in: clang 14 (the fuzz build) cannot make an aggregate from
        // parentheses.
        auto transfer =
            std::make_unique<Transfer>(Transfer{i, base::normaliseUrl(urls[i]), std::string(),
                                                std::unique_ptr<CURL, CurlDeleter>(curl_easy_init())});
        CURL* h = transfer->handle.get();
        if (!multi || !h || !configureGet(h, transfer->address, headers.get(), transfer->body)) {
            done(i, std::nullopt);
            continue;
        }
        curl_easy_setopt(h, CURLOPT_PRIVATE, transfer.get());
        if (curl_multi_add_handle(multi.get(), h) != CURLM_OK) {
            done(i, std::nullopt);
            continue;
        }
        transfers.push_back(std::move(transfer));
    }
    for (int running = static_cast<int>(transfers.size()); running > 0;) {
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK) break;
        int queued = 0;
        while (CURLMsg* message = curl_multi_info_read(multi.get(), &queued)) {
            if (message->msg != CURLMSG_DONE) continue;
            Transfer* transfer = nullptr;
            curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &transfer);
            const bool ok = message->data.result == CURLE_OK;
            curl_multi_remove_handle(multi.get(), message->easy_handle);
            transfer->finished = true;
            done(transfer->index,
                 decodedPage(ok ? std::optional(std::move(transfer->body)) : std::nullopt, charset));
        }
        if (running > 0 && curl_multi_poll(multi.get(), nullptr, 0, 1000, nullptr) != CURLM_OK) break;
    }
    // Only a failure of the multi handle itself leaves transfers unfinished; they count as not fetched.
    for (const auto& transfer : transfers) {
        if (transfer->finished) continue;
        curl_multi_remove_handle(multi.get(), transfer->handle.get());
        done(transfer->index, std::nullopt);
    }
}

std::optional<std::string> FetchBytes(std::string_view url) {
    return fetchBody(url);
}

std::string FetchText(std::string_view url, std::string_view charset) {
    return FetchPage(url, charset).value_or(std::string());
}

void setPendingEventsHook(std::function<void()> hook) {
    pendingEventsHook() = std::move(hook);
}

void setFetchCancelFlag(const std::atomic<bool>* flag) {
    cancelFlag = flag;
}

void setFetchDeadline(std::optional<std::chrono::steady_clock::time_point> deadline) {
    fetchDeadline = deadline;
}

void setFetchStallTimeout(std::chrono::seconds timeout) {
    // Zero would switch curl's limits off altogether.
    stallSeconds = std::max<long>(1, static_cast<long>(timeout.count()));
}
