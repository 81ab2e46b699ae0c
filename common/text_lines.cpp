#include "common/text_lines.h"

namespace vk {

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.emplace_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

std::string StorableText(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || b == 0x98)
            c = '?';
    }
    return out;
}

std::string PadRight(std::string_view text, std::size_t width)
{
    std::string out(text.substr(0, width));
    out.resize(width, ' ');
    return out;
}

std::string PadLeft(std::string_view text, std::size_t width)
{
    if (text.size() >= width)
        return std::string(text.substr(0, width));
    return std::string(width - text.size(), ' ') + std::string(text);
}

std::string FieldAt(std::string_view line, std::size_t position, std::size_t width)
{
    const std::size_t start = position - 1;
    if (start >= line.size())
        return std::string(width, ' ');
    return PadRight(line.substr(start), width);
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace vk
