#include "club/http_client.h"

#include <curl/curl.h>

#include <chrono>
#include <memory>
#include <mutex>

namespace vk {
namespace {

void EnsureCurlReady()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::size_t AppendBody(char* data, std::size_t size, std::size_t count, void* target)
{
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
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

// The read limit: the time allowed without a byte moving once the
// connection stands (libcurl's low-speed check averages over seconds and
// would let a silent server hold on for three times as long).
struct ReadWatch {
    CURL* curl;
    long limitMs;
    std::chrono::steady_clock::time_point lastActivity = std::chrono::steady_clock::now();
    curl_off_t lastDown = 0;
    curl_off_t lastUp = 0;
};

int WatchReads(void* data, curl_off_t, curl_off_t down, curl_off_t, curl_off_t up)
{
    auto* watch = static_cast<ReadWatch*>(data);
    const auto now = std::chrono::steady_clock::now();
    curl_off_t connectTime = 0;
    curl_easy_getinfo(watch->curl, CURLINFO_CONNECT_TIME_T, &connectTime);
    if (connectTime == 0 || down != watch->lastDown || up != watch->lastUp) {
        watch->lastActivity = now; // still connecting (its own limit), or data moved
        watch->lastDown = down;
        watch->lastUp = up;
        return 0;
    }
    return now - watch->lastActivity > std::chrono::milliseconds(watch->limitMs) ? 1 : 0;
}

// Runs the prepared transfer; a reply counts only with a 2xx status.
std::optional<std::string> Run(CURL* curl, const std::string& address, const TransportLimits& limits,
                               long readTimeoutMs)
{
    std::string body;
    curl_easy_setopt(curl, CURLOPT_URL, address.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, AppendBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, limits.ConnectMs);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, limits.RequestMs);
    ReadWatch watch{curl, readTimeoutMs};
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, readTimeoutMs > 0 ? 0L : 1L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, WatchReads);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &watch);
    const CURLcode rc = curl_easy_perform(curl);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 1L);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, nullptr);
    if (rc != CURLE_OK)
        return std::nullopt;
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status >= 300)
        return std::nullopt;
    return body;
}

} // namespace

HttpClient::HttpClient()
{
    EnsureCurlReady();
    CURL* curl = curl_easy_init();
    handle_ = curl;
    if (curl)
        curl_easy_setopt(curl, CURLOPT_COOKIEFILE, ""); // cookies kept in memory for the run
}

HttpClient::~HttpClient()
{
    if (handle_)
        curl_easy_cleanup(static_cast<CURL*>(handle_));
}

std::optional<std::string> HttpClient::PostForm(const std::string& address, std::string_view body)
{
    CURL* curl = static_cast<CURL*>(handle_);
    if (!curl)
        return std::nullopt;
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(curl, CURLOPT_COPYPOSTFIELDS, std::string(body).c_str());
    return Perform(address, true);
}

std::optional<std::string> HttpClient::PostFile(const std::string& address, const std::string& fieldName,
                                                const std::string& fileName, const std::string& contentType,
                                                std::string_view data)
{
    CURL* curl = static_cast<CURL*>(handle_);
    if (!curl)
        return std::nullopt;
    curl_mime* mime = curl_mime_init(curl);
    curl_mimepart* part = curl_mime_addpart(mime);
    curl_mime_name(part, fieldName.c_str());
    curl_mime_filename(part, fileName.c_str());
    curl_mime_type(part, contentType.c_str());
    curl_mime_data(part, data.data(), data.size());
    curl_easy_setopt(curl, CURLOPT_MIMEPOST, mime);
    auto reply = Perform(address, false);
    curl_easy_setopt(curl, CURLOPT_MIMEPOST, nullptr);
    curl_mime_free(mime);
    return reply;
}

std::optional<std::string> HttpClient::Perform(const std::string& address, bool formBody)
{
    CURL* curl = static_cast<CURL*>(handle_);
    // "Expect:" keeps libcurl from waiting for a 100 reply before larger bodies.
    const HeaderList headers = formBody
        ? Headers({"Accept: text/html, */*", "Content-Type: application/x-www-form-urlencoded", "Expect:"})
        : Headers({"Accept: text/html, */*", "Expect:"});
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(curl, CURLOPT_USERAGENT, userAgent_.empty() ? nullptr : userAgent_.c_str());
    auto reply = Run(curl, address, limits_, readTimeoutMs_);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, nullptr);
    return reply;
}

void HttpClient::ClearCookies()
{
    if (handle_)
        curl_easy_setopt(static_cast<CURL*>(handle_), CURLOPT_COOKIELIST, "ALL");
}

std::optional<std::string> HttpGet(const std::string& address, TransportLimits limits)
{
    EnsureCurlReady();
    std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl)
        return std::nullopt;
    curl_easy_setopt(curl.get(), CURLOPT_HTTPGET, 1L);
    return Run(curl.get(), address, limits, 0);
}

} // namespace vk
