#pragma once
// nginx on a free loopback port in front of several server processes, with
// the club's own site file (packaging/nginx-vokabron.conf): its upstream
// lines are replaced by the given ports and its TLS listener by plain HTTP
// on loopback; everything else is the file as shipped.  nginx connects to
// the servers from 127.0.0.2 (start them with trusted_proxies=127.0.0.2),
// and every reply names the process that answered in X-Upstream.
//
// The nginx binary and the site file are found through VOKABRON_NGINX and
// VOKABRON_NGINX_SITE (set by CMake).
#include <string>
#include <vector>

namespace vk::test {

inline constexpr const char* NginxSourceAddress = "127.0.0.2";

class NginxFront {
public:
    explicit NginxFront(const std::vector<int>& serverPorts);
    ~NginxFront();
    NginxFront(const NginxFront&) = delete;
    NginxFront& operator=(const NginxFront&) = delete;

    int Port() const { return port_; }

private:
    std::string dir_;
    int pid_ = -1;
    int port_ = 0;
};

// A free TCP port on 127.0.0.1 at the time of the call.
int FreeLoopbackPort();

} // namespace vk::test
