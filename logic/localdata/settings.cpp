#include "logic/localdata/settings.h"

#include <array>
#include <filesystem>

#include "common/atomic_file.h"
#include "common/countries.h"
#include "common/product.h"
#include "common/text_cipher.h"
#include "common/text_lines.h"

namespace vk {
namespace {

constexpr char kOn = '\xE8';  // "и"
constexpr char kOff = '\xEB'; // "л"
constexpr std::size_t kLineCount = 16;

constexpr std::array<const char*, 8> kComments = {
    "<# Sound, Music, Font, Show Font Window, Window Size, Stat1, Stat2>",
    "<# Server: Path>",
    "<# Server: Nick>",
    "<# Server: Country>",
    "<# Server: City>",
    "<# Server: Sex>",
    "<# Name of Player>",
    "<# Server: Stat>",
};

std::string FilePath(const std::string& programDir) { return programDir + SettingsFileName; }

// The file's lines, or nothing when it cannot be opened.  The program tries
// twice: another program may hold the file for a moment.
std::optional<std::vector<std::string>> ReadLines(const std::string& programDir)
{
    auto bytes = ReadWholeFile(FilePath(programDir));
    if (!bytes)
        bytes = ReadWholeFile(FilePath(programDir));
    if (!bytes)
        return std::nullopt;
    return SplitLines(*bytes);
}

void SetServerPath(Settings& s, std::string path)
{
    s.ServerPath = std::move(path);
    s.WttAddress = DecodeText(s.ServerPath, AddressStartKey);
}

void SetStatPath(Settings& s, std::string path)
{
    s.StatPath = std::move(path);
    s.StatAddress = DecodeText(s.StatPath, AddressStartKey);
}

// Takes lines 2..16 in order; false at the first line that stops the reading.
bool TakeValues(const std::vector<std::string>& lines, Settings& s)
{
    auto line = [&lines](int number) -> const std::string& { return lines[static_cast<std::size_t>(number - 1)]; };

    const std::string& flags = line(2);
    if (flags.size() < 7)
        return false;
    if (flags[0] == kOff)
        s.SoundOn = false;
    if (flags[1] == kOff)
        s.MusicOn = false;
    if (flags[2] == kOff)
        s.NoOwnFont = true;
    if (flags[3] == kOff)
        s.NoFontWindow = true;
    if (flags[4] >= '1' && flags[4] <= '5')
        s.WindowSize = flags[4] - '0';
    s.StartCounted = flags[5] == 'R';
    s.LikeSent = flags[6] == 'L';

    if (line(4).empty())
        return false;
    SetServerPath(s, line(4));

    if (line(6).empty())
        return false;
    s.ServerNick = line(6).substr(0, ServerNickCapacity);

    if (line(8).size() != 5)
        return false;
    // An unknown country keeps the default and the reading goes on.
    if (ParseCountryCode(line(8)))
        s.ServerCountry = line(8);

    if (line(10).empty())
        return false;
    s.ServerCity = line(10).substr(0, ServerCityCapacity);

    if (line(12).empty())
        return false;
    s.ServerSex = line(12).substr(0, 1);
    if (s.ServerSex != "M" && s.ServerSex != "W")
        s.ServerSex = "M";

    s.PlayerName = line(14);

    if (line(16).empty())
        return false;
    SetStatPath(s, line(16));
    return true;
}

} // namespace

void ApplyRemoteAddresses(Settings& s, const RemoteAddressAnswers& answers, const std::string& builtInAccPath)
{
    if (answers.WttPath == "pause") {
        s.WttAvailable = false;
    } else {
        s.WttAvailable = true;
        // An empty answer would leave the world top ten without an address
        // for the whole run; the stored one is the better guess.
        if (answers.WttPath != "old" && !answers.WttPath.empty())
            SetServerPath(s, answers.WttPath);
    }
    s.ChatAvailable = answers.ChatAvailable;
    if (!answers.StatPath.empty())
        SetStatPath(s, answers.StatPath);
    s.AccPath = answers.AccPath.empty() ? builtInAccPath : answers.AccPath;
}

bool ReadEarlySettings(const std::string& programDir, Settings& settings)
{
    const auto lines = ReadLines(programDir);
    if (!lines)
        return false;
    if (lines->empty())
        return true;
    // The last of the first two lines read stands for the flags line, as a
    // file of one line has nothing else to offer.
    const std::string& flags = (*lines)[std::min<std::size_t>(lines->size(), 2) - 1];
    auto onOff = [](char c, bool& value) {
        if (c == kOn)
            value = true;
        else if (c == kOff)
            value = false;
    };
    if (flags.size() >= 1)
        onOff(flags[0], settings.SoundOn);
    if (flags.size() >= 2)
        onOff(flags[1], settings.MusicOn);
    if (flags.size() >= 5 && flags[4] >= '1' && flags[4] <= '5')
        settings.WindowSize = flags[4] - '0';
    return true;
}

bool ReadStartSettings(const std::string& programDir, Settings& settings)
{
    settings.SoundOn = true;
    settings.MusicOn = false;
    settings.WindowSize = 1;
    return ReadEarlySettings(programDir, settings);
}

bool ReadSettings(const std::string& programDir, Settings& settings, const SettingsSources& sources)
{
    settings.SoundOn = true;
    settings.MusicOn = true;
    settings.NoOwnFont = false;
    settings.NoFontWindow = false;
    settings.WindowSize = 1;
    settings.StartCounted = true;
    settings.LikeSent = true;
    SetServerPath(settings, sources.BuiltInServerPath);
    settings.ServerNick = "Incognito";
    settings.ServerCountry = "1-001";
    settings.ServerCity = "Moscow";
    settings.ServerSex = "M";
    SetStatPath(settings, sources.BuiltInStatPath);
    settings.PlayerName = Settings{}.PlayerName;

    settings.AccPath = sources.BuiltInAccPath;

    const auto lines = ReadLines(programDir);
    // No file at all is a new installation: its first start is still to be
    // counted and its like still to be given.  (A file that is there but
    // short keeps both as done.)
    if (!lines && !std::filesystem::exists(FilePath(programDir))) {
        settings.StartCounted = false;
        settings.LikeSent = false;
    }
    const bool complete = lines && lines->size() >= kLineCount && TakeValues(*lines, settings);
    // The addresses are refreshed whatever the file held: a first start has
    // no file yet and must still reach the club, the world top ten and the
    // chat.
    if (sources.FetchRemoteAddresses)
        ApplyRemoteAddresses(settings, sources.FetchRemoteAddresses(), sources.BuiltInAccPath);
    return complete;
}

std::string SettingsFileText(const Settings& s)
{
    std::string flags = "\xEB\xEB\xEB\xEB"
                        "1##";
    flags[0] = s.SoundOn ? kOn : kOff;
    flags[1] = s.MusicOn ? kOn : kOff;
    flags[2] = s.NoOwnFont ? kOff : kOn;
    flags[3] = s.NoFontWindow ? kOff : kOn;
    flags[4] = static_cast<char>('0' + (s.WindowSize >= 1 && s.WindowSize <= 5 ? s.WindowSize : 1));
    flags[5] = s.StartCounted ? 'R' : '#';
    flags[6] = s.LikeSent ? 'L' : '#';

    const std::array<std::string, kComments.size()> values = {
        flags, s.ServerPath, s.ServerNick, s.ServerCountry, s.ServerCity, s.ServerSex, s.PlayerName, s.StatPath,
    };
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < values.size(); ++i) {
        lines.emplace_back(kComments[i]);
        // A value can never add a line to the file.
        lines.push_back(StorableText(values[i]));
    }
    return JoinLines(lines);
}

bool WriteSettings(const std::string& programDir, const Settings& settings)
{
    const std::string text = SettingsFileText(settings);
    if (SplitLines(text).size() != kLineCount)
        return false;
    return WriteFileAtomically(FilePath(programDir), text);
}

void UpdateFontNames(Settings& settings)
{
    settings.DisplayFontName = settings.NoOwnFont ? SubstituteFontName : OwnFontName;
    settings.MenuListFontName = MenuListFont;
}

} // namespace vk
