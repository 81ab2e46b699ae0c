#include "net/http_client.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace vk {
namespace {

thread_local const std::atomic<bool>* tAbandonFlag = nullptr;
// Whether the last request on this thread reached a server that answered.
thread_local bool tLastAnswered = false;

void EnsureCurlReady()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct CurlDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
using CurlHandle = std::unique_ptr<CURL, CurlDeleter>;

CurlHandle NewHandle()
{
    EnsureCurlReady();
    return CurlHandle(curl_easy_init());
}

struct SlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, SlistDeleter>;

HeaderList Headers(std::initializer_list<const char*> lines)
{
    curl_slist* list = nullptr;
    for (const char* line : lines)
        list = curl_slist_append(list, line);
    return HeaderList(list);
}

// Where a reply goes: into memory, or into an open file.  Either way it may
// not grow past its cap.
struct Sink {
    std::string* Body = nullptr;
    std::FILE* File = nullptr;
    std::int64_t Received = 0;
    std::int64_t Cap = TextReplyCap;
    bool TooLarge = false;
};

std::size_t TakeBytes(char* data, std::size_t size, std::size_t count, void* target)
{
    auto* sink = static_cast<Sink*>(target);
    const std::size_t n = size * count;
    if (sink->Received + static_cast<std::int64_t>(n) > sink->Cap) {
        sink->TooLarge = true;
        return 0; // libcurl ends the transfer with a write error
    }
    sink->Received += static_cast<std::int64_t>(n);
    if (sink->File)
        return std::fwrite(data, 1, n, sink->File);
    sink->Body->append(data, n);
    return n;
}

// The watch over a running transfer: a request given up by its window, a
// read that has stalled, the progress of a download.  The read limit is
// the time allowed without a byte moving once the connection stands
// (libcurl's low-speed check averages over seconds and would let a silent
// server hold on for three times as long).
struct Watch {
    CURL* curl;
    long stallMs;
    const std::function<void(std::int64_t, std::int64_t)>* progress = nullptr;
    std::chrono::steady_clock::time_point lastActivity = std::chrono::steady_clock::now();
    curl_off_t lastDown = 0;
    curl_off_t lastUp = 0;
};

int WatchTransfer(void* data, curl_off_t downTotal, curl_off_t down, curl_off_t, curl_off_t up)
{
    if (RequestAbandoned())
        return 1;
    auto* watch = static_cast<Watch*>(data);
    if (watch->progress && *watch->progress && down != watch->lastDown)
        (*watch->progress)(down, downTotal);
    if (watch->stallMs <= 0)
        return 0;
    const auto now = std::chrono::steady_clock::now();
    curl_off_t connectTime = 0;
    curl_easy_getinfo(watch->curl, CURLINFO_CONNECT_TIME_T, &connectTime);
    if (connectTime == 0 || down != watch->lastDown || up != watch->lastUp) {
        watch->lastActivity = now; // still connecting (its own limit), or data moved
        watch->lastDown = down;
        watch->lastUp = up;
        return 0;
    }
    return now - watch->lastActivity > std::chrono::milliseconds(watch->stallMs) ? 1 : 0;
}

// Runs the prepared transfer into the sink; true only for a complete reply
// with a 2xx status.
bool Run(CURL* curl, const std::string& address, const TransportLimits& limits, Sink& sink,
         const std::function<void(std::int64_t, std::int64_t)>* progress = nullptr, bool* answered = nullptr)
{
    tLastAnswered = false;
    if (RequestAbandoned())
        return false;
    curl_easy_setopt(curl, CURLOPT_URL, address.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, TakeBytes);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(sink.Cap));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, limits.ConnectMs);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, limits.RequestMs);
    Watch watch{curl, limits.StallMs, progress};
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, WatchTransfer);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &watch);
    const CURLcode rc = curl_easy_perform(curl);
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    tLastAnswered = status > 0;
    if (answered)
        *answered = status > 0;
    if (rc != CURLE_OK || sink.TooLarge)
        return false;
    return status >= 200 && status < 300;
}

std::optional<std::string> RunToMemory(CURL* curl, const std::string& address, const TransportLimits& limits,
                                       bool* answered = nullptr)
{
    std::string body;
    Sink sink{&body, nullptr, 0, limits.MaxReplyBytes};
    if (!Run(curl, address, limits, sink, nullptr, answered))
        return std::nullopt;
    return body;
}

} // namespace

void SetAbandonFlag(const std::atomic<bool>* flag) { tAbandonFlag = flag; }

bool LastRequestAnswered() { return tLastAnswered; }

bool RequestAbandoned() { return tAbandonFlag && tAbandonFlag->load(); }

// The cookie jar that every request of the shared client reads and fills,
// guarded for requests on several threads, and the client's settings.
struct HttpClient::State {
    CURLSH* share = nullptr;
    std::mutex cookieLock;
    std::mutex dnsLock;
    std::mutex connectLock;

    std::atomic<long> readTimeoutMs{0};
    std::mutex mutex; // the user agent and the limits
    std::string userAgent;
    TransportLimits limits;

    State()
    {
        EnsureCurlReady();
        share = curl_share_init();
        if (!share)
            return;
        curl_share_setopt(share, CURLSHOPT_LOCKFUNC, Lock);
        curl_share_setopt(share, CURLSHOPT_UNLOCKFUNC, Unlock);
        curl_share_setopt(share, CURLSHOPT_USERDATA, this);
        curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
        curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
    }
    ~State()
    {
        if (share)
            curl_share_cleanup(share);
    }
    std::mutex& LockFor(curl_lock_data data)
    {
        if (data == CURL_LOCK_DATA_COOKIE)
            return cookieLock;
        if (data == CURL_LOCK_DATA_DNS)
            return dnsLock;
        return connectLock;
    }
    static void Lock(CURL*, curl_lock_data data, curl_lock_access, void* self)
    {
        static_cast<State*>(self)->LockFor(data).lock();
    }
    static void Unlock(CURL*, curl_lock_data data, void* self) { static_cast<State*>(self)->LockFor(data).unlock(); }

    // A handle of this client: the shared jar, cookies on.
    CurlHandle Handle() const
    {
        CurlHandle curl = NewHandle();
        if (curl && share) {
            curl_easy_setopt(curl.get(), CURLOPT_SHARE, share);
            curl_easy_setopt(curl.get(), CURLOPT_COOKIEFILE, ""); // cookies kept in memory for the run
        }
        return curl;
    }
};

HttpClient::HttpClient() : state_(std::make_shared<State>()) {}

void HttpClient::SetUserAgent(std::string userAgent)
{
    std::lock_guard lock(state_->mutex);
    state_->userAgent = std::move(userAgent);
}

void HttpClient::SetReadTimeout(long ms) { state_->readTimeoutMs = ms; }

long HttpClient::ReadTimeout() const { return state_->readTimeoutMs; }

void HttpClient::SetLimits(TransportLimits limits)
{
    std::lock_guard lock(state_->mutex);
    state_->limits = limits;
}

std::optional<std::string> HttpClient::PostForm(const std::string& address, std::string_view body, bool* answered)
{
    if (answered)
        *answered = false;
    CurlHandle curl = state_->Handle();
    if (!curl)
        return std::nullopt;
    curl_easy_setopt(curl.get(), CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(curl.get(), CURLOPT_COPYPOSTFIELDS, std::string(body).c_str());
    return Perform(address, curl.get(), true, nullptr, answered);
}

std::optional<std::string> HttpClient::PostFile(const std::string& address, const std::string& fieldName,
                                                const std::string& fileName, const std::string& contentType,
                                                std::string_view data)
{
    CurlHandle curl = state_->Handle();
    if (!curl)
        return std::nullopt;
    curl_mime* mime = curl_mime_init(curl.get());
    curl_mimepart* part = curl_mime_addpart(mime);
    curl_mime_name(part, fieldName.c_str());
    curl_mime_filename(part, fileName.c_str());
    curl_mime_type(part, contentType.c_str());
    curl_mime_data(part, data.data(), data.size());
    curl_easy_setopt(curl.get(), CURLOPT_MIMEPOST, mime);
    auto reply = Perform(address, curl.get(), false, &UploadLimits);
    curl_mime_free(mime);
    return reply;
}

std::optional<std::string> HttpClient::Perform(const std::string& address, void* handle, bool formBody,
                                               const TransportLimits* limits, bool* answered)
{
    auto* curl = static_cast<CURL*>(handle);
    std::string userAgent;
    TransportLimits used;
    {
        std::lock_guard lock(state_->mutex);
        userAgent = state_->userAgent;
        used = limits ? *limits : state_->limits;
    }
    used.StallMs = state_->readTimeoutMs.load();
    // "Expect:" keeps libcurl from waiting for a 100 reply before larger bodies.
    const HeaderList headers =
        formBody ? Headers({"Accept: text/html, */*", "Content-Type: application/x-www-form-urlencoded", "Expect:"})
                 : Headers({"Accept: text/html, */*", "Expect:"});
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.get());
    if (!userAgent.empty())
        curl_easy_setopt(curl, CURLOPT_USERAGENT, userAgent.c_str());
    return RunToMemory(curl, address, used, answered);
}

void HttpClient::ClearCookies()
{
    if (CurlHandle curl = state_->Handle())
        curl_easy_setopt(curl.get(), CURLOPT_COOKIELIST, "ALL");
}

HttpClient HttpClient::TakeCookies()
{
    HttpClient taker;
    {
        std::lock_guard lock(state_->mutex);
        taker.state_->userAgent = state_->userAgent;
        taker.state_->limits = state_->limits;
    }
    taker.state_->readTimeoutMs = state_->readTimeoutMs.load();
    CurlHandle from = state_->Handle();
    CurlHandle to = taker.state_->Handle();
    if (!from || !to)
        return taker;
    curl_slist* cookies = nullptr;
    if (curl_easy_getinfo(from.get(), CURLINFO_COOKIELIST, &cookies) == CURLE_OK) {
        for (curl_slist* line = cookies; line; line = line->next)
            curl_easy_setopt(to.get(), CURLOPT_COOKIELIST, line->data);
        curl_slist_free_all(cookies);
    }
    curl_easy_setopt(from.get(), CURLOPT_COOKIELIST, "ALL");
    return taker;
}

std::optional<std::string> HttpGet(const std::string& address, TransportLimits limits, bool* answered)
{
    if (answered)
        *answered = false;
    CurlHandle curl = NewHandle();
    if (!curl)
        return std::nullopt;
    curl_easy_setopt(curl.get(), CURLOPT_HTTPGET, 1L);
    return RunToMemory(curl.get(), address, limits, answered);
}

bool HttpDownload(const std::string& address, const std::string& path, TransportLimits limits,
                  const std::function<void(std::int64_t, std::int64_t)>& progress)
{
    namespace fs = std::filesystem;
    CurlHandle curl = NewHandle();
    if (!curl)
        return false;
    // The part file lies beside the target, so the rename cannot cross
    // file systems.
    std::string partPath = path + ".XXXXXX";
    const int fd = ::mkstemp(partPath.data());
    if (fd < 0)
        return false;
    ::fchmod(fd, 0644);
    std::FILE* file = ::fdopen(fd, "wb");
    if (!file) {
        ::close(fd);
        ::unlink(partPath.c_str());
        return false;
    }
    curl_easy_setopt(curl.get(), CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_MAXREDIRS, 5L);
    Sink sink{nullptr, file, 0, limits.MaxReplyBytes};
    bool ok = Run(curl.get(), address, limits, sink, &progress) && sink.Received > 0;
    ok = std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    std::error_code ec;
    if (ok)
        fs::rename(partPath, path, ec);
    if (!ok || ec) {
        ::unlink(partPath.c_str());
        return false;
    }
    return true;
}

} // namespace vk
