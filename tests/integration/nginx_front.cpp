#include "nginx_front.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#ifndef VOKABRON_NGINX_SITE
#error "VOKABRON_NGINX_SITE must name packaging/nginx-vokabron.conf"
#endif
#ifndef VOKABRON_NGINX
#error "VOKABRON_NGINX must name the nginx binary"
#endif

namespace vk::test {
namespace {

bool Accepts(int port)
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    close(fd);
    return ok;
}

// The shipped site with the test's ports: upstream lines, listener, and the
// two lines only a test needs.
std::string TestSite(const std::vector<int>& serverPorts, int listenPort)
{
    std::ifstream in(VOKABRON_NGINX_SITE);
    if (!in)
        throw std::runtime_error("cannot read " + std::string(VOKABRON_NGINX_SITE));
    std::string out, line;
    bool upstreamsWritten = false;
    while (std::getline(in, line)) {
        const auto first = line.find_first_not_of(' ');
        const std::string text = first == std::string::npos ? "" : line.substr(first);
        if (text.starts_with("server 127.0.0.1:")) {
            if (!upstreamsWritten) {
                const std::string options = text.substr(text.find(' ', 7)); // " max_fails=..."
                for (const int port : serverPorts)
                    out += "    server 127.0.0.1:" + std::to_string(port) + options + "\n";
                upstreamsWritten = true;
            }
            continue;
        }
        if (text.starts_with("ssl_certificate") || text.starts_with("listen [::]"))
            continue;
        if (text.starts_with("listen ")) {
            out += "    listen 127.0.0.1:" + std::to_string(listenPort) + ";\n";
            continue;
        }
        out += line + "\n";
        if (text.starts_with("proxy_pass ")) {
            out += std::string("        proxy_bind ") + NginxSourceAddress + ";\n";
            out += "        add_header X-Upstream $upstream_addr always;\n";
        }
    }
    if (!upstreamsWritten)
        throw std::runtime_error("no upstream server lines in the site file");
    return out;
}

} // namespace

int FreeLoopbackPort()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof addr;
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0
        || getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &length) != 0) {
        close(fd);
        throw std::runtime_error("no free port");
    }
    close(fd);
    return ntohs(addr.sin_port);
}

NginxFront::NginxFront(const std::vector<int>& serverPorts)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "vokabron-nginx-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    dir_ = pattern;
    std::filesystem::create_directories(dir_ + "/tmp");
    port_ = FreeLoopbackPort();
    std::ofstream(dir_ + "/site.conf") << TestSite(serverPorts, port_);
    std::ofstream conf(dir_ + "/nginx.conf");
    conf << "daemon off;\nworker_processes 1;\n";
    if (geteuid() == 0)
        conf << "user root root;\n"; // its workers read the temporary folder
    conf << "pid " << dir_ << "/nginx.pid;\nerror_log " << dir_ << "/error.log;\n"
         << "events { worker_connections 1024; }\nhttp {\n  access_log off;\n";
    for (const char* temp : {"client_body", "proxy", "fastcgi", "uwsgi", "scgi"})
        conf << "  " << temp << "_temp_path " << dir_ << "/tmp;\n";
    conf << "  include " << dir_ << "/site.conf;\n}\n";
    conf.close();

    const pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork");
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM); // never outlive a test that crashed
        execl(VOKABRON_NGINX, VOKABRON_NGINX, "-c", (dir_ + "/nginx.conf").c_str(), "-p", dir_.c_str(), nullptr);
        _exit(127);
    }
    pid_ = pid;
    for (int i = 0; i < 100 && !Accepts(port_); ++i) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            std::ifstream log(dir_ + "/error.log");
            std::stringstream text;
            text << log.rdbuf();
            throw std::runtime_error("nginx did not start: " + text.str());
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

NginxFront::~NginxFront()
{
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        int status = 0;
        for (int i = 0; i < 100 && waitpid(pid_, &status, WNOHANG) != pid_; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (waitpid(pid_, &status, WNOHANG) == 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
}

} // namespace vk::test
