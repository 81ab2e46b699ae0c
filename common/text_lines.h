#pragma once
// The program's text files: lines ended by CR LF.  A reader also takes a lone
// LF or CR as a line end, as the classic line reader did; a last line without
// an end still counts.
#include <string>
#include <string_view>
#include <vector>

namespace vk {

std::vector<std::string> SplitLines(std::string_view text);

// Every line followed by CR LF.
template <typename Lines>
std::string JoinLines(const Lines& lines)
{
    std::string out;
    for (const auto& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

// Bytes that would break a file's line structure or that the code page has
// no character for (controls, DEL, 0x98) become "?".
std::string StorableText(std::string_view text);

// Text in a fixed-width field: cut to Width, or padded with blanks on the
// right (left-aligned) or on the left (right-aligned).
std::string PadRight(std::string_view text, std::size_t width);
std::string PadLeft(std::string_view text, std::size_t width);

// The Width bytes from Position (counted from 1); past the end of a short
// line the field reads as blanks.
std::string FieldAt(std::string_view line, std::size_t position, std::size_t width);

// Blanks at either end removed.
std::string_view TrimBlanks(std::string_view text);

} // namespace vk
