#pragma once
// The head of an HTTP request (request line and header lines), checked
// before the HTTP library sees it.  The library keeps reading a line that
// is not ended by CR LF, takes any number of headers, reads chunked and
// compressed bodies without a bound and inflates them: a single client could
// run the server out of memory.  The client never sends any of that, so
// whatever goes beyond plain CR LF lines and a Content-Length is refused
// here, before a byte of the body is read.
#include <cstddef>
#include <string_view>

namespace vks {

struct HeadLimits {
    std::size_t maxHead = 32 * 1024; // request line and headers together
    std::size_t maxLine = 8 * 1024;  // one line, its CR LF included
    int maxHeaders = 64;
    std::size_t maxBody = 300 * 1024; // the largest body any path takes
};

// Reads the head as its bytes arrive, in pieces of any size.
class HeadScanner {
public:
    explicit HeadScanner(const HeadLimits& limits) : limits_(limits) {}

    enum class State { More, Complete, Refused };
    // bytes: everything received on this request so far (the earlier pieces
    // unchanged, possibly followed by the body or the next request).
    State Scan(std::string_view bytes);
    // Complete: the length of the head, its blank line included.
    std::size_t HeadLength() const { return headLength_; }
    // Refused: the status to answer with.
    int Status() const { return status_; }

private:
    State Refuse(int status);

    HeadLimits limits_;
    std::size_t pos_ = 0; // bytes already looked at
    std::size_t lineStart_ = 0;
    int lines_ = 0; // complete lines so far
    std::size_t headLength_ = 0;
    int status_ = 0;
};

struct HeadVerdict {
    int status = 0;             // 0: hand the request on; else answer this and close
    std::size_t bodyLength = 0; // the bytes of body after the head
};

// The whole head (as HeadScanner delimits it): request line, header count,
// and the body's framing.  A body must come with exactly one plain
// Content-Length; Transfer-Encoding (411), Content-Encoding (415), a POST
// without a length (411) or a length over the limit (413) are refused.
HeadVerdict CheckRequestHead(std::string_view head, const HeadLimits& limits);

} // namespace vks
