// The settings file and the club user file, read from disk as the game
// reads them at start-up: the settings in the program folder, the user file
// in the folder above it.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "logic/club/user_file.h"
#include "common/product.h"
#include "logic/localdata/settings.h"

namespace {

const std::string& Folder()
{
    static const std::string folder = [] {
        // In memory where the system has it: the files are written and read
        // again for every input.
        std::string pattern =
            access("/dev/shm", W_OK) == 0 ? "/dev/shm/vokabron-fuzz-XXXXXX" : "/tmp/vokabron-fuzz-XXXXXX";
        const std::string program = std::string(mkdtemp(pattern.data())) + "/program/";
        mkdir(program.c_str(), 0700);
        return program;
    }();
    return folder;
}

void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string& dir = Folder();
    WriteFile(dir + vk::SettingsFileName, data, size);
    vk::Settings early;
    vk::ReadEarlySettings(dir, early);
    vk::Settings settings;
    vk::ReadSettings(dir, settings);

    const std::string user = vk::UserFilePath(dir);
    WriteFile(user, data, size);
    std::string nick, pw;
    vk::ReadUserFile(user, nick, pw);
    return 0;
}
