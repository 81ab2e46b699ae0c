#include "server/http_front.h"

#include <httplib.h>

#include <chrono>
#include <cstdio>
#include <thread>
#include <filesystem>

namespace vks {
namespace {

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
    return path == "/config.txt" || path == "/news.txt" || path.starts_with("/club/photos/") || path.starts_with("/help/") ||
           path == "/help" || path.starts_with("/adv/");
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

void Send(httplib::Response& res, const Reply& reply)
{
    res.status = reply.status;
    res.set_content(reply.body, reply.contentType.c_str());
    if (reply.setCookie)
        res.set_header("Set-Cookie", *reply.setCookie);
}

} // namespace

HttpFrontEnd::HttpFrontEnd(ClubService& service) : service_(service), server_(std::make_unique<httplib::Server>())
{
    auto& svr = *server_;
    const auto& config = service_.Config();
    const auto& l = config.limits;
    const int threads = l.threads;
    svr.new_task_queue = [threads] { return new httplib::ThreadPool(static_cast<std::size_t>(threads)); };
    // Replies go out as headers and body; without this, Nagle's algorithm
    // holds the body back for the client's delayed acknowledgement (~40 ms)
    // on every kept-alive connection.
    svr.set_tcp_nodelay(true);
    svr.set_keep_alive_timeout(l.keepAliveS);
    svr.set_keep_alive_max_count(100);
    svr.set_read_timeout(l.readTimeoutS, 0);
    svr.set_write_timeout(5, 0);
    svr.set_payload_max_length(l.maxUploadRequest);
    svr.set_default_headers({{"Cache-Control", "no-store"}});

    const std::vector<std::string> proxies = config.trustedProxies;
    auto caller = [proxies](const httplib::Request& req) {
        Caller c;
        c.address = req.remote_addr;
        if (std::find(proxies.begin(), proxies.end(), c.address) != proxies.end() && req.has_header("X-Forwarded-For")) {
            std::string forwarded = req.get_header_value("X-Forwarded-For");
            const auto comma = forwarded.rfind(',');
            if (comma != std::string::npos)
                forwarded = forwarded.substr(comma + 1);
            const auto first = forwarded.find_first_not_of(' ');
            if (first != std::string::npos)
                c.address = forwarded.substr(first);
        }
        c.session = SessionToken(req);
        return c;
    };

    // Wrong methods are answered before any body is read; the connection is
    // closed so an unread body is never taken for the next request.
    svr.set_pre_routing_handler([delay = l.replyDelayMs](const httplib::Request& req, httplib::Response& res) {
        // A slow server for the tests of the game's patience.
        if (delay > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(delay));
        const bool post = IsPostPath(req.path), get = IsGetPath(req.path);
        const bool ok = (post && req.method == "POST") || (get && (req.method == "GET" || req.method == "HEAD")) ||
                        (!post && !get);
        if (ok)
            return httplib::Server::HandlerResponse::Unhandled;
        res.status = 405;
        res.set_header("Allow", post ? "POST" : "GET, HEAD");
        res.set_header("Connection", "close");
        res.set_content("no", Cp1251Text);
        return httplib::Server::HandlerResponse::Handled;
    });

    const std::size_t maxForm = l.maxFormBody;
    for (const char* path : kFormPaths) {
        const std::string p = path;
        svr.Post(path, [this, p, maxForm, caller](const httplib::Request& req, httplib::Response& res) {
            if (MediaType(req) != "application/x-www-form-urlencoded")
                return Send(res, Reply{415, "no"});
            if (req.body.size() > maxForm)
                return Send(res, Reply{413, "no"});
            const Caller c = caller(req);
            if (p == "/club/account")
                return Send(res, service_.Account(req.body, c));
            if (p == "/wtt")
                return Send(res, service_.Wtt(req.body, c));
            return Send(res, service_.Stat(req.body, c));
        });
    }
    svr.Post(kUploadPath, [this, caller](const httplib::Request& req, httplib::Response& res) {
        if (MediaType(req) != "multipart/form-data")
            return Send(res, Reply{415, "no"});
        std::vector<std::pair<std::string, std::string>> parts;
        for (const auto& [name, part] : req.files)
            parts.emplace_back(name, part.content);
        Send(res, service_.PhotoUpload(parts, caller(req)));
    });
    svr.Get("/config.txt", [this](const httplib::Request&, httplib::Response& res) { Send(res, service_.ConfigText()); });
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
        std::fprintf(stderr, "vokabron-server: %s %s failed: %s\n", req.method.c_str(), req.path.c_str(), what.c_str());
        res.status = 503;
        res.set_content("no", Cp1251Text);
    });
    if (config.logRequests) {
        svr.set_logger([](const httplib::Request& req, const httplib::Response& res) {
            std::fprintf(stderr, "%s %s %s %d\n", req.remote_addr.c_str(), req.method.c_str(), req.path.c_str(), res.status);
        });
    }
}

HttpFrontEnd::~HttpFrontEnd() = default;

int HttpFrontEnd::Bind(const std::string& host, int port)
{
    if (port == 0)
        return server_->bind_to_any_port(host);
    return server_->bind_to_port(host, port) ? port : -1;
}

bool HttpFrontEnd::Run() { return server_->listen_after_bind(); }

void HttpFrontEnd::Stop() { server_->stop(); }

} // namespace vks
