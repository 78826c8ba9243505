#pragma once
// The one way every store page, app page and paging file is read: a GET over HTTP(S), or a read
// from disk for a local path or file:// address, decoded from a named character set to UTF-8.
//
// Rules of a fetch:
// - Request header "If-Modified-Since: 0" so that no cache answers; redirects are followed (up to
//   10, http and https only); no credentials are sent; the status code is not examined, so the body
//   of an error page (404) is returned like any other page.
// - http:// and https:// addresses are normalised as a browser does (base::normaliseUrl) before sending.
// - Anything that goes wrong (no connection, refused, time-out, unreadable file) gives an empty text.
// - A transfer that receives nothing for 30 seconds (or cannot connect within 30 seconds) is given up
//   and gives an empty text, so a stalled store never hangs the caller. A caller that must answer
//   sooner sets a deadline for the fetches of its thread.
// - Bodies larger than kMaxBodyBytes are refused whole (empty text): store pages are a few hundred
//   kilobytes, and a half page would only be cut wrongly.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

inline constexpr std::size_t kMaxBodyBytes = 16 * 1024 * 1024;

// Fetches url (absolute http(s) address, file:// address or local path) and decodes the body with
// DecodeBody. Never throws; empty when nothing could be fetched.
std::string FetchText(std::string_view url, std::string_view charset);

// FetchText for a caller that must tell a page that could not be fetched at all (no connection,
// refused, time-out, cancelled, unreadable or oversized file: nothing) from one that came back
// empty or as an error page (its text).
std::optional<std::string> FetchPage(std::string_view url, std::string_view charset);

// Fetches every address of urls (as FetchPage does, one charset for all) and calls done with the
// index of the address and what FetchPage would have given, on the calling thread, as each ends.
// Web addresses are fetched at once over reused connections, at most perHost open to one host at
// a time (over HTTP/2 a connection carries several at once); the others wait for a free
// connection. Returns when every address has had its call.
void FetchPages(std::span<const std::string> urls, std::string_view charset, long perHost,
                const std::function<void(std::size_t, std::optional<std::string>)>& done);

// The body of url as it came, undecoded (pictures); nothing when it could not be fetched. The same
// rules as FetchText otherwise, except that the pending-events hook is not run: it is for worker
// threads.
std::optional<std::string> FetchBytes(std::string_view url);

// Decodes body from the named character set (as iconv names it, e.g. "utf-8", "gbk") to UTF-8.
// Invalid or truncated byte sequences become U+FFFD each, so one bad byte never costs the page; a
// leading byte-order mark is removed. An unknown character set gives an empty text.
std::string DecodeBody(std::string_view body, std::string_view charset);

// A function run once at the start of every FetchText and DecodeBody call, so that a user
// interface can process its pending events during a long fetch. Empty by default; FetchText may be
// called from several threads at once as long as no hook is set.
void setPendingEventsHook(std::function<void()> hook);

// Fetches made afterwards on the calling thread give up (empty text) within about a second once
// *flag is true, so a program can end without waiting for a slow store. Null clears it. The flag
// must outlive those fetches.
void setFetchCancelFlag(const std::atomic<bool>* flag);

// Fetches made afterwards on the calling thread are given up (nothing fetched) at deadline, however
// far they got; none clears it. Lets a caller that shows the user an answer within a few seconds
// tell a store that accepts connections but never answers from a slow one.
void setFetchDeadline(std::optional<std::chrono::steady_clock::time_point> deadline);

// How long a transfer may receive nothing before it is given up (30 seconds). Tests shorten it;
// nothing else changes it.
void setFetchStallTimeout(std::chrono::seconds timeout);
