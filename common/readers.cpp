#include "common/readers.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vk {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Position of the first "$" that is not the reply's last byte.
std::size_t FirstUsableDollar(std::string_view response)
{
    const std::size_t pos = response.find('$');
    return pos != std::string_view::npos && pos + 1 < response.size() ? pos : std::string_view::npos;
}

// A record that finds no closing byte runs up to the byte before the last.
std::string RecordUpTo(std::string_view response, std::size_t start, char closing)
{
    std::size_t end = response.find(closing, start);
    if (end == std::string_view::npos)
        end = response.size() - 1;
    return std::string(response.substr(start, end > start ? end - start : 0));
}

} // namespace

bool ResultCode(std::string_view response, std::string_view code)
{
    const std::string_view head = response.substr(0, response.find('$'));
    return head.find(code) != std::string_view::npos;
}

std::optional<std::string> DollarRecord(std::string_view response)
{
    const std::size_t pos = FirstUsableDollar(response);
    if (pos == std::string_view::npos)
        return std::nullopt;
    return RecordUpTo(response, pos + 1, '$');
}

std::vector<std::string> StarRecords(std::string_view response, std::size_t limit)
{
    std::vector<std::string> records;
    for (std::size_t pos = 0; records.size() < limit; ++pos) {
        pos = response.find('$', pos);
        if (pos == std::string_view::npos || pos + 1 >= response.size())
            break;
        records.push_back(RecordUpTo(response, pos + 1, '*'));
    }
    return records;
}

std::optional<std::int32_t> TrailingNumber(std::string_view response)
{
    if (response.size() < 2)
        return std::nullopt;
    const std::size_t pos = response.substr(0, response.size() - 1).rfind('$');
    if (pos == std::string_view::npos)
        return std::nullopt;
    std::size_t end = pos + 1;
    while (end + 1 < response.size() && IsDigit(response[end]))
        ++end;
    std::int32_t value = 0;
    const auto [ptr, ec] = std::from_chars(response.data() + pos + 1, response.data() + end, value);
    if (ec != std::errc() || ptr == response.data() + pos + 1)
        return std::nullopt;
    return value;
}

std::vector<std::string> SplitWords(std::string_view record, char separator)
{
    std::vector<std::string> words;
    std::size_t start = 0;
    for (;;) {
        const std::size_t pos = record.find(separator, start);
        words.emplace_back(record.substr(start, pos == std::string_view::npos ? pos : pos - start));
        if (pos == std::string_view::npos)
            return words;
        start = pos + 1;
    }
}

std::optional<std::int32_t> IntegerWord(std::string_view word)
{
    const std::size_t digits = word.size() - (word.starts_with('-') ? 1 : 0);
    if (digits == 0 || !IsDigit(word.back()))
        return std::nullopt;
    std::int32_t value = 0;
    const auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || ptr != word.data() + word.size())
        return std::nullopt;
    return value;
}

std::optional<double> TextToFloat(std::string_view text, double defaultValue)
{
    if (text.empty())
        return defaultValue;
    std::string number(text);
    for (char& c : number) {
        if (c != ' ' && c != '-' && !IsDigit(c)) {
            c = '.';
            break;
        }
    }
    const std::size_t first = number.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::nullopt;
    const std::size_t last = number.find_last_not_of(' ');
    const char* begin = number.data() + first;
    const char* end = number.data() + last + 1;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, value, std::chars_format::fixed);
    if (ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

std::string FloatToText(double x)
{
    if (std::isnan(x))
        return "NAN";
    if (std::isinf(x))
        return x < 0 ? "-INF" : "INF";
    if (std::fabs(x) < 0.00001)
        return "0";

    // 15 significant digits, rounded by the C library: "d.dddddddddddddde+XX".
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(x));
    std::string digits;
    const char* p = buf;
    for (; *p != 'e'; ++p)
        if (IsDigit(*p))
            digits += *p;
    const int exponent = std::atoi(p + 1);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out = x < 0 ? "-" : "";
    if (exponent >= 15) {
        out += digits[0];
        if (digits.size() > 1)
            out += "." + digits.substr(1);
        out += "E" + std::to_string(exponent);
    } else if (exponent >= 0) {
        const auto intLen = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= intLen) {
            out += digits + std::string(intLen - digits.size(), '0');
        } else {
            out += digits.substr(0, intLen) + "." + digits.substr(intLen);
        }
    } else {
        out += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    return out;
}

const std::string* Word(const std::vector<std::string>& words, std::size_t number)
{
    return number <= words.size() ? &words[number - 1] : nullptr;
}

bool TakeInteger(const std::vector<std::string>& words, std::size_t number, std::int32_t& field)
{
    const std::string* word = Word(words, number);
    if (!word)
        return true;
    const auto value = IntegerWord(*word);
    if (!value)
        return false;
    field = *value;
    return true;
}

void TakeText(const std::vector<std::string>& words, std::size_t number, std::string& field)
{
    if (const std::string* word = Word(words, number))
        field = *word;
}

} // namespace vk
