#include "server/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vks {

std::string FloatToText(double x)
{
    if (!std::isfinite(x))
        return "0";
    if (std::fabs(x) < 0.00001)
        return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(x));   // d.dddddddddddddde±XX
    std::string digits;
    digits += buf[0];
    digits.append(buf + 2, 14);
    const int exponent = std::atoi(buf + 17);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    std::string out = x < 0 ? "-" : "";
    if (exponent >= 15) {
        out += digits[0];
        if (digits.size() > 1)
            out += "." + digits.substr(1);
        out += "E" + std::to_string(exponent);
    } else if (exponent >= 0) {
        const auto whole = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= whole) {
            out += digits + std::string(whole - digits.size(), '0');
        } else {
            out += digits.substr(0, whole) + "." + digits.substr(whole);
        }
    } else {
        out += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    return out;
}

double CanonicalRating(double x)
{
    const std::string text = FloatToText(x);
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

} // namespace vks
