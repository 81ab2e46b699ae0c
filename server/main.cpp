// vokabron-server: the club, world top ten, chat, statistics, remote
// configuration and news page of the game, on one port.
#include <signal.h>
#include <sys/stat.h>
#include <sodium.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <thread>

#include "server/club_service.h"
#include "server/http_front.h"
#include "server/storage/open_storage.h"
#include "server/published_texts.h"

using namespace vks;

int main(int argc, char** argv)
{
    ServerConfig config;
    std::string message;
    switch (ParseCommandLine(argc, argv, config, message)) {
    case CommandLineResult::Help: std::cout << message; return 0;
    case CommandLineResult::Error: std::cerr << "vokabron-server: " << message << "\n"; return 2;
    case CommandLineResult::Run: break;
    }
    if (auto error = ValidateConfig(config)) {
        std::cerr << "vokabron-server: invalid configuration: " << *error << "\n";
        return 2;
    }
    if (config.printTexts) {
        const std::string base =
            config.publicBase.empty() ? "http://" + config.host + ":" + std::to_string(config.port) : config.publicBase;
        std::cout << "--- /config.txt\n"
                  << RenderConfigText(config, base) << "--- /news.txt\n"
                  << RenderNewsText(config);
        return 0;
    }
    if (sodium_init() < 0) {
        std::cerr << "vokabron-server: libsodium cannot start\n";
        return 1;
    }

    // Signals are taken by one thread with sigwait; block them everywhere
    // else before any thread starts.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGHUP);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    // Everything the server writes (the database with the password hashes,
    // the photos) is its own alone, whoever made the folders before.
    ::umask(077);
    try {
        if (std::filesystem::create_directories(config.dataDir))
            std::filesystem::permissions(config.dataDir, std::filesystem::perms::owner_all);
        const auto storage = OpenStorage(config);
        ClubService service(config, *storage);
        HttpFrontEnd front(service);
        const int port = front.Bind(config.host, config.port);
        if (port < 0) {
            std::cerr << "vokabron-server: cannot listen on " << config.host << ":" << config.port << "\n";
            return 1;
        }
        if (config.publicBase.empty())
            service.SetPublicBase("http://" + config.host + ":" + std::to_string(port));
        service.Maintain();
        std::printf("port=%d\n", port);
        std::fflush(stdout);
        std::fprintf(stderr, "vokabron-server: serving http://%s:%d, database %s\n", config.host.c_str(), port,
                     DatabaseLabel(config.dbPath).c_str());

        std::thread watcher([&] {
            for (;;) {
                timespec hour{3600, 0};
                const int sig = sigtimedwait(&signals, nullptr, &hour);
                if (sig == SIGTERM || sig == SIGINT) {
                    front.Stop();
                    return;
                }
                if (sig == SIGHUP) {
                    ServerConfig fresh;
                    std::string problem;
                    std::optional<std::string> error;
                    if (ParseCommandLine(argc, argv, fresh, problem) != CommandLineResult::Run)
                        error = problem;
                    else
                        error = service.ReloadPublishedTexts(fresh);
                    if (error)
                        std::fprintf(stderr, "vokabron-server: published texts kept: %s\n", error->c_str());
                    else
                        std::fprintf(stderr,
                                     "vokabron-server: configuration re-read (published texts and pause flags)\n");
                    continue;
                }
                try {
                    service.Maintain();
                } catch (const std::exception& e) {
                    std::fprintf(stderr, "vokabron-server: clean-up failed: %s\n", e.what());
                }
            }
        });
        const bool ok = front.Run();
        if (watcher.joinable()) {
            pthread_kill(watcher.native_handle(), SIGTERM);
            watcher.join();
        }
        return ok ? 0 : 1;
    } catch (const std::exception& e) {
        std::cerr << "vokabron-server: " << e.what() << "\n";
        return 1;
    }
}
