#include "server/request_head.h"

#include <algorithm>
#include <cstdint>

#include "common/text_lines.h"

namespace vks {
namespace {

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

bool IsTokenChar(char c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
        return true;
    return std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

bool ValidRequestLine(std::string_view line)
{
    const auto sp1 = line.find(' ');
    if (sp1 == std::string_view::npos || sp1 == 0)
        return false;
    const auto sp2 = line.find(' ', sp1 + 1);
    if (sp2 == std::string_view::npos || sp2 == sp1 + 1)
        return false;
    const std::string_view method = line.substr(0, sp1), version = line.substr(sp2 + 1);
    if (!std::all_of(method.begin(), method.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
        return false;
    return version == "HTTP/1.1" || version == "HTTP/1.0";
}

} // namespace

HeadScanner::State HeadScanner::Refuse(int status)
{
    status_ = status;
    return State::Refused;
}

HeadScanner::State HeadScanner::Scan(std::string_view bytes)
{
    if (status_ != 0)
        return State::Refused;
    if (headLength_ != 0)
        return State::Complete;
    for (; pos_ < bytes.size(); ++pos_) {
        const char c = bytes[pos_];
        const char before = pos_ > lineStart_ ? bytes[pos_ - 1] : '\0';
        if (c == '\0')
            return Refuse(400);
        if (before == '\r' && c != '\n')
            return Refuse(400); // a CR alone
        if (c == '\n') {
            if (before != '\r')
                return Refuse(400); // a line ended by LF alone
            if (pos_ + 1 - lineStart_ == 2) {
                if (lines_ == 0)
                    return Refuse(400); // no request line
                headLength_ = pos_ + 1;
                ++pos_;
                return State::Complete;
            }
            ++lines_;
            if (lines_ - 1 > limits_.maxHeaders)
                return Refuse(431);
            lineStart_ = pos_ + 1;
            continue;
        }
        if (pos_ + 1 - lineStart_ > limits_.maxLine)
            return Refuse(lines_ == 0 ? 414 : 431);
        if (pos_ + 1 > limits_.maxHead)
            return Refuse(431);
    }
    return State::More;
}

HeadVerdict CheckRequestHead(std::string_view head, const HeadLimits& limits)
{
    if (!head.ends_with("\r\n\r\n"))
        return {400, 0};
    head.remove_suffix(2);
    std::size_t start = 0;
    int headers = 0;
    int lengths = 0;
    std::uint64_t length = 0;
    bool badLength = false, transferEncoding = false, contentEncoding = false;
    std::string_view method;
    while (start < head.size()) {
        const auto end = head.find("\r\n", start);
        if (end == std::string_view::npos)
            return {400, 0};
        const std::string_view line = head.substr(start, end - start);
        start = end + 2;
        if (method.empty()) {
            if (!ValidRequestLine(line))
                return {400, 0};
            method = line.substr(0, line.find(' '));
            continue;
        }
        if (++headers > limits.maxHeaders)
            return {431, 0};
        const auto colon = line.find(':');
        if (colon == std::string_view::npos || colon == 0)
            return {400, 0};
        const std::string_view name = line.substr(0, colon);
        if (!std::all_of(name.begin(), name.end(), IsTokenChar))
            return {400, 0};
        const std::string_view value = vk::TrimBlanks(line.substr(colon + 1));
        if (SameName(name, "Transfer-Encoding")) {
            transferEncoding = true;
        } else if (SameName(name, "Content-Encoding")) {
            contentEncoding = true;
        } else if (SameName(name, "Content-Length")) {
            ++lengths;
            if (value.empty() || value.size() > 12
                || !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; })) {
                badLength = true;
            } else {
                length = 0;
                for (const char c : value)
                    length = length * 10 + static_cast<std::uint64_t>(c - '0');
            }
        }
    }
    if (method.empty())
        return {400, 0};
    if (transferEncoding)
        return {411, 0};
    if (contentEncoding)
        return {415, 0};
    if (badLength || lengths > 1)
        return {400, 0};
    if (lengths == 0)
        return {method == "POST" ? 411 : 0, 0};
    if (length > limits.maxBody)
        return {413, 0};
    return {0, static_cast<std::size_t>(length)};
}

} // namespace vks
