#include "logic/localdata/club_file.h"

#include <algorithm>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

#include "common/atomic_file.h"
#include "common/product.h"
#include "common/text_lines.h"

namespace vk {
namespace {

constexpr int kMarkerLine = 16; // counted from 1
constexpr int kChecksumLine = 17;
constexpr long long kScoreMax = 99999999; // what 8 characters can show
constexpr long long kScoreMin = -9999999;

std::string& Line(ClubLines& lines, int number) { return lines[static_cast<std::size_t>(number - 1)]; }
const std::string& Line(const ClubLines& lines, int number) { return lines[static_cast<std::size_t>(number - 1)]; }

// Exactly six ASCII digits; a sign or a blank makes the field unreadable.
std::optional<long> SixDigits(std::string_view field)
{
    if (field.size() != 6)
        return std::nullopt;
    long value = 0;
    for (const char c : field) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string SixDigitText(long value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%06ld", std::clamp(value, 0L, 999999L));
    return buffer;
}

bool FileWritable(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    // The owner's super-user still counts a file with every write bit off as
    // protected: that is what the player did to protect it.
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return false;
    return ::access(path.c_str(), W_OK) == 0;
}

// Reads, changes, seals and replaces the file; the change gets the lines.
template <typename Change>
ClubWrite RewriteClubFile(const std::string& path, const LocalClubState& state, Change&& change)
{
    auto lines = ReadClubFile(path);
    if (!lines)
        return ClubWrite::BadFile;
    change(*lines);
    SealClubFile(*lines);
    if (state.ClubWriteProtected || !FileWritable(path))
        return ClubWrite::Protected;
    // Whatever the change did, only a file that the start-up check would
    // accept goes to disk.
    if (!ClubLinesValid(*lines))
        return ClubWrite::Failed;
    return WriteFileAtomically(path, ClubFileBytes(*lines)) ? ClubWrite::Written : ClubWrite::Failed;
}

} // namespace

long long ParseNumberField(std::string_view field)
{
    field = TrimBlanks(field);
    bool negative = false;
    if (!field.empty() && field.front() == '-') {
        negative = true;
        field.remove_prefix(1);
    }
    if (field.empty() || field.size() > 18)
        return 0;
    long long value = 0;
    for (const char c : field) {
        if (c < '0' || c > '9')
            return 0;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

bool IsEmptyMemberLine(std::string_view line) { return line.size() < MemberLineLength || line[32] == '#'; }

std::string MemberName(std::string_view line) { return FieldAt(line, 1, NameLength); }

int MemberScore(std::string_view line)
{
    return static_cast<int>(std::clamp(ParseNumberField(FieldAt(line, 22, 8)), kScoreMin, kScoreMax));
}

int MemberDeals(std::string_view line)
{
    // A stored count of 20 or more would let the next deal run past the end
    // of the game; such a line resumes at its last deal.
    return static_cast<int>(std::clamp(ParseNumberField(FieldAt(line, 31, 3)), 0LL, DealsPerGame - 1LL));
}

std::string MemberPasswordCode(std::string_view line) { return FieldAt(line, 41, PasswordCodeLength); }

MemberLine MakeMemberLine(std::string_view name, long long score, int deals, std::string_view passwordCode)
{
    MemberLine line = PadRight(StorableText(name), NameLength);
    line += '#';
    line += PadLeft(std::to_string(std::clamp(score, kScoreMin, kScoreMax)), 8);
    line += '#';
    line += PadLeft(std::to_string(std::clamp(deals, 0, 999)), 3);
    line += " ######";
    std::string code = StorableText(passwordCode.substr(0, PasswordCodeLength));
    code.resize(PasswordCodeLength, '#');
    line += code;
    return line;
}

std::string TopTenName(std::string_view line) { return FieldAt(line, 1, NameLength); }
std::string TopTenScoreField(std::string_view line) { return FieldAt(line, 21, 8); }

int TopTenScore(std::string_view line)
{
    return static_cast<int>(std::clamp(ParseNumberField(TopTenScoreField(line)), kScoreMin, kScoreMax));
}

TopTenLine MakeTopTenLine(std::string_view name, long long score)
{
    return PadRight(StorableText(name), NameLength)
           + PadLeft(std::to_string(std::clamp(score, kScoreMin, kScoreMax)), 8);
}

TopTenLine EmptyTopTenLine() { return MakeTopTenLine("", 0); }

ClubSums ComputeClubSums(const ClubLines& lines)
{
    ClubSums sums;
    long position = 0;
    for (int n = 1; n <= kMarkerLine; ++n) {
        for (const char c : Line(lines, n)) {
            ++position;
            // Bytes count 0..255: the marker's 150 must not count as -106.
            const long b = static_cast<unsigned char>(c);
            sums.Sum1 += b;
            if (position % 2 == 0)
                sums.Sum2 += b;
            if (position % 3 == 0)
                sums.Sum3 += b;
        }
    }
    return sums;
}

void SealClubFile(ClubLines& lines)
{
    const ClubSums sums = ComputeClubSums(lines);
    std::string& last = Line(lines, kChecksumLine);
    last = PadRight(last, 10) + SixDigitText(sums.Sum1) + SixDigitText(sums.Sum2) + SixDigitText(sums.Sum3);
}

bool ClubLinesValid(const ClubLines& lines)
{
    for (int n = 1; n <= ClubLineCount; ++n) {
        const std::size_t wanted = n <= MemberCount ? MemberLineLength : TopTenLineLength;
        const std::string& line = Line(lines, n);
        if (line.size() != wanted)
            return false;
        if (line.find_first_of("\r\n") != std::string::npos)
            return false;
    }
    const std::string& marker = Line(lines, kMarkerLine);
    if (static_cast<unsigned char>(marker[0]) != MarkerByte1 || static_cast<unsigned char>(marker[1]) != MarkerByte2)
        return false;
    const std::string& last = Line(lines, kChecksumLine);
    const auto s1 = SixDigits(std::string_view(last).substr(10, 6));
    const auto s2 = SixDigits(std::string_view(last).substr(16, 6));
    const auto s3 = SixDigits(std::string_view(last).substr(22, 6));
    if (!s1 || !s2 || !s3)
        return false;
    const ClubSums sums = ComputeClubSums(lines);
    return *s1 == sums.Sum1 && *s2 == sums.Sum2 && *s3 == sums.Sum3;
}

std::optional<ClubLines> ParseClubFile(std::string_view bytes)
{
    const auto split = SplitLines(bytes);
    if (split.size() != static_cast<std::size_t>(ClubLineCount))
        return std::nullopt;
    ClubLines lines;
    std::copy(split.begin(), split.end(), lines.begin());
    if (!ClubLinesValid(lines))
        return std::nullopt;
    return lines;
}

std::string ClubFileBytes(const ClubLines& lines) { return JoinLines(lines); }

ClubLines EmptyClubFile()
{
    ClubLines lines;
    for (int n = 1; n <= MemberCount; ++n)
        Line(lines, n) = std::string(EmptyMemberLine);
    for (int n = MemberCount + 1; n <= MemberCount + TopTenCount; ++n)
        Line(lines, n) = EmptyTopTenLine();
    std::string marker(TopTenLineLength, '#');
    marker[0] = static_cast<char>(MarkerByte1);
    marker[1] = static_cast<char>(MarkerByte2);
    Line(lines, kMarkerLine) = marker;
    // Positions 1-6 and 10 are free; 7-9 carry the distribution label.
    Line(lines, kChecksumLine) = "######STD#";
    SealClubFile(lines);
    return lines;
}

ClubCheckResult InspectClubFile(const std::string& path)
{
    ClubCheckResult result;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        result.Verdict = ClubCheck::Missing;
        return result;
    }
    const auto bytes = ReadWholeFile(path);
    const auto lines = bytes ? ParseClubFile(*bytes) : std::nullopt;
    if (!lines) {
        result.Verdict = ClubCheck::Bad;
        return result;
    }
    result.Verdict = ClubCheck::Good;
    result.DistributionLabel = FieldAt(Line(*lines, kChecksumLine), 7, 3);
    result.WriteProtected = !FileWritable(path);
    return result;
}

std::optional<ClubLines> ReadClubFile(const std::string& path)
{
    const auto bytes = ReadWholeFile(path);
    if (!bytes)
        return std::nullopt;
    return ParseClubFile(*bytes);
}

void TakeMemberOutOfLines(int slot, ClubLines& lines)
{
    if (slot < 1 || slot > MemberCount)
        return;
    for (int n = slot; n < MemberCount; ++n)
        Line(lines, n) = Line(lines, n + 1);
    Line(lines, MemberCount) = std::string(EmptyMemberLine);
}

void StoreDealResultInLines(std::string_view record, bool gameComplete, ClubLines& lines, int& resultScore,
                            int& resultPlace)
{
    const std::string line = PadRight(record, MemberLineLength);
    const int d = MemberScore(line);
    if (!gameComplete) {
        int k = MemberCount;
        for (int n = 1; n < MemberCount; ++n) {
            if (IsEmptyMemberLine(Line(lines, n)) || d >= MemberScore(Line(lines, n))) {
                k = n;
                break;
            }
        }
        for (int n = MemberCount; n > k; --n)
            Line(lines, n) = Line(lines, n - 1);
        Line(lines, k) = line;
        return;
    }
    const int first = MemberCount + 1;
    int place = 0;
    for (int r = 1; r <= TopTenCount; ++r) {
        if (d >= TopTenScore(Line(lines, first + r - 1))) {
            place = r;
            break;
        }
    }
    if (place > 0) {
        for (int r = TopTenCount; r > place; --r)
            Line(lines, first + r - 1) = Line(lines, first + r - 2);
        Line(lines, first + place - 1) = FieldAt(line, 1, NameLength) + FieldAt(line, 22, 8);
    }
    resultPlace = place;
    resultScore = d;
}

ClubWrite TakeMemberOut(int slot, const std::string& path, const LocalClubState& state)
{
    return RewriteClubFile(path, state, [slot](ClubLines& lines) { TakeMemberOutOfLines(slot, lines); });
}

ClubWrite StoreDealResult(std::string_view record, const std::string& path, LocalClubState& state)
{
    if (state.GameComplete) {
        // What the end-of-game window reports when the file cannot take the
        // result: the score, and no place.
        state.ResultScore = MemberScore(PadRight(record, MemberLineLength));
        state.ResultPlace = 0;
    }
    return RewriteClubFile(path, state, [&](ClubLines& lines) {
        StoreDealResultInLines(record, state.GameComplete, lines, state.ResultScore, state.ResultPlace);
    });
}

std::string EncodePassword(std::string_view password)
{
    const std::string padded = PadRight(password, PasswordLength);
    std::string code;
    for (const char c : padded) {
        char group[8];
        std::snprintf(group, sizeof group, "%03d", static_cast<unsigned char>(c) + PasswordCodeOffset);
        code += group;
    }
    return code;
}

std::optional<std::string> DecodePasswordCode(std::string_view code)
{
    if (code.size() != PasswordCodeLength)
        return std::nullopt;
    std::string password;
    for (std::size_t i = 0; i < PasswordCodeLength; i += 3) {
        int value = 0;
        for (std::size_t j = i; j < i + 3; ++j) {
            if (code[j] < '0' || code[j] > '9')
                return std::nullopt;
            value = value * 10 + (code[j] - '0');
        }
        value -= PasswordCodeOffset;
        if (value < 0 || value > 255)
            return std::nullopt;
        password += static_cast<char>(value);
    }
    return password;
}

std::optional<std::string> DecodePassword(int slot, const std::string& path)
{
    if (slot < 1 || slot > MemberCount)
        return std::nullopt;
    const auto lines = ReadClubFile(path);
    if (!lines)
        return std::nullopt;
    return DecodePasswordCode(MemberPasswordCode(Line(*lines, slot)));
}

} // namespace vk
