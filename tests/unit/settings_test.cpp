#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <random>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/atomic_file.h"
#include "common/codepage.h"
#include "common/product.h"
#include "common/text_cipher.h"
#include "common/text_lines.h"
#include "logic/localdata/font_plan.h"
#include "logic/localdata/settings.h"

using namespace vk;
namespace fs = std::filesystem;

namespace {

std::string Cp(const char* utf8) { return *Utf8ToCp1251(utf8); }

class SettingsFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "vk_ini_XXXXXX").string();
        dir_ = std::string(::mkdtemp(pattern.data())) + "/";
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Path() const { return dir_ + SettingsFileName; }
    void Write(const std::vector<std::string>& lines) const
    {
        std::ofstream(Path(), std::ios::binary) << JoinLines(lines);
    }

    // A complete file; tests change single lines of it.
    static std::vector<std::string> Sample()
    {
        return {
            "<# Sound, Music, Font, Show Font Window, Window Size, Stat1, Stat2>",
            Cp("лиил3R#"),
            "<# Server: Path>",
            EncodeText("http://wtt.example/", AddressStartKey),
            "<# Server: Nick>",
            "Vasya",
            "<# Server: Country>",
            "2-051",
            "<# Server: City>",
            "Kazan",
            "<# Server: Sex>",
            "W",
            "<# Name of Player>",
            Cp("Вася Пупкин"),
            "<# Server: Stat>",
            EncodeText("http://stat.example/", AddressStartKey),
        };
    }

    SettingsSources Sources(RemoteAddressAnswers answers, int* calls = nullptr) const
    {
        SettingsSources s;
        s.BuiltInServerPath = EncodeText("http://builtin-wtt/", AddressStartKey);
        s.BuiltInStatPath = EncodeText("http://builtin-stat/", AddressStartKey);
        s.BuiltInAccPath = EncodeText("http://builtin-acc/", AddressStartKey);
        s.FetchRemoteAddresses = [answers, calls] {
            if (calls)
                ++*calls;
            return answers;
        };
        return s;
    }

    std::string dir_;
};

} // namespace

TEST_F(SettingsFolder, ReadsAndWritesBackByteForByte)
{
    Write(Sample());
    const std::string before = *ReadWholeFile(Path());
    Settings s;
    int calls = 0;
    ASSERT_TRUE(ReadSettings(dir_, s, Sources({"old", true, "", ""}, &calls)));
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(s.SoundOn);
    EXPECT_TRUE(s.MusicOn);
    EXPECT_FALSE(s.NoOwnFont);
    EXPECT_TRUE(s.NoFontWindow);
    EXPECT_EQ(s.WindowSize, 3);
    EXPECT_TRUE(s.StartCounted);
    EXPECT_FALSE(s.LikeSent);
    EXPECT_EQ(s.WttAddress, "http://wtt.example/");
    EXPECT_EQ(s.StatAddress, "http://stat.example/");
    EXPECT_EQ(s.ServerCountry, "2-051");
    EXPECT_EQ(s.ServerSex, "W");
    EXPECT_EQ(s.PlayerName, Cp("Вася Пупкин"));
    ASSERT_TRUE(WriteSettings(dir_, s));
    EXPECT_EQ(*ReadWholeFile(Path()), before);
}

TEST_F(SettingsFolder, WritesTheDefaults)
{
    Settings s;
    ASSERT_TRUE(WriteSettings(dir_, s));
    const auto lines = SplitLines(*ReadWholeFile(Path()));
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[0], "<# Sound, Music, Font, Show Font Window, Window Size, Stat1, Stat2>");
    EXPECT_EQ(lines[1], Cp("ииии1RL"));
    EXPECT_EQ(lines[13], Cp("Инкогнито"));
    EXPECT_EQ(lines[14], "<# Server: Stat>");
    s.SoundOn = s.MusicOn = false;
    s.NoOwnFont = s.NoFontWindow = true;
    s.WindowSize = 3;
    s.StartCounted = s.LikeSent = false;
    s.PlayerName = "two\r\nlines";
    ASSERT_TRUE(WriteSettings(dir_, s));
    const auto off = SplitLines(*ReadWholeFile(Path()));
    ASSERT_EQ(off.size(), 16u);
    EXPECT_EQ(off[1], Cp("лллл3##"));
    EXPECT_EQ(off[13], "two??lines");
}

TEST_F(SettingsFolder, FlagsLineForBothReaders)
{
    struct Case {
        const char* flags;
        bool sound, music;
        int size;  // after ReadEarlySettings
        bool full; // ReadSettings takes the file
    };
    const Case cases[] = {
        {"ииии1", true, true, 1, false},
        {"лл", false, false, 2, false}, // early reader: size untouched (starts at 2 here)
        {"лиил3R#", false, true, 3, true},
        {"xyzw9RL", true, true, 2, true}, // unknown characters keep the values
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        auto lines = Sample();
        lines[1] = Cp(c.flags);
        Write(lines);
        Settings early;
        early.WindowSize = 2;
        ASSERT_TRUE(ReadEarlySettings(dir_, early));
        EXPECT_EQ(early.SoundOn, c.sound);
        EXPECT_EQ(early.MusicOn, c.music);
        EXPECT_EQ(early.WindowSize, c.size);

        Settings full;
        full.ServerNick = "changed";
        EXPECT_EQ(ReadSettings(dir_, full), c.full);
        EXPECT_EQ(full.ServerNick, c.full ? "Vasya" : "Incognito");
    }
    // A file of only a comment and a short flags line: the early reader
    // takes what there is.
    Write({"comment", Cp("л")});
    Settings early;
    ASSERT_TRUE(ReadEarlySettings(dir_, early));
    EXPECT_FALSE(early.SoundOn);
    EXPECT_TRUE(early.MusicOn);
}

TEST_F(SettingsFolder, AShortFileKeepsEveryDefault)
{
    auto lines = Sample();
    lines.pop_back();
    Write(lines);
    Settings s;
    s.StartCounted = false;
    s.LikeSent = false;
    s.WindowSize = 4;
    int calls = 0;
    EXPECT_FALSE(ReadSettings(dir_, s, Sources({"old", true, "", ""}, &calls)));
    EXPECT_TRUE(s.StartCounted);
    EXPECT_TRUE(s.LikeSent);
    EXPECT_EQ(s.WindowSize, 1);
    EXPECT_EQ(s.ServerNick, "Incognito");
    EXPECT_EQ(s.WttAddress, "http://builtin-wtt/");
    // The online services are still refreshed and reachable.
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(s.WttAvailable);
    EXPECT_EQ(DecodeText(s.AccPath, AddressStartKey), "http://builtin-acc/");
}

TEST_F(SettingsFolder, FirstStartWithoutAFileStillReachesTheClub)
{
    const RemoteAddressAnswers remote{EncodeText("http://new-wtt/", AddressStartKey), true,
                                      EncodeText("http://new-stat/", AddressStartKey),
                                      EncodeText("http://new-acc/", AddressStartKey)};
    Settings s;
    int calls = 0;
    EXPECT_FALSE(ReadSettings(dir_, s, Sources(remote, &calls)));
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(s.WttAvailable);
    EXPECT_TRUE(s.ChatAvailable);
    EXPECT_EQ(s.WttAddress, "http://new-wtt/");
    EXPECT_EQ(s.StatAddress, "http://new-stat/");
    EXPECT_EQ(DecodeText(s.AccPath, AddressStartKey), "http://new-acc/");

    // Without the remote configuration the built-in account address stands.
    Settings offline;
    EXPECT_FALSE(ReadSettings(dir_, offline, Sources({"old", true, "", ""})));
    EXPECT_EQ(DecodeText(offline.AccPath, AddressStartKey), "http://builtin-acc/");
}

TEST_F(SettingsFolder, TheRemoteRefreshRunsWhateverTheFileHeld)
{
    // Every way the reading can end early, and the whole file: the refresh
    // runs each time and its addresses win.
    struct Case {
        const char* name;
        std::function<void()> prepare;
    };
    const Case cases[] = {
        {"no file", [] {}},
        {"empty file", [&] { Write({}); }},
        {"short flags line",
         [&] {
             auto l = Sample();
             l[1] = Cp("ли");
             Write(l);
         }},
        {"empty address line",
         [&] {
             auto l = Sample();
             l[3].clear();
             Write(l);
         }},
        {"ten lines",
         [&] {
             auto l = Sample();
             l.resize(10);
             Write(l);
         }},
        {"whole file", [&] { Write(Sample()); }},
    };
    const RemoteAddressAnswers remote{EncodeText("http://new-wtt/", AddressStartKey), true,
                                      EncodeText("http://new-stat/", AddressStartKey),
                                      EncodeText("http://new-acc/", AddressStartKey)};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(Path());
        c.prepare();
        Settings s;
        int calls = 0;
        ReadSettings(dir_, s, Sources(remote, &calls));
        EXPECT_EQ(calls, 1);
        EXPECT_TRUE(s.WttAvailable);
        EXPECT_EQ(s.WttAddress, "http://new-wtt/");
        EXPECT_EQ(s.StatAddress, "http://new-stat/");
        EXPECT_EQ(DecodeText(s.AccPath, AddressStartKey), "http://new-acc/");
    }
}

TEST_F(SettingsFolder, TheWindowStartsWithMusicOffUntilTheFileTurnsItOn)
{
    struct Case {
        const char* flags; // nullptr: no file
        bool sound, music;
        int size;
    };
    const Case cases[] = {
        {nullptr, true, false, 1},
        {"ииии5", true, true, 5},
        {"лл", false, false, 1},
        {"xyzw9", true, false, 1}, // unknown characters keep the start values
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags ? c.flags : "no file");
        fs::remove(Path());
        if (c.flags)
            Write({"comment", Cp(c.flags)});
        // Whatever the values were, the window's start values come first.
        Settings s;
        s.SoundOn = false;
        s.MusicOn = true;
        s.WindowSize = 4;
        EXPECT_EQ(ReadStartSettings(dir_, s), c.flags != nullptr);
        EXPECT_EQ(s.SoundOn, c.sound);
        EXPECT_EQ(s.MusicOn, c.music);
        EXPECT_EQ(s.WindowSize, c.size);
    }
}

TEST_F(SettingsFolder, CountryCityAndSexLines)
{
    struct Case {
        const char* country;
        const char* sex;
        const char* wantCountry;
        const char* wantCity; // "Moscow" when the reading stopped before it
        const char* wantSex;
    };
    const Case cases[] = {
        {"1-048", "M", "1-048", "Kazan", "M"},
        {"1-049", "W", "1-001", "Kazan", "W"}, // past the continent's table
        {"7-001", "W", "1-001", "Kazan", "W"},
        {"1x001", "W", "1-001", "Kazan", "W"},
        {"6-054", "F", "6-054", "Kazan", "M"},
        {"1-01", "W", "1-001", "Moscow", "M"}, // four characters stop the reading
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.country);
        auto lines = Sample();
        lines[7] = c.country;
        lines[11] = c.sex;
        Write(lines);
        Settings s;
        ReadSettings(dir_, s);
        EXPECT_EQ(s.ServerNick, "Vasya");
        EXPECT_EQ(s.ServerCountry, c.wantCountry);
        EXPECT_EQ(s.ServerCity, c.wantCity);
        EXPECT_EQ(s.ServerSex, c.wantSex);
    }
}

TEST_F(SettingsFolder, LongAndEmptyValues)
{
    auto lines = Sample();
    lines[5] = "ABCDEFGHIJKLMNOP";
    lines[9] = "Petropavlovsk-Kamchatsky";
    lines[13] = "";
    Write(lines);
    Settings s;
    ASSERT_TRUE(ReadSettings(dir_, s));
    EXPECT_EQ(s.ServerNick, "ABCDEFGHIJKL");
    EXPECT_EQ(s.ServerCity, "Petropavlovsk-K");
    EXPECT_EQ(s.PlayerName, "");
    EXPECT_EQ(s.StatAddress, "http://stat.example/");
}

TEST_F(SettingsFolder, RemoteRefresh)
{
    Write(Sample());
    struct Case {
        RemoteAddressAnswers answers;
        bool wtt;
        const char* wttAddress;
        const char* statAddress;
        const char* accAddress;
    };
    const Case cases[] = {
        {{"old", true, "", ""}, true, "http://wtt.example/", "http://stat.example/", "http://builtin-acc/"},
        {{"pause", false, "", ""}, false, "http://wtt.example/", "http://stat.example/", "http://builtin-acc/"},
        // An empty answer keeps the stored address rather than none.
        {{"", true, "", ""}, true, "http://wtt.example/", "http://stat.example/", "http://builtin-acc/"},
        {{EncodeText("http://new-wtt/", AddressStartKey), true, EncodeText("http://new-stat/", AddressStartKey),
          EncodeText("http://new-acc/", AddressStartKey)},
         true,
         "http://new-wtt/",
         "http://new-stat/",
         "http://new-acc/"},
    };
    for (const Case& c : cases) {
        Settings s;
        ASSERT_TRUE(ReadSettings(dir_, s, Sources(c.answers)));
        EXPECT_EQ(s.WttAvailable, c.wtt);
        EXPECT_EQ(s.ChatAvailable, c.answers.ChatAvailable);
        EXPECT_EQ(s.WttAddress, c.wttAddress);
        EXPECT_EQ(s.StatAddress, c.statAddress);
        EXPECT_EQ(DecodeText(s.AccPath, AddressStartKey), c.accAddress);
    }
}

TEST_F(SettingsFolder, MissingFileAndUnwritableFolder)
{
    // Without a file the program's built-in addresses are in force.
    Settings builtIn;
    EXPECT_FALSE(ReadSettings(dir_, builtIn));
    EXPECT_EQ(builtIn.WttAddress.rfind("http", 0), 0u);
    EXPECT_EQ(builtIn.StatAddress.rfind("http", 0), 0u);
    EXPECT_NE(builtIn.WttAddress, builtIn.StatAddress);

    Settings s;
    s.SoundOn = false;
    EXPECT_FALSE(ReadEarlySettings(dir_, s));
    EXPECT_FALSE(s.SoundOn);
    EXPECT_FALSE(ReadSettings(dir_, s));
    EXPECT_TRUE(s.SoundOn);

    // A folder that is a file cannot take a settings file, not even for the
    // super-user.
    std::ofstream(dir_ + "plain") << "x";
    EXPECT_FALSE(WriteSettings(dir_ + "plain/", s));
}

TEST_F(SettingsFolder, SurvivesAKillDuringAnyWrite)
{
    Settings one, two;
    two.SoundOn = false;
    two.PlayerName = "Second";
    const std::string a = SettingsFileText(one), b = SettingsFileText(two);
    ASSERT_TRUE(WriteSettings(dir_, one));
    std::mt19937 random(777);
    std::uniform_int_distribution<int> pause(0, 3000);
    for (int round = 0; round < 300; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            for (;;) {
                WriteSettings(dir_, two);
                WriteSettings(dir_, one);
            }
        ::usleep(static_cast<useconds_t>(pause(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const auto now = ReadWholeFile(Path());
        ASSERT_TRUE(now && (*now == a || *now == b)) << "round " << round;
    }
}

TEST(FontPlan, HeightsBySizeAndFont)
{
    struct Case {
        int size;
        double scale;
        bool noOwnFont;
        int main, buttonN, member;
        const char* memberFont;
        bool memberBold;
    };
    const Case cases[] = {
        {1, 1.0, false, 22, 18, 11, "FixedSys", false},
        {1, 1.0, true, 18, 18, 11, "FixedSys", false},
        {4, 1.7, false, 35, 28, 27, "Courier New", true},
        {4, 1.7, true, 28, 28, 27, "Courier New", true},
        {5, 2.0, false, 40, 32, 32, "Courier New", true},
        {3, 1.3, false, 26, 21, 21, "Courier New", true}, // 21.06 + 5; 16 x 1.3 = 20.8
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        Settings s;
        s.WindowSize = c.size;
        s.NoOwnFont = c.noOwnFont;
        UpdateFontNames(s);
        const FontPlan plan = PlanFonts(s, c.scale);
        EXPECT_EQ(plan.MainButtons.Height, c.main);
        EXPECT_EQ(plan.MainButtons.Name, c.noOwnFont ? "Times New Roman" : "OldCyr Bold");
        EXPECT_TRUE(plan.MainButtons.Bold);
        EXPECT_EQ(plan.ButtonN.Height, c.buttonN);
        EXPECT_EQ(plan.MemberButtons.Height, c.member);
        EXPECT_EQ(plan.MemberButtons.Name, c.memberFont);
        EXPECT_EQ(plan.MemberButtons.Bold, c.memberBold);
        EXPECT_TRUE(plan.MemberButtons.FixedPitch);
    }
}

TEST_F(SettingsFolder, ANewInstallationCountsItsFirstStartAndMayLike)
{
    // No file: the unique start is still to be reported and the like to be
    // given; a file that is there keeps what it says.
    Settings fresh;
    EXPECT_FALSE(ReadSettings(dir_, fresh));
    EXPECT_FALSE(fresh.StartCounted);
    EXPECT_FALSE(fresh.LikeSent);
    fresh.StartCounted = true;
    ASSERT_TRUE(WriteSettings(dir_, fresh));
    Settings again;
    ASSERT_TRUE(ReadSettings(dir_, again));
    EXPECT_TRUE(again.StartCounted);
    EXPECT_FALSE(again.LikeSent);
}
