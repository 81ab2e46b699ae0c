#pragma once
// The club's HTTP transport on libcurl.  HttpClient is the shared client of
// the account, photo upload, world top ten and statistics requests: one
// handle for the whole run, so the server's session cookie travels with
// every later request.  HttpGet is the "client of its own" of the remote
// configuration, news and photo reads: a fresh handle, default headers, no
// cookies.  Every request fails within finite limits; none throws.
#include <optional>
#include <string>
#include <string_view>

namespace vk {

struct TransportLimits {
    long ConnectMs = 5000;
    long RequestMs = 15000; // the whole request, connect included
};

class HttpClient {
public:
    HttpClient();
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    void SetUserAgent(std::string userAgent) { userAgent_ = std::move(userAgent); }
    // A limit on waiting for data.  The world top ten and statistics reads
    // set 3000 ms; once set it stays for every later request.
    void SetReadTimeout(long ms) { readTimeoutMs_ = ms; }
    long ReadTimeout() const { return readTimeoutMs_; }
    void SetLimits(TransportLimits limits) { limits_ = limits; }

    // POST of a form body (content type application/x-www-form-urlencoded).
    // The reply body, or nothing on any transport failure or error status.
    std::optional<std::string> PostForm(const std::string& address, std::string_view body);

    // POST of one file as multipart form data.
    std::optional<std::string> PostFile(const std::string& address, const std::string& fieldName,
                                        const std::string& fileName, const std::string& contentType,
                                        std::string_view data);

    // Forgets every cookie (sign-out on a shared desktop).
    void ClearCookies();

private:
    std::optional<std::string> Perform(const std::string& address, bool formBody);

    void* handle_ = nullptr; // CURL*
    std::string userAgent_;
    long readTimeoutMs_ = 0;
    TransportLimits limits_;
};

// GET with a client of its own.  The reply body, or nothing on failure.
std::optional<std::string> HttpGet(const std::string& address, TransportLimits limits = {});

} // namespace vk
