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
#include <functional>
#include <future>
#include <thread>
#include <vector>

#include "club/account_requests.h"
#include "club/club_startup.h"
#include "common/text_cipher.h"

using namespace vk;
using Clock = std::chrono::steady_clock;

namespace {

// Accepts connections on a loopback port and never reads or writes.
class SilentListener {
public:
    SilentListener()
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(fd_, 64);
        socklen_t len = sizeof addr;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
        thread_ = std::thread([this] {
            for (;;) {
                const int client = ::accept(fd_, nullptr, nullptr);
                if (client < 0 || stop_)
                    return;
                held_.push_back(client);
            }
        });
    }
    ~SilentListener()
    {
        stop_ = true;
        ::shutdown(fd_, SHUT_RDWR);
        thread_.join();
        ::close(fd_);
        for (int fd : held_)
            ::close(fd);
    }
    std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_); }

private:
    int fd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::vector<int> held_;
    std::thread thread_;
};

// A loopback port that nobody listens on.
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

struct Addresses {
    std::string acc, config, photos, upload, stat;
    explicit Addresses(const std::string& base)
        : acc(EncodeText(base + "/club/account", ClubStartKey)),
          config(EncodeText(base + "/config.txt", AddressStartKey)),
          photos(EncodeText(base + "/club/photos/", ClubStartKey)),
          upload(EncodeText(base + "/club/photo-upload", ClubStartKey)),
          stat(EncodeText(base + "/stat", AddressStartKey))
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
        [=] {
            bool chat = false;
            return FetchWttPath(a.config, 2, chat) != "old";
        },
        [=] { return !FetchAccPath(a.config).empty(); },
        [=] {
            std::string picture;
            return ClubLoadPhoto(a.photos, "Nomad", picture);
        },
    };
}

} // namespace

TEST(ClientTransportLimits, SilentServerFailsEveryRequestWithinFifteenSeconds)
{
    SilentListener silent;
    const auto outcomes = RunAll(EveryKindOfRequest(Addresses(silent.Base()), 0));
    for (std::size_t k = 0; k < outcomes.size(); ++k) {
        EXPECT_TRUE(outcomes[k].failed) << "request " << k;
        EXPECT_GE(outcomes[k].seconds, 14.0) << "request " << k;
        EXPECT_LT(outcomes[k].seconds, 20.0) << "request " << k;
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

    const NewsPage news = FetchNews(EncodeText(StoppedBase() + "/news.txt", AddressStartKey));
    EXPECT_FALSE(news.ShowNews);
    EXPECT_EQ(news.StoreLink, "");
}
