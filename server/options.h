#pragma once
// The server's settings: the command line names where things live, the
// configuration file says what the club publishes (pause flags, news,
// advertisements) and every limit.  Every limit is a setting so that tests
// can shrink time windows instead of sleeping through them.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/club_rules.h"

namespace vks {

struct GameConfig {
    std::string key;    // sent in front of the game's field names
    int productGid = 0; // the game's own world top ten board
    int clubGid = 0;    // the club accounts' board
};

struct Advertisement {
    std::string picture; // PNG address
    std::string name;
    std::string link;
};

struct NewsEntry {
    bool configured = false;
    bool show = false; // flag "Y"
    std::string title, text, link;
};

struct Limits {
    std::size_t maxFormBody = 8192;
    std::size_t maxUploadRequest = 300 * 1024;
    std::size_t maxPhoto = vk::PhotoFileCap;
    std::int64_t sessionIdleS = 7 * 24 * 3600;
    std::int64_t sessionLifetimeS = 30 * 24 * 3600;
    std::int64_t owedDebitS = 60;
    int loginFailures = 10; // per address and nick ...
    int nickFailures = 20;  // ... and per nick from anywhere, then backing off
    std::int64_t loginFailureWindowS = 15 * 60;
    int passwordChecksPerMin = 20;                  // per address, throttled tries included
    std::int64_t deviceLifetimeS = 365 * 24 * 3600; // a device token unused this long is forgotten
    unsigned long long argon2Ops = 2;               // crypto_pwhash_OPSLIMIT_INTERACTIVE
    std::size_t argon2MemKiB = 64 * 1024;           // crypto_pwhash_MEMLIMIT_INTERACTIVE
    int argon2Concurrency = 0;                      // 0: the processors, at most threads / 8
    int argon2Queue = 0;                            // waiting checks beyond the running ones; 0: as many as run
    int registrationsPerHour = 5;
    int ratingStartsPerHour = 10;
    int ratingStartsPerDay = 20;
    std::int64_t minDealS = 3;
    std::int64_t resultWindowS = 15 * 60;      // a completed cycle may be re-saved or posted this long
    std::int64_t boardSeasonS = 7 * 24 * 3600; // club board places earn rewards within one season
    std::int64_t boardIntervalS = 60;
    std::int64_t chatIntervalS = 10;
    int chatPerDay = 200;
    int chatKeep = 1000;
    int boardCacheMs = 1000; // a board read may be this old for other processes' entries
    int launchReportsPerHour = 20;
    int dealReportsPerHour = 600;
    // Addresses and nicks the limits remember at most (on PostgreSQL brought
    // back to this at each clean-up of the shared events).
    int rateLimitKeys = 100000;
    int busyTimeoutMs = 2000;
    int dbConnections = 16; // PostgreSQL: connections of one process at most
    int threads = 64;
    int connectionsPerAddress = 8; // open connections of one client address
    int waitingConnections = 0;    // accepted, waiting for a thread; 0: as many as threads
    int keepAliveS = 1;
    int keepAliveRequests = 20;
    // A trusted proxy's connection carries many players' requests: it may
    // serve this many before it closes (nginx's upstream keepalive_requests
    // stays below it).
    int proxyKeepAliveRequests = 1000;
    int headTimeoutS = 5;  // the whole request line and headers
    int bodyTimeoutS = 20; // the whole body
    int readTimeoutS = 5;
    int replyDelayMs = 0; // tests: every reply held back this long
};

// Argon2 checks that run at once and that may wait: together well below the
// threads, so password requests alone can never hold every thread.
int Argon2Concurrency(const Limits& limits);
int Argon2Queue(const Limits& limits);

struct ServerConfig {
    std::string host = "127.0.0.1";
    int port = 8350;
    std::string dataDir = "vokabron-server-data";
    std::string dbPath;     // default: <dataDir>/club.db
    std::string publicBase; // default: http://<host>:<bound port>
    std::string helpDir;    // served under /help/ when it exists
    std::string configFile;
    bool printTexts = false; // print /config.txt and /news.txt, then stop

    std::vector<GameConfig> games = {{"zarvo", 50, 350}};
    bool gamesConfigured = false;
    bool secondBoardOpen = false;
    bool wttPaused = false;
    bool chatPaused = false;
    std::vector<Advertisement> ads;
    std::string storeLink, packageLink;
    NewsEntry news;
    bool cardsPublic = false;
    std::int32_t initialBalance = 0;
    std::vector<std::string> trustedProxies;
    bool logRequests = false;
    // Listening beyond loopback is a choice the operator states: behind a
    // reverse proxy (named in trusted_proxies) or exposed on purpose.
    bool behindProxy = false;
    bool exposed = false;
    Limits limits;
};

inline constexpr int ChatGid = 100;

// Applies one "key = value" setting of the configuration file; an error text
// when the key is unknown or the value does not read.
std::optional<std::string> ApplySetting(ServerConfig& config, const std::string& key, const std::string& value);

// Reads the configuration file into config; an error text on failure.
std::optional<std::string> ReadConfigFile(ServerConfig& config, const std::string& path);

enum class CommandLineResult { Run, Help, Error };
CommandLineResult ParseCommandLine(int argc, char** argv, ServerConfig& config, std::string& message);

std::string UsageText();

// 127.0.0.0/8, ::1 and "localhost": nobody but this machine can connect.
bool IsLoopbackHost(const std::string& host);

// Everything that must hold before the server publishes anything: the texts
// the client searches as plain substrings stay unambiguous, links are https,
// games and limits make sense.  An error text when not.
std::optional<std::string> ValidateConfig(const ServerConfig& config);

} // namespace vks
