// The transport never hangs: against a server that accepts and never
// answers every request fails within its limit, and against a stopped
// server at once.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <thread>
#include <vector>

#include "common/club_paths.h"
#include "net/account_requests.h"
#include "net/club_startup.h"
#include "common/text_cipher.h"
#include "server_harness.h"

using namespace vk;
using Clock = std::chrono::steady_clock;
using vk::test::SilentListener;
using vk::test::StoppedBase;

namespace {

struct Addresses {
    std::string acc, config, photos, upload, stat;
    explicit Addresses(const std::string& base)
        : acc(StoredClubAddress(base, ClubAccount)), config(StoredClubAddress(base, ClubConfig)),
          photos(StoredClubAddress(base, ClubPhotoFolder)), upload(StoredClubAddress(base, ClubPhotoUpload)),
          stat(StoredClubAddress(base, ClubStat))
    {
    }
};

struct Outcome {
    bool failed;
    double seconds;
};

// Runs each request on its own client in its own thread, so the limits run
// side by side instead of one after another.
std::vector<Outcome> RunAll(const std::vector<std::function<bool()>>& requests)
{
    std::vector<std::future<Outcome>> running;
    for (const auto& request : requests) {
        running.push_back(std::async(std::launch::async, [request] {
            const auto start = Clock::now();
            const bool ok = request();
            return Outcome{!ok, std::chrono::duration<double>(Clock::now() - start).count()};
        }));
    }
    std::vector<Outcome> outcomes;
    for (auto& r : running)
        outcomes.push_back(r.get());
    return outcomes;
}

std::vector<std::function<bool()>> EveryKindOfRequest(const Addresses& a, long readTimeoutMs)
{
    auto shared = [readTimeoutMs] {
        auto http = std::make_shared<HttpClient>();
        http->SetReadTimeout(readTimeoutMs);
        return http;
    };
    return {
        [=] {
            TTevUser user;
            return ClubLogin(*shared(), a.acc, "Nomad", "secret12", user);
        },
        [=] { return ClubReadBalance(*shared(), a.acc, "Nomad").has_value(); },
        [=] { return ClubReadMemberCount(*shared(), a.acc) >= 0; },
        [=] { return ReportLaunch(*shared(), a.stat, true); },
        [=] { return !FetchRemoteConfig(a.config).AccPath.empty(); },
        [=] {
            std::string picture;
            return ClubLoadPhoto(a.photos, "Nomad", picture);
        },
    };
}

} // namespace

TEST(ClientTransportLimits, SilentServerFailsEveryRequestWithinEightSeconds)
{
    SilentListener silent;
    const auto outcomes = RunAll(EveryKindOfRequest(Addresses(silent.Base()), 0));
    for (std::size_t k = 0; k < outcomes.size(); ++k) {
        EXPECT_TRUE(outcomes[k].failed) << "request " << k;
        EXPECT_GE(outcomes[k].seconds, 7.0) << "request " << k;
        EXPECT_LT(outcomes[k].seconds, 12.0) << "request " << k;
    }
}

TEST(ClientTransportLimits, ReadLimitOfTheSharedClientCutsTheWaitToThreeSeconds)
{
    SilentListener silent;
    const Addresses a(silent.Base());
    auto requests = EveryKindOfRequest(a, 3000);
    requests.resize(4); // the shared client's requests; the others keep their own limits
    for (const Outcome& o : RunAll(requests)) {
        EXPECT_TRUE(o.failed);
        EXPECT_GE(o.seconds, 2.0);
        EXPECT_LT(o.seconds, 6.0);
    }
}

TEST(ClientTransportLimits, StoppedServerFailsAtOnce)
{
    const Addresses a(StoppedBase());
    const auto outcomes = RunAll(EveryKindOfRequest(a, 0));
    for (const Outcome& o : outcomes) {
        EXPECT_TRUE(o.failed);
        EXPECT_LT(o.seconds, 2.0);
    }

    // The start-up reads answer as for an unreachable configuration.
    const RemoteConfigAnswers answers = FetchRemoteConfig(a.config);
    EXPECT_EQ(answers.WttPath, "old");
    EXPECT_TRUE(answers.ChatAvailable);
    EXPECT_EQ(answers.StatPath, "");
    EXPECT_EQ(answers.AccPath, "");

    const NewsPage news = FetchNews(StoredClubAddress(StoppedBase(), ClubNews));
    EXPECT_FALSE(news.ShowNews);
    EXPECT_EQ(news.StoreLink, "");
}

namespace {

// Answers every connection with the same bytes, whatever it asked.
class CannedServer {
public:
    explicit CannedServer(std::string reply) : reply_(std::move(reply))
    {
        fd_ = vk::test::ListenOnLoopback(port_, 16);
        thread_ = std::thread([this] {
            for (;;) {
                const int client = ::accept(fd_, nullptr, nullptr);
                if (client < 0 || stop_)
                    return;
                char head[4096];
                (void)::recv(client, head, sizeof head, 0);
                std::size_t sent = 0;
                while (sent < reply_.size()) {
                    const ssize_t n = ::send(client, reply_.data() + sent, reply_.size() - sent, MSG_NOSIGNAL);
                    if (n <= 0)
                        break;
                    sent += static_cast<std::size_t>(n);
                }
                ::close(client);
            }
        });
    }
    ~CannedServer()
    {
        stop_ = true;
        ::shutdown(fd_, SHUT_RDWR);
        thread_.join();
        ::close(fd_);
    }
    std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_); }

private:
    std::string reply_;
    int fd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

std::string Reply(const std::string& body, const std::string& extraHeaders = {})
{
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" + extraHeaders
           + "Connection: close\r\n\r\n" + body;
}

} // namespace

TEST(ClientTransportLimits, ConfigurationIsFetchedOnceForAllThreeAddresses)
{
    vk::test::TestServer server;
    SilentListener relay;
    relay.ForwardTo(server.Port());
    const RemoteConfigAnswers answers = FetchRemoteConfig(StoredClubAddress(relay.Base(), ClubConfig));
    EXPECT_NE(answers.WttPath, "old");
    EXPECT_FALSE(answers.StatPath.empty());
    EXPECT_FALSE(answers.AccPath.empty());
    EXPECT_EQ(relay.Accepted(), 1);
}

TEST(ClientTransportLimits, OnlyHttpWithinItsCapIsTaken)
{
    const std::string underCap(TextReplyCap - 10, 'a');
    const std::string overCap(TextReplyCap + 10, 'a');
    CannedServer small(Reply(underCap)), large(Reply(overCap)), noLength("HTTP/1.1 200 OK\r\n\r\n" + overCap);
    CannedServer toFile("HTTP/1.1 302 Found\r\nLocation: file:///etc/passwd\r\nContent-Length: 0\r\n\r\n");

    EXPECT_EQ(HttpGet(small.Base() + "/a").value_or("").size(), underCap.size());
    EXPECT_FALSE(HttpGet(large.Base() + "/a"));
    EXPECT_FALSE(HttpGet(noLength.Base() + "/a"));
    for (const char* address : {"file:///etc/passwd", "dict://127.0.0.1:1/x", "gopher://127.0.0.1:1/x",
                                "ftp://127.0.0.1:1/x", "smtp://127.0.0.1:1"})
        EXPECT_FALSE(HttpGet(address)) << address;

    HttpClient http;
    EXPECT_FALSE(http.PostForm(large.Base() + "/club/account", "label1=0"));
    EXPECT_TRUE(http.PostForm(small.Base() + "/club/account", "label1=0"));

    // The streamed download: a redirect to a file is not followed, and a
    // reply past its cap leaves nothing behind.
    const std::string folder = ::testing::TempDir() + "download-" + std::to_string(::getpid());
    std::filesystem::create_directories(folder);
    const std::string target = folder + "/Vokabron.apk";
    EXPECT_FALSE(HttpDownload(toFile.Base() + "/x.apk", target, {}));
    TransportLimits capped;
    capped.MaxReplyBytes = 1000;
    EXPECT_FALSE(HttpDownload(small.Base() + "/x.apk", target, capped));
    EXPECT_TRUE(std::filesystem::is_empty(folder));
    EXPECT_TRUE(HttpDownload(small.Base() + "/x.apk", target, {}));
    EXPECT_EQ(std::filesystem::file_size(target), underCap.size());
    std::filesystem::remove_all(folder);
}
