#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/atomic_file.h"
#include "common/codepage.h"
#include "common/product.h"
#include "common/text_lines.h"
#include "logic/localdata/club_file.h"

using namespace vk;
namespace fs = std::filesystem;

namespace {

std::string Cp(const char* utf8) { return *Utf8ToCp1251(utf8); }

// A scratch folder of its own for each test.
class TempDir {
public:
    TempDir()
    {
        std::string pattern = (fs::temp_directory_path() / "vk_club_XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempDir()
    {
        std::error_code ec;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path_, ec);
    }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

void WriteBytes(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string Member(const char* utf8Name, long long score, int deals, const char* password = "")
{
    return MakeMemberLine(Cp(utf8Name), score, deals, EncodePassword(Cp(password)));
}

ClubLines WithMembers(const std::vector<std::string>& members)
{
    ClubLines lines = EmptyClubFile();
    for (std::size_t i = 0; i < members.size(); ++i)
        lines[i] = members[i];
    SealClubFile(lines);
    return lines;
}

std::vector<int> MemberScores(const ClubLines& lines)
{
    std::vector<int> scores;
    for (int n = 0; n < MemberCount; ++n)
        scores.push_back(IsEmptyMemberLine(lines[n]) ? -1 : MemberScore(lines[n]));
    return scores;
}

} // namespace

TEST(ClubFile, SumsOfAFileOfHashes)
{
    ClubLines lines;
    for (int n = 0; n < ClubLineCount; ++n)
        lines[n] = std::string(n < MemberCount ? MemberLineLength : TopTenLineLength, '#');
    const ClubSums sums = ComputeClubSums(lines);
    EXPECT_EQ(sums.Sum1, 20405);
    EXPECT_EQ(sums.Sum2, 10185);
    EXPECT_EQ(sums.Sum3, 6790);
    SealClubFile(lines);
    EXPECT_EQ(lines[16], "##########020405010185006790");
}

TEST(ClubFile, AcceptsAndRefuses)
{
    const ClubLines good = WithMembers({Member("Вася", 1500, 7, "ab"), Member("Petya", -12, 3)});
    const std::string bytes = ClubFileBytes(good);
    const std::size_t line3 = 2 * (MemberLineLength + 2);
    const std::size_t line16 = 5 * (MemberLineLength + 2) + 10 * (TopTenLineLength + 2);
    const std::size_t sum1 = line16 + TopTenLineLength + 2 + 10;

    auto edited = [&](std::function<void(std::string&)> edit) {
        std::string b = bytes;
        edit(b);
        return b;
    };
    auto resealed = [&](std::function<void(ClubLines&)> edit) {
        ClubLines l = good;
        edit(l);
        SealClubFile(l);
        return ClubFileBytes(l);
    };
    ASSERT_EQ(bytes.substr(sum1, 1), "0");

    struct Case {
        const char* what;
        std::string bytes;
        bool accepted;
    };
    const Case cases[] = {
        {"as written", bytes, true},
        {"without the last line end", bytes.substr(0, bytes.size() - 2), true},
        {"18 lines", bytes + std::string(28, '#') + "\r\n", false},
        {"16 lines", bytes.substr(0, line16 + TopTenLineLength + 2), false},
        {"line 6 of 27", resealed([](ClubLines& l) { l[5].pop_back(); }), false},
        {"line 1 of 56", resealed([](ClubLines& l) { l[0] += ' '; }), false},
        {"one byte changed in line 3", edited([&](std::string& b) { b[line3 + 40] = '$'; }), false},
        {"marker 150, 118", resealed([](ClubLines& l) { l[15][1] = 118; }), false},
        {"marker as a UTF-8 dash", resealed([](ClubLines& l) { l[15] = "\xE2\x80\x93u" + l[15].substr(2); }), false},
        {"Sum1 + 1", edited([&](std::string& b) { b[sum1 + 5] = static_cast<char>(b[sum1 + 5] + 1); }), false},
        {"Sum1 with a plus sign", edited([&](std::string& b) { b[sum1] = '+'; }), false},
        {"Sum1 with a leading blank", edited([&](std::string& b) { b[sum1] = ' '; }), false},
        {"a letter in Sum3", edited([&](std::string& b) { b[sum1 + 13] = 'A'; }), false},
        {"the whole file in UTF-8", Cp1251ToUtf8(bytes), false},
        {"empty", "", false},
        // Positions 1 and 7 are both odd and neither divides by 3: the three
        // sums cannot see such a swap.
        {"two bytes swapped under the same sums", edited([](std::string& b) { std::swap(b[0], b[6]); }), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ParseClubFile(c.bytes).has_value(), c.accepted);
    }
}

TEST(ClubFile, InspectsTheFileOnDisk)
{
    TempDir dir;
    const std::string path = dir.File("Vokabron.clb");
    EXPECT_EQ(InspectClubFile(path).Verdict, ClubCheck::Missing);

    WriteBytes(path, ClubFileBytes(EmptyClubFile()));
    ClubCheckResult r = InspectClubFile(path);
    EXPECT_EQ(r.Verdict, ClubCheck::Good);
    EXPECT_FALSE(r.WriteProtected);
    EXPECT_EQ(r.DistributionLabel, "STD");

    WriteBytes(path, "not a club file\r\n");
    EXPECT_EQ(InspectClubFile(path).Verdict, ClubCheck::Bad);
}

TEST(ClubFile, AWriteProtectedFileIsAcceptedAndNeverWritten)
{
    TempDir dir;
    const std::string path = dir.File("Vokabron.clb");
    const std::string before = ClubFileBytes(WithMembers({Member("Anna", 700, 2)}));
    WriteBytes(path, before);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

    const ClubCheckResult r = InspectClubFile(path);
    EXPECT_EQ(r.Verdict, ClubCheck::Good);
    EXPECT_TRUE(r.WriteProtected);

    // Even a state that missed the start-up check does not replace the file:
    // the protection is looked at again when writing.
    LocalClubState state;
    EXPECT_EQ(StoreDealResult(Member("Boris", 900, 4), path, state), ClubWrite::Protected);
    EXPECT_EQ(TakeMemberOut(1, path, state), ClubWrite::Protected);
    state.ClubWriteProtected = true;
    EXPECT_EQ(TakeMemberOut(1, path, state), ClubWrite::Protected);
    EXPECT_EQ(ReadWholeFile(path), before);
}

TEST(ClubFile, UpdatesCheckTheFileAgain)
{
    TempDir dir;
    const std::string path = dir.File("Vokabron.clb");
    LocalClubState state;
    EXPECT_EQ(StoreDealResult(Member("Anna", 700, 2), path, state), ClubWrite::BadFile);
    std::string damaged = ClubFileBytes(EmptyClubFile());
    damaged[3] = 'x';
    WriteBytes(path, damaged);
    EXPECT_EQ(TakeMemberOut(1, path, state), ClubWrite::BadFile);
    EXPECT_EQ(ReadWholeFile(path), damaged);
}

TEST(ClubFile, FilesMemberLinesByScore)
{
    struct Case {
        const char* what;
        std::vector<int> before; // -1 an empty slot
        int score;
        std::vector<int> after;
        int newAt; // 1..5
    };
    const Case cases[] = {
        {"a tie goes above the older line", {2000, 1500, 900, -1, -1}, 1500, {2000, 1500, 1500, 900, -1}, 2},
        {"an empty list", {-1, -1, -1, -1, -1}, 10, {10, -1, -1, -1, -1}, 1},
        {"an empty slot before a weaker line", {800, 700, -1, -1, -1}, 100, {800, 700, 100, -1, -1}, 3},
        {"the best pushes the fifth out", {500, 400, 300, 200, 100}, 600, {600, 500, 400, 300, 200}, 1},
        {"the weakest replaces the fifth", {500, 400, 300, 200, 100}, 50, {500, 400, 300, 200, 50}, 5},
        {"a negative score", {500, -1, -1, -1, -1}, -3, {500, -3, -1, -1, -1}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> members;
        for (std::size_t i = 0; i < c.before.size(); ++i)
            members.push_back(c.before[i] < 0 ? std::string(EmptyMemberLine)
                                              : Member("Old", c.before[i], static_cast<int>(i)));
        ClubLines lines = WithMembers(members);
        int score = -7, place = -7;
        const std::string record = Member("New", c.score, 9, "pw");
        StoreDealResultInLines(record, false, lines, score, place);
        EXPECT_EQ(MemberScores(lines), c.after);
        EXPECT_EQ(lines[c.newAt - 1], record);
        EXPECT_EQ(score, -7); // only the top ten reports a result
        EXPECT_EQ(place, -7);
    }
}

TEST(ClubFile, EntersTheTopTen)
{
    auto topTen = [](std::vector<int> scores) {
        ClubLines lines = EmptyClubFile();
        for (std::size_t i = 0; i < scores.size(); ++i)
            lines[MemberCount + i] = MakeTopTenLine("P" + std::to_string(i + 1), scores[i]);
        return lines;
    };
    const std::vector<int> full = {990, 980, 970, 960, 950, 940, 930, 920, 910, 900};
    struct Case {
        const char* what;
        std::vector<int> before;
        int score;
        int place;
    };
    const Case cases[] = {
        {"equal to the first", full, 990, 1},
        {"equal to the tenth", full, 900, 10},
        {"one point short of the tenth", full, 899, 0},
        {"between two places", full, 955, 5},
        {"an empty top ten", {}, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClubLines lines = topTen(c.before);
        const ClubLines old = lines;
        int score = 0, place = -1;
        StoreDealResultInLines(Member("Winner", c.score, 20), true, lines, score, place);
        EXPECT_EQ(score, c.score);
        EXPECT_EQ(place, c.place);
        for (int n = 0; n < MemberCount; ++n)
            EXPECT_EQ(lines[n], old[n]);
        if (c.place == 0) {
            EXPECT_EQ(lines, old);
            continue;
        }
        const std::size_t k = MemberCount + c.place - 1;
        EXPECT_EQ(lines[k], PadRight("Winner", 20) + PadLeft(std::to_string(c.score), 8));
        for (std::size_t r = MemberCount; r < k; ++r)
            EXPECT_EQ(lines[r], old[r]);
        for (std::size_t r = k + 1; r < MemberCount + TopTenCount; ++r)
            EXPECT_EQ(lines[r], old[r - 1]); // moved down; the old tenth fell out
    }
}

TEST(ClubFile, StoresThroughTheFile)
{
    TempDir dir;
    const std::string path = dir.File("Vokabron.clb");
    WriteBytes(path, ClubFileBytes(EmptyClubFile()));
    LocalClubState state;
    EXPECT_EQ(StoreDealResult(Member("Ира", 1200, 7, "q"), path, state), ClubWrite::Written);
    state.GameComplete = true;
    EXPECT_EQ(StoreDealResult(Member("Ира", 1180, 20, "q"), path, state), ClubWrite::Written);
    EXPECT_EQ(state.ResultPlace, 1);
    EXPECT_EQ(state.ResultScore, 1180);
    const auto lines = ReadClubFile(path);
    ASSERT_TRUE(lines);
    EXPECT_EQ(MemberName((*lines)[0]), PadRight(Cp("Ира"), 20));
    EXPECT_EQ(MemberDeals((*lines)[0]), 7);
    EXPECT_EQ(TopTenName((*lines)[5]), PadRight(Cp("Ира"), 20));
    EXPECT_EQ(TopTenScoreField((*lines)[5]), "    1180");
    EXPECT_EQ(DecodePassword(1, path), Cp("q    "));
}

TEST(ClubFile, TakesMembersOut)
{
    const std::vector<std::string> five = {Member("A", 5, 1), Member("B", 4, 1), Member("C", 3, 1), Member("D", 2, 1),
                                           Member("E", 1, 1)};
    const std::string empty(EmptyMemberLine);
    struct Case {
        std::vector<std::string> before;
        int slot;
        std::vector<std::string> after;
    };
    const Case cases[] = {
        {five, 1, {five[1], five[2], five[3], five[4], empty}},
        {five, 5, {five[0], five[1], five[2], five[3], empty}},
        {{five[0], five[1], five[2], empty, empty}, 2, {five[0], five[2], empty, empty, empty}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slot);
        ClubLines lines = WithMembers(c.before);
        TakeMemberOutOfLines(c.slot, lines);
        EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + MemberCount), c.after);
    }
}

TEST(ClubFile, MemberLineFields)
{
    EXPECT_EQ(MakeMemberLine("Ivan", -12, 7, EncodePassword("ab")),
              "Ivan                #     -12#  7 ######" + EncodePassword("ab"));
    // A score too wide for its field is held to what it can show; a name
    // cannot add a line to the file.
    const std::string wide = MakeMemberLine("a\r\nb", 123456789012LL, 1234, "");
    EXPECT_EQ(wide.size(), MemberLineLength);
    EXPECT_EQ(wide.substr(0, 4), "a??b");
    EXPECT_EQ(wide.substr(21, 8), "99999999");
    EXPECT_EQ(wide.substr(30, 3), "999");

    struct Number {
        const char* field;
        long long value;
    };
    for (const Number& n : {Number{"    1500", 1500}, Number{"  -42   ", -42}, Number{"        ", 0},
                            Number{"  12a   ", 0}, Number{" +12    ", 0}, Number{"1 2", 0}, Number{"--1", 0}})
        EXPECT_EQ(ParseNumberField(n.field), n.value) << n.field;

    // A short line is a free slot whose fields read as blanks.
    EXPECT_TRUE(IsEmptyMemberLine("Anna                #     700"));
    EXPECT_FALSE(IsEmptyMemberLine(Member("Anna", 700, 2)));
    EXPECT_EQ(MemberPasswordCode("short"), std::string(15, ' '));
    // A resumed game never starts past its last deal.
    EXPECT_EQ(MemberDeals(MakeMemberLine("A", 1, 25, "")), DealsPerGame - 1);
    EXPECT_EQ(MemberDeals(MakeMemberLine("A", 1, 19, "")), 19);
}

TEST(ClubFile, Passwords)
{
    const std::string two = EncodePassword("ab");
    EXPECT_EQ(two.size(), PasswordCodeLength);
    EXPECT_EQ(two, EncodePassword("ab "));
    EXPECT_NE(two, EncodePassword("AB"));
    EXPECT_EQ(DecodePasswordCode(two), "ab   ");
    EXPECT_EQ(DecodePasswordCode(EncodePassword("")), "     ");
    const std::string cyr = Cp("Ёжик");
    EXPECT_EQ(DecodePasswordCode(EncodePassword(cyr)), cyr + " ");
    EXPECT_EQ(EncodePassword(std::string(1, '\xFF')).substr(0, 3), std::to_string(255 + PasswordCodeOffset));

    for (const char* bad : {"999999999999999", "000000000000000", "34934935035035", "3493493503503500",
                            "349349350350 35", "#####################", ""})
        EXPECT_FALSE(DecodePasswordCode(bad).has_value()) << bad;
}

TEST(ClubFile, TheShippedFileIsTheEmptyClub)
{
    const auto shipped = ReadWholeFile(VOKABRON_SOURCE_DIR "/resources/Vokabron.clb");
    ASSERT_TRUE(shipped);
    EXPECT_EQ(*shipped, ClubFileBytes(EmptyClubFile()));
    const auto lines = ParseClubFile(*shipped);
    ASSERT_TRUE(lines);
    for (int n = 0; n < MemberCount; ++n)
        EXPECT_TRUE(IsEmptyMemberLine((*lines)[n]));
    for (int n = MemberCount; n < MemberCount + TopTenCount; ++n)
        EXPECT_EQ((*lines)[n], EmptyTopTenLine());
}

// Kills a process that keeps rewriting the file at random moments: after
// every kill the file must be whole, valid, and one of the two states.
TEST(ClubFile, SurvivesAKillDuringAnyWrite)
{
    TempDir dir;
    const std::string path = dir.File("Vokabron.clb");
    const ClubLines without = EmptyClubFile();
    ClubLines with = without;
    const std::string record = Member("Killer", 777, 5, "x");
    int s = 0, p = 0;
    StoreDealResultInLines(record, false, with, s, p);
    SealClubFile(with);
    const std::string a = ClubFileBytes(without), b = ClubFileBytes(with);
    WriteBytes(path, a);

    std::mt19937 random(12345);
    std::uniform_int_distribution<int> pause(0, 4000);
    for (int round = 0; round < 300; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            LocalClubState state;
            for (;;) {
                TakeMemberOut(1, path, state);
                StoreDealResult(record, path, state);
            }
        }
        ::usleep(static_cast<useconds_t>(pause(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const auto now = ReadWholeFile(path);
        ASSERT_TRUE(now) << "round " << round;
        ASSERT_TRUE(*now == a || *now == b) << "round " << round;
        ASSERT_EQ(InspectClubFile(path).Verdict, ClubCheck::Good) << "round " << round;
    }
}
