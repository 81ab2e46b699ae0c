#pragma once
// HTTP around the club service: paths and methods, content types, body
// limits, the session cookie, the client's address, and the status and
// headers every reply carries.
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
    bool Run();    // serves until Stop()
    void Stop();

private:
    ClubService& service_;
    std::unique_ptr<httplib::Server> server_;
};

} // namespace vks
