#pragma once
// Runs the real vokabron-server for a test: a free loopback port, a fresh
// data folder with its own database, settings chosen by the test.  Also a
// plain HTTP/1.1 exchange over a socket, for probes that must send exact
// bytes (the client's raw bodies, malformed requests, duplicate headers).
//
//   vk::test::TestServer server({"min_deal_s=0", "session_idle_s=2"});
//   auto reply = vk::test::Post(server.Port(), "/club/account", "label1=0");
//
// The server binary is found through VOKABRON_SERVER_BIN (set by CMake for
// every test that links vokabron_server_harness).
//
// With VOKABRON_TEST_POSTGRES naming the socket folder of a PostgreSQL
// cluster (pg_cluster.sh), each data folder gets a database of its own in
// that cluster instead of its SQLite file; servers started on the same data
// folder share it.
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vk::test {

// Settings that keep tests quick: the cheapest Argon2 parameters and no
// per-address limits that a test from one address would trip over.
std::vector<std::string> QuickSettings();

class TestServer {
public:
    // Each setting is "key=value" as in the configuration file; they follow
    // QuickSettings().  An empty dataDir makes a fresh temporary folder that
    // is removed with the server.  configFile, when given, is passed with
    // --config (the file a SIGHUP re-reads).
    explicit TestServer(std::vector<std::string> settings = {}, std::string dataDir = {}, std::string configFile = {});
    ~TestServer();
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    int Port() const { return port_; }
    std::string Base() const; // http://127.0.0.1:<port>
    const std::string& DataDir() const { return dataDir_; }
    // The SQLite file, or the PostgreSQL address (test_database.h reads both).
    std::string DbPath() const { return db_.empty() ? dataDir_ + "/club.db" : db_; }
    int Pid() const { return pid_; }

    void Stop();  // SIGTERM, waits
    void Kill();  // SIGKILL, waits
    void Start(); // again, on the same data folder (a new port)

private:
    std::vector<std::string> settings_;
    std::string dataDir_;
    std::string configFile_;
    bool ownDir_ = false;
    std::string db_; // PostgreSQL address, or empty for SQLite
    bool ownDb_ = false;
    int pid_ = -1;
    int port_ = 0;
};

// A loopback port that accepts connections and never answers (a hung
// server, a proxy that swallows traffic) until it is told to pass every
// later connection on to a real server.
class SilentListener {
public:
    SilentListener();
    ~SilentListener();
    SilentListener(const SilentListener&) = delete;
    SilentListener& operator=(const SilentListener&) = delete;

    int Port() const { return port_; }
    std::string Base() const; // http://127.0.0.1:<port>
    int Accepted() const { return accepted_; }
    // From now on a new connection is relayed to this port on loopback.
    void ForwardTo(int port) { forwardPort_ = port; }
    // A lost reply: the next relayed request whose bytes hold `marker`
    // reaches the server, and the connection is cut before the server's
    // answer gets back.
    void DropReplyTo(const std::string& marker)
    {
        std::lock_guard lock(mutex_);
        dropMarkers_.push_back(marker);
    }
    int DroppedReplies() const { return dropped_; }

private:
    void Relay(int client, int port);
    bool TakeDropMarker(const std::string& request);

    int fd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> accepted_{0};
    std::atomic<int> forwardPort_{0};
    std::mutex mutex_;
    std::vector<int> held_;
    std::vector<std::string> dropMarkers_;
    std::atomic<int> dropped_{0};
    std::vector<std::thread> relays_;
    std::thread thread_;
};

// A listening socket on a free loopback port; the port is written to `port`.
int ListenOnLoopback(int& port, int backlog = 64);

// A loopback address that nobody listens on.
std::string StoppedBase();

struct HttpReply {
    int status = 0;                                  // 0: no answer
    std::multimap<std::string, std::string> headers; // names in lower case
    std::string body;

    std::string Header(const std::string& lowerName) const;
    // The value of the session cookie set by this reply, if any.
    std::optional<std::string> SessionCookie() const;
};

// A connected socket to the server's port from the given loopback source
// address (127.0.0.2 ... stand for other clients); -1 on failure.
int Connect(int port, const std::string& source = {});

// Sends bytes as they are on a fresh connection and reads the reply until
// the server closes it or the time runs out.
HttpReply Exchange(int port, const std::string& request, std::chrono::milliseconds limit = std::chrono::seconds(10),
                   const std::string& source = {});

// The socket folder of the PostgreSQL cluster the tests run on, or empty
// when they run on SQLite.
std::string TestPostgresFolder();

// A new empty database in the cluster whose socket is in folder; its
// address.  DropTestDatabase removes it with every connection to it.
std::string CreateTestDatabase(const std::string& folder);
void DropTestDatabase(const std::string& address);

// A form POST with the client's content type; cookie is the session token.
HttpReply Post(int port, const std::string& path, const std::string& body, const std::string& cookie = {},
               const std::string& contentType = "application/x-www-form-urlencoded");
HttpReply Get(int port, const std::string& path);

// A multipart upload with one part.
HttpReply Upload(int port, const std::string& partName, const std::string& fileName, const std::string& bytes,
                 const std::string& cookie);

} // namespace vk::test
