#pragma once
// The club's HTTP transport on libcurl.  HttpClient is the shared client of
// the account, photo upload, world top ten and statistics requests: the
// server's session cookie travels with every later request of the run.
// HttpGet is the "client of its own" of the remote configuration, news and
// photo reads: default headers, no cookies.  Every request fails within
// finite limits; none throws.
//
// Requests run on worker threads (ui/kit/request_runner.h).  Each request
// takes an easy handle of its own; the cookies of the shared client are one
// jar guarded by a lock, so requests may run side by side.  Only http and
// https are spoken, redirects included, and no reply may grow past its cap.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace vk {

inline constexpr std::int64_t TextReplyCap = 1024 * 1024; // pages, forms, records
inline constexpr std::int64_t PhotoReplyCap = 512 * 1024; // member photos, pictures

struct TransportLimits {
    long ConnectMs = 5000;
    long RequestMs = 8000; // the whole request, connect included; 0: no limit
    long StallMs = 0;      // fails once no byte has moved for this long; 0: none
    std::int64_t MaxReplyBytes = TextReplyCap;
};

// A photo upload carries up to a few hundred KiB to a person's connection.
inline constexpr TransportLimits UploadLimits{5000, 30000, 0, TextReplyCap};

// Whether the request running on this thread has been given up by the one
// who asked (its window closed, the program ending).  The transport polls
// the flag the request runner sets for the thread and stops the transfer.
void SetAbandonFlag(const std::atomic<bool>* flag);
bool RequestAbandoned();

// Whether the last request made on this thread reached a server that
// answered, with any status: a sequence of requests stops at the first one
// that did not (no server, or one that never answers), so a dead server
// costs one time limit, not one for each request.
bool LastRequestAnswered();

// Copies of a client share its cookie jar and its settings: a request on a
// worker thread takes a copy, so the jar lives as long as any request on it.
class HttpClient {
public:
    HttpClient();

    void SetUserAgent(std::string userAgent);
    // A limit on waiting for data.  The world top ten and statistics reads
    // set 3000 ms; once set it stays for every later request.
    void SetReadTimeout(long ms);
    long ReadTimeout() const;
    void SetLimits(TransportLimits limits);

    // POST of a form body (content type application/x-www-form-urlencoded).
    // The reply body, or nothing on any transport failure or error status;
    // `answered` (when given) tells an error status from a server that could
    // not be reached at all.
    std::optional<std::string> PostForm(const std::string& address, std::string_view body, bool* answered = nullptr);

    // POST of one file as multipart form data, within UploadLimits.
    std::optional<std::string> PostFile(const std::string& address, const std::string& fieldName,
                                        const std::string& fileName, const std::string& contentType,
                                        std::string_view data);

    // Forgets every cookie (sign-out on a shared desktop).
    void ClearCookies();
    // A new client (same user agent and limits) that takes over every cookie
    // of this one, which forgets them: a sign-out sends its last request with
    // the session while a login here already starts clean.
    HttpClient TakeCookies();

private:
    struct State;
    std::optional<std::string> Perform(const std::string& address, void* curl, bool formBody,
                                       const TransportLimits* limits = nullptr, bool* answered = nullptr);

    std::shared_ptr<State> state_;
};

// GET with a client of its own.  The reply body, or nothing on failure;
// `answered` (when given) tells a server that answered with an error or
// too much from one that could not be reached at all.
std::optional<std::string> HttpGet(const std::string& address, TransportLimits limits = {}, bool* answered = nullptr);

// GET streamed into a file: written beside `path` and renamed over it only
// once the whole reply has come, so a failed download leaves nothing behind.
// `progress` (may be empty) hears bytes received and the total (0 while
// unknown); it runs on the requesting thread.
bool HttpDownload(const std::string& address, const std::string& path, TransportLimits limits,
                  const std::function<void(std::int64_t received, std::int64_t total)>& progress = {});

} // namespace vk
