// Writes the club file that ships with the program: five free member slots,
// an empty top ten, the marker and valid sums.
//   club_file_maker OUTPUT
#include <cstdio>

#include "common/atomic_file.h"
#include "logic/localdata/club_file.h"

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT\n", argv[0]);
        return 2;
    }
    if (!vk::WriteFileAtomically(argv[1], vk::ClubFileBytes(vk::EmptyClubFile()))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
