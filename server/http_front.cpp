#include "server/http_front.h"

#include <httplib.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "server/client_address.h"
#include "server/request_head.h"

namespace vks {
namespace {

using Clock = std::chrono::steady_clock;

const char* const kFormPaths[] = {"/club/account", "/wtt", "/stat"};
constexpr const char* kUploadPath = "/club/photo-upload";

bool IsFormPath(const std::string& path)
{
    for (const char* p : kFormPaths)
        if (path == p)
            return true;
    return false;
}

bool IsPostPath(const std::string& path) { return IsFormPath(path) || path == kUploadPath; }

bool IsGetPath(const std::string& path)
{
    return path == "/config.txt" || path == "/news.txt" || path.starts_with("/club/photos/")
           || path.starts_with("/help/") || path == "/help" || path.starts_with("/adv/");
}

std::string MediaType(const httplib::Request& req)
{
    std::string type = req.get_header_value("Content-Type");
    type = type.substr(0, type.find(';'));
    while (!type.empty() && type.back() == ' ')
        type.pop_back();
    for (char& c : type)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return type;
}

// Exactly one session cookie in exactly one Cookie header; anything else is
// no session at all.
std::optional<std::string> SessionToken(const httplib::Request& req)
{
    if (req.get_header_value_count("Cookie") != 1)
        return std::nullopt;
    const std::string header = req.get_header_value("Cookie");
    std::optional<std::string> token;
    std::size_t pos = 0;
    while (pos <= header.size()) {
        auto end = header.find(';', pos);
        if (end == std::string::npos)
            end = header.size();
        std::string pair = header.substr(pos, end - pos);
        const auto first = pair.find_first_not_of(' ');
        pair = first == std::string::npos ? "" : pair.substr(first);
        const std::string prefix = std::string(SessionCookie) + "=";
        if (pair.starts_with(prefix)) {
            if (token)
                return std::nullopt;
            token = pair.substr(prefix.size());
            while (!token->empty() && token->back() == ' ')
                token->pop_back();
        }
        pos = end + 1;
    }
    if (token && (token->empty() || token->size() > 128))
        return std::nullopt;
    return token;
}

// The head was checked: a Content-Length, if any, is one run of digits.
std::uint64_t BodyLength(const httplib::Request& req)
{
    const std::string text = req.get_header_value("Content-Length");
    std::uint64_t n = 0;
    for (const char c : text)
        if (c >= '0' && c <= '9')
            n = n * 10 + static_cast<std::uint64_t>(c - '0');
    return n;
}

void Send(httplib::Response& res, const Reply& reply)
{
    res.status = reply.status;
    res.set_content(reply.body, reply.contentType.c_str());
    if (reply.setCookie)
        res.set_header("Set-Cookie", *reply.setCookie);
}

const char* Reason(int status)
{
    switch (status) {
    case 400: return "Bad Request";
    case 408: return "Request Timeout";
    case 411: return "Length Required";
    case 413: return "Payload Too Large";
    case 414: return "URI Too Long";
    case 415: return "Unsupported Media Type";
    case 431: return "Request Header Fields Too Large";
    case 503: return "Service Unavailable";
    default: return "Error";
    }
}

bool WaitFor(int sock, short events, Clock::time_point deadline)
{
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return false;
        pollfd p{sock, events, 0};
        const int rc = ::poll(&p, 1, static_cast<int>(std::min<long long>(left, 1000)));
        if (rc > 0)
            return true;
        if (rc < 0 && errno != EINTR)
            return false;
    }
}

// A refusal written straight to the socket; the connection then closes.
void WriteRefusal(int sock, int status)
{
    const std::string reply = "HTTP/1.1 " + std::to_string(status) + " " + Reason(status)
                              + "\r\nContent-Type: " + Cp1251Text
                              + "\r\nContent-Length: 2\r\nCache-Control: no-store\r\nConnection: close\r\n\r\nno";
    ::send(sock, reply.data(), reply.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
}

// Closes after a reply while the client may still be sending: reading what
// it sends for a moment lets the reply arrive instead of being wiped by a
// reset.
void LingerAndClose(int sock)
{
    ::shutdown(sock, SHUT_WR);
    const auto until = Clock::now() + std::chrono::milliseconds(500);
    char scrap[4096];
    std::size_t drained = 0;
    while (drained < 512 * 1024 && WaitFor(sock, POLLIN, until)) {
        const auto n = ::recv(sock, scrap, sizeof scrap, 0);
        if (n <= 0)
            break;
        drained += static_cast<std::size_t>(n);
    }
    ::close(sock);
}

std::string PeerAddress(int sock)
{
    sockaddr_storage addr{};
    socklen_t len = sizeof addr;
    if (::getpeername(sock, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
        return {};
    char text[INET6_ADDRSTRLEN] = {};
    if (addr.ss_family == AF_INET)
        inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in&>(addr).sin_addr, text, sizeof text);
    else if (addr.ss_family == AF_INET6)
        inet_ntop(AF_INET6, &reinterpret_cast<sockaddr_in6&>(addr).sin6_addr, text, sizeof text);
    return CanonicalAddress(text);
}

void SocketAddress(int sock, bool peer, std::string& ip, int& port)
{
    sockaddr_storage addr{};
    socklen_t len = sizeof addr;
    const int rc = peer ? ::getpeername(sock, reinterpret_cast<sockaddr*>(&addr), &len)
                        : ::getsockname(sock, reinterpret_cast<sockaddr*>(&addr), &len);
    if (rc != 0)
        return;
    char text[INET6_ADDRSTRLEN] = {};
    if (addr.ss_family == AF_INET) {
        const auto& a = reinterpret_cast<sockaddr_in&>(addr);
        inet_ntop(AF_INET, &a.sin_addr, text, sizeof text);
        port = ntohs(a.sin_port);
    } else if (addr.ss_family == AF_INET6) {
        const auto& a = reinterpret_cast<sockaddr_in6&>(addr);
        inet_ntop(AF_INET6, &a.sin6_addr, text, sizeof text);
        port = ntohs(a.sin6_port);
    }
    ip = CanonicalAddress(text);
}

// One connection's bytes: the checked head of each request is read into a
// buffer first; the library then reads the head from the buffer and the body
// from the socket, never more than the head announced, and never after the
// request's deadline.
class ConnectionStream final : public httplib::Stream {
public:
    ConnectionStream(int sock, std::chrono::seconds readTimeout, std::chrono::seconds writeTimeout)
        : sock_(sock), readTimeout_(readTimeout), writeTimeout_(writeTimeout)
    {
    }

    std::string_view Pending() const { return std::string_view(buffer_).substr(offset_); }

    // Reads what has arrived, waiting until the deadline at most; false when
    // the client closed, failed or ran out of time.
    bool Fill(Clock::time_point deadline)
    {
        if (!WaitFor(sock_, POLLIN, deadline))
            return false;
        char chunk[4096];
        const auto n = ::recv(sock_, chunk, sizeof chunk, 0);
        if (n <= 0)
            return false;
        buffer_.append(chunk, static_cast<std::size_t>(n));
        return true;
    }

    bool WaitForRequest(Clock::time_point deadline) { return !Pending().empty() || WaitFor(sock_, POLLIN, deadline); }

    void BeginRequest(std::size_t length, Clock::time_point deadline)
    {
        buffer_.erase(0, offset_);
        offset_ = 0;
        remaining_ = length;
        deadline_ = deadline;
    }
    bool RequestDone() const { return remaining_ == 0; }

    bool is_readable() const override
    {
        return remaining_ > 0 && (!Pending().empty() || WaitFor(sock_, POLLIN, ReadDeadline()));
    }
    bool is_writable() const override { return WaitFor(sock_, POLLOUT, Clock::now() + writeTimeout_); }

    ssize_t read(char* ptr, size_t size) override
    {
        const std::size_t want = std::min(size, remaining_);
        if (want == 0)
            return 0;
        const std::string_view pending = Pending();
        if (!pending.empty()) {
            const std::size_t n = std::min(want, pending.size());
            std::copy_n(pending.data(), n, ptr);
            offset_ += n;
            remaining_ -= n;
            return static_cast<ssize_t>(n);
        }
        if (!WaitFor(sock_, POLLIN, ReadDeadline()))
            return -1;
        const auto n = ::recv(sock_, ptr, want, 0);
        if (n > 0)
            remaining_ -= static_cast<std::size_t>(n);
        return n;
    }

    ssize_t write(const char* ptr, size_t size) override
    {
        if (!is_writable())
            return -1;
        return ::send(sock_, ptr, size, MSG_NOSIGNAL);
    }

    void get_remote_ip_and_port(std::string& ip, int& port) const override { SocketAddress(sock_, true, ip, port); }
    void get_local_ip_and_port(std::string& ip, int& port) const override { SocketAddress(sock_, false, ip, port); }
    socket_t socket() const override { return sock_; }

private:
    Clock::time_point ReadDeadline() const { return std::min(deadline_, Clock::now() + readTimeout_); }

    int sock_;
    std::chrono::seconds readTimeout_, writeTimeout_;
    std::string buffer_;
    std::size_t offset_ = 0;
    std::size_t remaining_ = 0;
    Clock::time_point deadline_{};
};

// Threads for the connections, and a bounded number of connections waiting
// for one.
class WorkerPool {
public:
    WorkerPool(int threads, std::size_t waiting) : threads_(threads), waiting_(waiting) {}
    ~WorkerPool() { Stop(); }

    void Start()
    {
        std::lock_guard lock(mutex_);
        stopping_ = false;
        while (static_cast<int>(workers_.size()) < threads_)
            workers_.emplace_back([this] { Work(); });
    }

    // False when the queue is full.
    bool Submit(std::function<void()> job)
    {
        {
            std::lock_guard lock(mutex_);
            if (stopping_ || jobs_.size() >= waiting_ + static_cast<std::size_t>(threads_ - busy_))
                return false;
            jobs_.push_back(std::move(job));
        }
        cv_.notify_one();
        return true;
    }

    // Serves what is queued, then ends the threads.
    void Stop()
    {
        std::vector<std::thread> workers;
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
            workers.swap(workers_);
        }
        cv_.notify_all();
        for (auto& w : workers)
            w.join();
    }

private:
    void Work()
    {
        for (;;) {
            std::function<void()> job;
            {
                std::unique_lock lock(mutex_);
                cv_.wait(lock, [&] { return stopping_ || !jobs_.empty(); });
                if (jobs_.empty())
                    return;
                job = std::move(jobs_.front());
                jobs_.pop_front();
                ++busy_;
            }
            job();
            std::lock_guard lock(mutex_);
            --busy_;
        }
    }

    const int threads_;
    const std::size_t waiting_;
    std::mutex mutex_;
    std::condition_variable cv_;
    std::deque<std::function<void()>> jobs_;
    std::vector<std::thread> workers_;
    int busy_ = 0;
    bool stopping_ = false;
};

// The library's accepting thread hands each connection here: it is admitted
// (or refused) at once on that thread and served on the pool.
class AcceptingQueue final : public httplib::TaskQueue {
public:
    explicit AcceptingQueue(WorkerPool& pool) : pool_(pool) { pool_.Start(); }
    void enqueue(std::function<void()> fn) override { fn(); }
    void shutdown() override { pool_.Stop(); }

private:
    WorkerPool& pool_;
};

class GuardedServer final : public httplib::Server {
public:
    explicit GuardedServer(const ServerConfig& config)
        : limits_(config.limits), trusted_(config.trustedProxies), logRequests_(config.logRequests),
          pool_(limits_.threads,
                static_cast<std::size_t>(limits_.waitingConnections > 0 ? limits_.waitingConnections : limits_.threads))
    {
        head_.maxBody = std::max(limits_.maxUploadRequest, limits_.maxFormBody);
        new_task_queue = [this] { return new AcceptingQueue(pool_); };
    }

private:
    bool process_and_close_socket(socket_t sock) override
    {
        const std::string peer = PeerAddress(sock);
        // Behind a proxy every connection comes from the proxy: the cap is
        // for clients that reach the server themselves.
        const bool proxy = std::any_of(trusted_.begin(), trusted_.end(),
                                       [&](const std::string& t) { return CanonicalAddress(t) == peer; });
        const std::string key = proxy ? std::string() : LimitKey(peer);
        if (!Enter(key)) {
            Refuse(sock, peer, 503, "connections per address");
            return true;
        }
        if (!pool_.Submit([this, sock, key, proxy] {
                Serve(sock, proxy ? limits_.proxyKeepAliveRequests : limits_.keepAliveRequests);
                Leave(key);
            })) {
            Leave(key);
            Refuse(sock, peer, 503, "every thread busy");
        }
        return true;
    }

    void Refuse(int sock, const std::string& peer, int status, const char* why)
    {
        char scrap[4096];
        ::recv(sock, scrap, sizeof scrap, MSG_DONTWAIT);
        WriteRefusal(sock, status);
        ::shutdown(sock, SHUT_RDWR);
        ::close(sock);
        if (logRequests_)
            std::fprintf(stderr, "%s - %d (%s)\n", peer.c_str(), status, why);
    }

    bool Enter(const std::string& key)
    {
        if (key.empty())
            return true;
        std::lock_guard lock(openMutex_);
        int& n = open_[key];
        if (n >= limits_.connectionsPerAddress) {
            if (n == 0)
                open_.erase(key);
            return false;
        }
        ++n;
        return true;
    }

    void Leave(const std::string& key)
    {
        if (key.empty())
            return;
        std::lock_guard lock(openMutex_);
        if (--open_[key] <= 0)
            open_.erase(key);
    }

    void Serve(int sock, int keepAliveRequests)
    {
        ConnectionStream strm(sock, std::chrono::seconds(limits_.readTimeoutS), std::chrono::seconds(5));
        const auto headTime = std::chrono::seconds(limits_.headTimeoutS);
        bool clean = true;
        for (int served = 0; served < keepAliveRequests && is_running(); ++served) {
            const auto wait = served == 0 ? headTime : std::chrono::seconds(limits_.keepAliveS);
            if (!strm.WaitForRequest(Clock::now() + wait))
                break;
            // The whole head within its deadline, however slowly it comes.
            const auto headDeadline = Clock::now() + headTime;
            HeadScanner scanner(head_);
            auto state = scanner.Scan(strm.Pending());
            while (state == HeadScanner::State::More) {
                if (!strm.Fill(headDeadline))
                    break;
                state = scanner.Scan(strm.Pending());
            }
            if (state == HeadScanner::State::More) {
                clean = false;
                break;
            }
            HeadVerdict verdict;
            verdict.status = state == HeadScanner::State::Refused ? scanner.Status() : 0;
            if (verdict.status == 0)
                verdict = CheckRequestHead(strm.Pending().substr(0, scanner.HeadLength()), head_);
            if (verdict.status != 0) {
                WriteRefusal(sock, verdict.status);
                if (logRequests_)
                    std::fprintf(stderr, "%s - %d (request head)\n", PeerAddress(sock).c_str(), verdict.status);
                clean = false;
                break;
            }
            strm.BeginRequest(scanner.HeadLength() + verdict.bodyLength,
                              Clock::now() + std::chrono::seconds(limits_.bodyTimeoutS));
            bool closed = false;
            const bool last = served + 1 == keepAliveRequests;
            const bool ok = process_request(strm, last, closed, nullptr);
            // A body left unread (a request refused before its body) ends the
            // connection: its bytes must never be taken for the next request.
            if (!strm.RequestDone())
                clean = false;
            if (!ok || closed || !clean)
                break;
        }
        if (clean) {
            ::shutdown(sock, SHUT_RDWR);
            ::close(sock);
        } else {
            LingerAndClose(sock);
        }
    }

    const Limits limits_;
    const std::vector<std::string> trusted_;
    const bool logRequests_;
    HeadLimits head_;
    WorkerPool pool_;
    std::mutex openMutex_;
    std::unordered_map<std::string, int> open_;
};

} // namespace

std::string LogSafe(const std::string& text)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || c == '\\') {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        } else {
            out += ch;
        }
    }
    return out;
}

HttpFrontEnd::HttpFrontEnd(ClubService& service)
    : service_(service), server_(std::make_unique<GuardedServer>(service.Config()))
{
    auto& svr = *server_;
    const auto& config = service_.Config();
    const auto& l = config.limits;
    // Replies go out as headers and body; without this, Nagle's algorithm
    // holds the body back for the client's delayed acknowledgement (~40 ms)
    // on every kept-alive connection.
    svr.set_tcp_nodelay(true);
    svr.set_keep_alive_timeout(l.keepAliveS);
    svr.set_keep_alive_max_count(static_cast<std::size_t>(l.keepAliveRequests));
    svr.set_read_timeout(l.readTimeoutS, 0);
    svr.set_write_timeout(5, 0);
    svr.set_payload_max_length(l.maxUploadRequest);
    svr.set_default_headers({{"Cache-Control", "no-store"}});

    const std::vector<std::string> proxies = config.trustedProxies;
    auto caller = [proxies](const httplib::Request& req) {
        std::vector<std::string> forwarded;
        const auto lines = req.get_header_value_count("X-Forwarded-For");
        for (std::size_t i = 0; i < lines; ++i)
            forwarded.push_back(req.get_header_value("X-Forwarded-For", i));
        if (proxies.empty() && !forwarded.empty()) {
            static std::atomic_flag warned = ATOMIC_FLAG_INIT;
            if (!warned.test_and_set())
                std::fprintf(stderr,
                             "vokabron-server: a request from %s carries X-Forwarded-For, but no trusted_proxies "
                             "are set: every client behind that proxy shares its limits\n",
                             LogSafe(req.remote_addr).c_str());
        }
        Caller c;
        c.address = LimitKey(ClientAddress(req.remote_addr, forwarded, proxies));
        c.session = SessionToken(req);
        return c;
    };

    // Wrong methods, content types and sizes are answered before any body is
    // read; the connection then closes, so an unread body is never taken for
    // the next request.
    const std::size_t maxForm = l.maxFormBody;
    svr.set_pre_routing_handler([maxForm, delay = l.replyDelayMs](const httplib::Request& req, httplib::Response& res) {
        // A slow server for the tests of the game's patience.
        if (delay > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(delay));
        const bool post = IsPostPath(req.path), get = IsGetPath(req.path);
        const bool ok =
            (post && req.method == "POST") || (get && (req.method == "GET" || req.method == "HEAD")) || (!post && !get);
        int status = 0;
        if (!ok) {
            status = 405;
            res.set_header("Allow", post ? "POST" : "GET, HEAD");
        } else if (post
                   && MediaType(req)
                          != (IsFormPath(req.path) ? "application/x-www-form-urlencoded" : "multipart/form-data")) {
            status = 415;
        } else if (post && IsFormPath(req.path) && BodyLength(req) > maxForm) {
            status = 413;
        }
        if (status == 0)
            return httplib::Server::HandlerResponse::Unhandled;
        res.status = status;
        res.set_header("Connection", "close");
        res.set_content("no", Cp1251Text);
        return httplib::Server::HandlerResponse::Handled;
    });

    for (const char* path : kFormPaths) {
        const std::string p = path;
        svr.Post(path, [this, p, caller](const httplib::Request& req, httplib::Response& res) {
            const Caller c = caller(req);
            if (p == "/club/account")
                return Send(res, service_.Account(req.body, c));
            if (p == "/wtt")
                return Send(res, service_.Wtt(req.body, c));
            return Send(res, service_.Stat(req.body, c));
        });
    }
    svr.Post(kUploadPath, [this, caller](const httplib::Request& req, httplib::Response& res) {
        std::vector<std::pair<std::string, std::string>> parts;
        for (const auto& [name, part] : req.files)
            parts.emplace_back(name, part.content);
        Send(res, service_.PhotoUpload(parts, caller(req)));
    });
    svr.Get("/config.txt",
            [this](const httplib::Request&, httplib::Response& res) { Send(res, service_.ConfigText()); });
    svr.Get("/news.txt", [this](const httplib::Request&, httplib::Response& res) { Send(res, service_.NewsText()); });
    svr.Get(R"(/club/photos/(.*))", [this](const httplib::Request& req, httplib::Response& res) {
        Send(res, service_.PhotoGet(req.path.substr(std::string("/club/photos/").size())));
    });

    if (!config.helpDir.empty() && std::filesystem::is_directory(config.helpDir))
        svr.set_mount_point("/help", config.helpDir, {{"Cache-Control", "no-store"}});
    // The advertisements' pictures, when the club keeps them itself.
    const std::string adv = config.dataDir + "/adv";
    if (std::filesystem::is_directory(adv))
        svr.set_mount_point("/adv", adv, {{"Cache-Control", "no-store"}});

    // Every failure the library answers itself (unknown path, malformed
    // request, oversized body) carries the failure code as its body too.
    svr.set_error_handler(httplib::Server::HandlerWithResponse([](const httplib::Request&, httplib::Response& res) {
        if (res.body.empty())
            res.set_content("no", Cp1251Text);
        return httplib::Server::HandlerResponse::Handled;
    }));
    svr.set_exception_handler([](const httplib::Request& req, httplib::Response& res, std::exception_ptr ep) {
        std::string what = "unknown";
        try {
            if (ep)
                std::rethrow_exception(ep);
        } catch (const std::exception& e) {
            what = e.what();
        } catch (...) {
        }
        std::fprintf(stderr, "vokabron-server: %s %s failed: %s\n", LogSafe(req.method).c_str(),
                     LogSafe(req.path).c_str(), LogSafe(what).c_str());
        res.status = 503;
        res.set_content("no", Cp1251Text);
    });
    if (config.logRequests) {
        svr.set_logger([](const httplib::Request& req, const httplib::Response& res) {
            std::fprintf(stderr, "%s %s %s %d\n", LogSafe(req.remote_addr).c_str(), LogSafe(req.method).c_str(),
                         LogSafe(req.path).c_str(), res.status);
        });
    }
}

HttpFrontEnd::~HttpFrontEnd() = default;

int HttpFrontEnd::Bind(const std::string& host, int port)
{
    // The library listens with a queue of 5 connections: a reverse proxy
    // opening connections in a burst would have some wait a second for a
    // retransmitted handshake.  The socket listens again with the system's
    // full queue.
    int listening = -1;
    server_->set_socket_options([&listening](socket_t sock) {
        httplib::default_socket_options(sock);
        listening = sock;
    });
    const int bound = port == 0 ? server_->bind_to_any_port(host) : (server_->bind_to_port(host, port) ? port : -1);
    server_->set_socket_options(httplib::default_socket_options);
    if (bound >= 0 && listening >= 0)
        ::listen(listening, SOMAXCONN);
    return bound;
}

bool HttpFrontEnd::Run() { return server_->listen_after_bind(); }

void HttpFrontEnd::Stop() { server_->stop(); }

} // namespace vks
