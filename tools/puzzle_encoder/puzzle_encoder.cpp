// Enciphers a plain puzzle base (UTF-8, one puzzle a line) into the form the
// game carries: Windows-1251, CR LF line ends, each puzzle line enciphered
// with the puzzle key, section headers and the end line left plain.
//
//   puzzle_encoder <plain base> <output>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "common/codepage.h"
#include "logic/game/puzzle_base.h"
#include "common/text_cipher.h"

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::cerr << "usage: puzzle_encoder <plain base> <output>\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << argv[1] << ": cannot be read\n";
        return 1;
    }
    std::stringstream text;
    text << in.rdbuf();

    std::string out;
    int lineNumber = 0;
    for (const std::string& line : vk::SplitLines(text.str())) {
        ++lineNumber;
        const auto single = vk::Utf8ToCp1251(line);
        if (!single) {
            std::cerr << argv[1] << ":" << lineNumber << ": not UTF-8 text of the Windows-1251 repertoire\n";
            return 1;
        }
        out += (!single->empty() && (*single)[0] == '$') ? *single : vk::EncodeText(*single, vk::PuzzleStartKey);
        out += "\r\n";
    }

    // Written whole or not at all, so a failed build never leaves half a base.
    const std::string temp = std::string(argv[2]) + ".tmp";
    {
        std::ofstream file(temp, std::ios::binary | std::ios::trunc);
        file << out;
        if (!file.flush()) {
            std::cerr << temp << ": cannot be written\n";
            return 1;
        }
    }
    if (std::rename(temp.c_str(), argv[2]) != 0) {
        std::cerr << argv[2] << ": cannot be replaced\n";
        return 1;
    }
    return 0;
}
