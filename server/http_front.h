#pragma once
// HTTP around the club service: paths and methods, content types, body
// limits, the session cookie, the client's address, and the status and
// headers every reply carries.
//
// Connections are taken in by the HTTP library but served by this front:
// each connection's request head is read and checked here (its size, line
// ends, header count, deadline, the body's framing) before the library
// parses it, the number of open connections per client address is capped,
// and a connection that would have to wait behind a full queue is turned
// away at once.
#include <memory>
#include <string>

#include "server/club_service.h"

namespace httplib {
class Server;
}

namespace vks {

class HttpFrontEnd {
public:
    explicit HttpFrontEnd(ClubService& service);
    ~HttpFrontEnd();

    // The bound port, or -1.  Port 0 picks a free one.
    int Bind(const std::string& host, int port);
    bool Run(); // serves until Stop()
    void Stop();

private:
    ClubService& service_;
    std::unique_ptr<httplib::Server> server_;
};

// Control bytes of a text that is written to the log, as \xHH.
std::string LogSafe(const std::string& text);

} // namespace vks
