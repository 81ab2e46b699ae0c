#include "server_harness.h"

#include <arpa/inet.h>
#include <libpq-fe.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <atomic>
#include <filesystem>
#include <mutex>
#include <stdexcept>
#include <thread>

#ifndef VOKABRON_SERVER_BIN
#error "VOKABRON_SERVER_BIN must name the server binary"
#endif

namespace vk::test {

int ListenOnLoopback(int& port, int backlog)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::listen(fd, backlog);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    port = ntohs(addr.sin_port);
    return fd;
}

SilentListener::SilentListener()
{
    fd_ = ListenOnLoopback(port_);
    thread_ = std::thread([this] {
        for (;;) {
            const int client = ::accept(fd_, nullptr, nullptr);
            if (client < 0 || stop_) {
                if (client >= 0)
                    ::close(client);
                return;
            }
            ++accepted_;
            std::lock_guard lock(mutex_);
            held_.push_back(client);
            if (const int port = forwardPort_)
                relays_.emplace_back([this, client, port] { Relay(client, port); });
        }
    });
}

SilentListener::~SilentListener()
{
    stop_ = true;
    ::shutdown(fd_, SHUT_RDWR);
    thread_.join();
    ::close(fd_);
    {
        std::lock_guard lock(mutex_);
        for (int fd : held_)
            ::shutdown(fd, SHUT_RDWR);
    }
    for (auto& relay : relays_)
        relay.join();
    for (int fd : held_)
        ::close(fd);
}

std::string SilentListener::Base() const { return "http://127.0.0.1:" + std::to_string(port_); }

bool SilentListener::TakeDropMarker(const std::string& request)
{
    std::lock_guard lock(mutex_);
    for (auto it = dropMarkers_.begin(); it != dropMarkers_.end(); ++it)
        if (request.find(*it) != std::string::npos) {
            dropMarkers_.erase(it);
            return true;
        }
    return false;
}

void SilentListener::Relay(int client, int port)
{
    const int server = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(port));
    if (::connect(server, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(server);
        ::shutdown(client, SHUT_RDWR);
        return;
    }
    pollfd fds[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
    char buffer[16384];
    // The client's bytes since the server last answered: one request.
    std::string request;
    bool dropReply = false;
    while (!stop_) {
        if (::poll(fds, 2, 200) < 0)
            break;
        bool closed = false;
        for (int i = 0; i < 2 && !closed; ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n <= 0) {
                closed = true;
                break;
            }
            if (i == 0) {
                request.append(buffer, static_cast<std::size_t>(n));
                dropReply = dropReply || TakeDropMarker(request);
            } else {
                request.clear();
                if (dropReply) {
                    ++dropped_;
                    closed = true;
                    break;
                }
            }
            if (::send(fds[1 - i].fd, buffer, static_cast<std::size_t>(n), MSG_NOSIGNAL) != n)
                closed = true;
        }
        if (closed)
            break;
    }
    ::shutdown(client, SHUT_RDWR);
    ::close(server);
}

std::string StoppedBase()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return "http://127.0.0.1:" + std::to_string(ntohs(addr.sin_port));
}

std::vector<std::string> QuickSettings()
{
    return {"argon2_ops=1",
            "argon2_mem_kib=8",
            "registrations_per_hour=100000",
            "password_checks_per_min=100000",
            "board_interval_s=0",
            "chat_interval_s=0",
            "launch_reports_per_hour=100000",
            "deal_reports_per_hour=100000",
            "rating_starts_per_hour=100000",
            "rating_starts_per_day=100000",
            "nick_failures=100000",
            "connections_per_address=1000",
            "min_deal_s=0"};
}

namespace {

// The PostgreSQL database of each data folder in use.
std::map<std::string, std::string>& Databases()
{
    static std::map<std::string, std::string> databases;
    return databases;
}

std::mutex& DatabasesMutex()
{
    static std::mutex mutex;
    return mutex;
}

} // namespace

TestServer::TestServer(std::vector<std::string> settings, std::string dataDir, std::string configFile)
    : settings_(QuickSettings()), dataDir_(std::move(dataDir)), configFile_(std::move(configFile))
{
    settings_.insert(settings_.end(), settings.begin(), settings.end());
    if (dataDir_.empty()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "vokabron-server-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a temporary folder");
        dataDir_ = pattern;
        ownDir_ = true;
    }
    const std::string postgres = TestPostgresFolder();
    if (!postgres.empty()) {
        // A second server on the same data folder shares the database.
        std::lock_guard lock(DatabasesMutex());
        auto& known = Databases()[dataDir_];
        if (known.empty()) {
            known = CreateTestDatabase(postgres);
            ownDb_ = true;
        }
        db_ = known;
    }
    Start();
}

TestServer::~TestServer()
{
    Stop();
    if (ownDb_) {
        DropTestDatabase(db_);
        std::lock_guard lock(DatabasesMutex());
        Databases().erase(dataDir_);
    }
    if (ownDir_) {
        std::error_code ec;
        std::filesystem::remove_all(dataDir_, ec);
    }
}

std::string TestServer::Base() const { return "http://127.0.0.1:" + std::to_string(port_); }

void TestServer::Start()
{
    if (pid_ > 0)
        return;
    int out[2];
    if (pipe(out) != 0)
        throw std::runtime_error("pipe");
    std::vector<std::string> args = {VOKABRON_SERVER_BIN, "--port", "0", "--host", "127.0.0.1", "--data-dir", dataDir_};
    if (!configFile_.empty()) {
        args.push_back("--config");
        args.push_back(configFile_);
    }
    if (!db_.empty()) {
        args.push_back("--db");
        args.push_back(db_);
    }
    for (const auto& s : settings_) {
        args.push_back("--set");
        args.push_back(s);
    }
    const pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork");
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    pid_ = pid;
    // The first line the server prints is "port=N", once it listens.
    std::string line;
    char c;
    pollfd p{out[0], POLLIN, 0};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (line.find('\n') == std::string::npos) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0 || read(out[0], &c, 1) != 1)
            break;
        line += c;
    }
    close(out[0]);
    if (!line.starts_with("port=")) {
        Kill();
        throw std::runtime_error("the server did not start: " + line);
    }
    port_ = std::atoi(line.c_str() + 5);
}

void TestServer::Stop()
{
    if (pid_ <= 0)
        return;
    kill(pid_, SIGTERM);
    int status = 0;
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    Kill();
}

void TestServer::Kill()
{
    if (pid_ <= 0)
        return;
    kill(pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
}

std::string TestPostgresFolder()
{
    const char* folder = std::getenv("VOKABRON_TEST_POSTGRES");
    return folder ? folder : "";
}

namespace {

// Runs one statement on the cluster's maintenance database; throws when the
// cluster does not answer, so a test meant for PostgreSQL never passes
// without it.
void Maintain(const std::string& folder, const std::string& sql)
{
    const std::string conninfo = "host=" + folder + " dbname=postgres user=vokabron connect_timeout=5";
    PGconn* conn = PQconnectdb(conninfo.c_str());
    std::string problem;
    if (PQstatus(conn) != CONNECTION_OK) {
        problem = PQerrorMessage(conn);
    } else {
        PGresult* res = PQexec(conn, sql.c_str());
        if (PQresultStatus(res) != PGRES_COMMAND_OK)
            problem = PQresultErrorMessage(res);
        PQclear(res);
    }
    PQfinish(conn);
    if (!problem.empty())
        throw std::runtime_error("PostgreSQL test cluster in " + folder + ": " + problem);
}

std::string QueryValue(const std::string& address, const std::string& key)
{
    const auto at = address.find(key + "=");
    if (at == std::string::npos)
        return {};
    const auto end = address.find('&', at);
    return address.substr(at + key.size() + 1,
                          end == std::string::npos ? std::string::npos : end - at - key.size() - 1);
}

} // namespace

std::string CreateTestDatabase(const std::string& folder)
{
    static std::atomic<int> counter = 0;
    const std::string name = "vks_" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
    Maintain(folder, "CREATE DATABASE " + name + " TEMPLATE template0 ENCODING 'UTF8'");
    return "postgresql:///" + name + "?host=" + folder + "&user=vokabron";
}

void DropTestDatabase(const std::string& address)
{
    const auto start = std::string("postgresql:///").size();
    const std::string name = address.substr(start, address.find('?') - start);
    try {
        Maintain(QueryValue(address, "host"), "DROP DATABASE IF EXISTS " + name + " WITH (FORCE)");
    } catch (const std::exception&) {
        // A cluster that is gone took the database with it.
    }
}

std::string HttpReply::Header(const std::string& lowerName) const
{
    const auto it = headers.find(lowerName);
    return it == headers.end() ? std::string{} : it->second;
}

std::optional<std::string> HttpReply::SessionCookie() const
{
    const auto range = headers.equal_range("set-cookie");
    for (auto it = range.first; it != range.second; ++it) {
        if (it->second.starts_with("vks=")) {
            const auto end = it->second.find(';');
            return it->second.substr(4, end == std::string::npos ? std::string::npos : end - 4);
        }
    }
    return std::nullopt;
}

int Connect(int port, const std::string& source)
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return -1;
    if (!source.empty()) {
        sockaddr_in from{};
        from.sin_family = AF_INET;
        if (inet_pton(AF_INET, source.c_str(), &from.sin_addr) != 1
            || bind(fd, reinterpret_cast<sockaddr*>(&from), sizeof from) != 0) {
            close(fd);
            return -1;
        }
    }
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

HttpReply Exchange(int port, const std::string& request, std::chrono::milliseconds limit, const std::string& source)
{
    HttpReply reply;
    const int fd = Connect(port, source);
    if (fd < 0)
        return reply;
    std::size_t sent = 0;
    while (sent < request.size()) {
        const ssize_t n = send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            break;
        sent += static_cast<std::size_t>(n);
    }
    std::string raw;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    pollfd p{fd, POLLIN, 0};
    char buf[65536];
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0)
            break;
        const ssize_t n = recv(fd, buf, sizeof buf, 0);
        if (n <= 0)
            break;
        raw.append(buf, static_cast<std::size_t>(n));
        // Stop at the end of a reply with a length, even on a kept-alive connection.
        const auto headEnd = raw.find("\r\n\r\n");
        if (headEnd != std::string::npos) {
            std::string lower = raw.substr(0, headEnd);
            for (char& ch : lower)
                ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            const auto cl = lower.find("\r\ncontent-length:");
            if (cl != std::string::npos) {
                const std::size_t length = std::strtoul(lower.c_str() + cl + 17, nullptr, 10);
                if (raw.size() >= headEnd + 4 + length)
                    break;
            }
        }
    }
    close(fd);
    const auto headEnd = raw.find("\r\n\r\n");
    if (!raw.starts_with("HTTP/1.") || headEnd == std::string::npos)
        return reply;
    reply.status = std::atoi(raw.c_str() + 9);
    std::size_t pos = raw.find("\r\n") + 2;
    while (pos < headEnd) {
        const auto end = raw.find("\r\n", pos);
        const std::string line = raw.substr(pos, end - pos);
        const auto colon = line.find(':');
        if (colon != std::string::npos) {
            std::string name = line.substr(0, colon);
            for (char& ch : name)
                ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            std::string value = line.substr(colon + 1);
            value.erase(0, value.find_first_not_of(' '));
            reply.headers.emplace(name, value);
        }
        pos = end + 2;
    }
    reply.body = raw.substr(headEnd + 4);
    const std::string length = reply.Header("content-length");
    if (!length.empty())
        reply.body = reply.body.substr(0, std::strtoul(length.c_str(), nullptr, 10));
    return reply;
}

HttpReply Post(int port, const std::string& path, const std::string& body, const std::string& cookie,
               const std::string& contentType)
{
    std::string request = "POST " + path
                          + " HTTP/1.1\r\nHost: 127.0.0.1\r\nUser-Agent: TevSpecAccess\r\n"
                            "Accept: text/html, */*\r\nConnection: close\r\nContent-Type: "
                          + contentType + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n";
    if (!cookie.empty())
        request += "Cookie: vks=" + cookie + "\r\n";
    return Exchange(port, request + "\r\n" + body);
}

HttpReply Get(int port, const std::string& path)
{
    return Exchange(port, "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
}

HttpReply Upload(int port, const std::string& partName, const std::string& fileName, const std::string& bytes,
                 const std::string& cookie)
{
    const std::string boundary = "------------------------vokabron7a1c";
    std::string body = "--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + partName + "\"; filename=\""
                       + fileName + "\"\r\nContent-Type: image/jpeg\r\n\r\n" + bytes + "\r\n--" + boundary + "--\r\n";
    return Post(port, "/club/photo-upload", body, cookie, "multipart/form-data; boundary=" + boundary);
}

} // namespace vk::test
