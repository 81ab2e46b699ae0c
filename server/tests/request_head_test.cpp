// The request head as it arrives: what is handed on to the HTTP library and
// what is refused before a byte of the body is read.
#include <gtest/gtest.h>

#include <string>

#include "server/request_head.h"

using namespace vks;

namespace {

std::string Head(const std::string& lines) { return "POST /club/account HTTP/1.1\r\nHost: x\r\n" + lines + "\r\n"; }

// Feeds the bytes in pieces of `step` and returns the status (0: handed on)
// and the body length.
std::pair<int, std::size_t> Verdict(const std::string& bytes, std::size_t step = 7)
{
    HeadLimits limits;
    limits.maxBody = 300 * 1024;
    HeadScanner scanner(limits);
    HeadScanner::State state = HeadScanner::State::More;
    for (std::size_t n = std::min(step, bytes.size());; n = std::min(n + step, bytes.size())) {
        state = scanner.Scan(std::string_view(bytes).substr(0, n));
        if (state != HeadScanner::State::More || n == bytes.size())
            break;
    }
    if (state == HeadScanner::State::Refused)
        return {scanner.Status(), 0};
    if (state == HeadScanner::State::More)
        return {-1, 0};
    const auto verdict = CheckRequestHead(std::string_view(bytes).substr(0, scanner.HeadLength()), limits);
    return {verdict.status, verdict.bodyLength};
}

} // namespace

TEST(RequestHead, Table)
{
    std::string manyHeaders;
    for (int i = 0; i < 65; ++i)
        manyHeaders += "X-" + std::to_string(i) + ": 1\r\n";
    std::string enoughHeaders;
    for (int i = 0; i < 62; ++i)
        enoughHeaders += "X-" + std::to_string(i) + ": 1\r\n";
    struct Case {
        const char* what;
        std::string bytes;
        int status;
        std::size_t body;
    };
    const Case cases[] = {
        {"form post", Head("Content-Length: 8\r\n") + "label1=0", 0, 8},
        {"get", "GET /config.txt HTTP/1.1\r\nHost: x\r\n\r\n", 0, 0},
        {"get, HTTP/1.0", "GET /config.txt HTTP/1.0\r\n\r\n", 0, 0},
        {"blanks around the length", Head("Content-Length:   12 \r\n"), 0, 12},
        {"head not yet complete", "GET /config.txt HTTP/1.1\r\nHost: x\r\n", -1, 0},
        {"chunked body", Head("Transfer-Encoding: chunked\r\n"), 411, 0},
        {"chunked with a length", Head("Content-Length: 5\r\ntransfer-encoding: chunked\r\n"), 411, 0},
        {"gzip body", Head("Content-Length: 5\r\nContent-Encoding: gzip\r\n"), 415, 0},
        {"br body", Head("Content-Length: 5\r\nContent-Encoding: br\r\n"), 415, 0},
        {"post without a length", Head(""), 411, 0},
        {"two lengths", Head("Content-Length: 5\r\nContent-Length: 5\r\n"), 400, 0},
        {"signed length", Head("Content-Length: +5\r\n"), 400, 0},
        {"length with letters", Head("Content-Length: 0x10\r\n"), 400, 0},
        {"length over every limit", Head("Content-Length: 307201\r\n"), 413, 0},
        {"length of 40 digits", Head("Content-Length: " + std::string(40, '9') + "\r\n"), 400, 0},
        {"line ended by LF", "GET / HTTP/1.1\r\nX-A: " + std::string(100, 'a') + "\nX-B: b\r\n\r\n", 400, 0},
        {"64 KiB line ended by LF", "GET / HTTP/1.1\r\nX-A: " + std::string(64 * 1024, 'a') + "\n\r\n", 431, 0},
        {"line ended by CR", "GET / HTTP/1.1\r\nX-A: a\rX-B: b\r\n\r\n", 400, 0},
        {"8 KiB header line", "GET / HTTP/1.1\r\nX-A: " + std::string(8 * 1024, 'a') + "\r\n\r\n", 431, 0},
        {"8 KiB request line", "GET /" + std::string(8 * 1024, 'a') + " HTTP/1.1\r\n\r\n", 414, 0},
        {"64 headers", "GET / HTTP/1.1\r\nHost: x\r\nX: 1\r\n" + enoughHeaders + "\r\n", 0, 0},
        {"66 headers", "GET / HTTP/1.1\r\nHost: x\r\n" + manyHeaders + "\r\n", 431, 0},
        {"NUL in a header", std::string("GET / HTTP/1.1\r\nX: a\0b\r\n\r\n", 25), 400, 0},
        {"no request line", "\r\n\r\n", 400, 0},
        {"not HTTP", "GET / SPDY/3\r\n\r\n", 400, 0},
        {"header without a colon", "GET / HTTP/1.1\r\nHost x\r\n\r\n", 400, 0},
        {"folded header line", "GET / HTTP/1.1\r\nX: a\r\n b\r\n\r\n", 400, 0},
    };
    for (const auto& c : cases) {
        for (const std::size_t step : {std::size_t{1}, std::size_t{7}, c.bytes.size()}) {
            const auto [status, body] = Verdict(c.bytes, step);
            EXPECT_EQ(status, c.status) << c.what << ", pieces of " << step;
            EXPECT_EQ(body, c.body) << c.what;
        }
    }
}

// A head arrives with the body (or the next request) behind it in the same
// piece: its end is found where it is, whatever follows.
TEST(RequestHead, EndsAtItsBlankLine)
{
    HeadScanner scanner(HeadLimits{});
    const std::string head = "POST /wtt HTTP/1.1\r\nContent-Length: 3\r\n\r\n";
    ASSERT_EQ(scanner.Scan(head + "gid\n\nGET /x HTTP/1.1\r\n"), HeadScanner::State::Complete);
    EXPECT_EQ(scanner.HeadLength(), head.size());
}
