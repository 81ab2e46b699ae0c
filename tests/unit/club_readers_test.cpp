#include <gtest/gtest.h>

#include "common/readers.h"

using namespace vk;

namespace {

struct CodeCase {
    const char* reply;
    const char* code;
    bool found;
};

} // namespace

TEST(ClubReaders, ResultCodeLooksOnlyBeforeTheFirstDollar)
{
    const CodeCase cases[] = {
        {"ok", "ok", true},
        {"no", "no", true},
        {"is", "is", true},
        {"Ok", "ok", false}, // case-sensitive
        {"Ok", "Ok", true},
        {"", "ok", false},
        {"n", "no", false},
        {"xxokxx", "ok", true},
        // Data after the first "$" never counts: a member from "Unknown" or
        // "Krasnodar", an e-mail "nora@...", a card saying "I know nothing".
        {"$Tula Unknown 1-000 M nora@example.org 10.12.2024 xxx xxx xxx 25 0 0$", "no", false},
        {"$Krasnodar Russia 1-001 M a@b.c 10.12.2024 xxx xxx xxx 0 0 0$", "no", false},
        {"$Ivan~~I know nothing~~~~~~~~~~~$", "no", false},
        {"$token$", "ok", false},
        {"no$25$", "no", true},
        {"$", "no", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResultCode(c.reply, c.code), c.found) << c.reply << " / " << c.code;
}

TEST(ClubReaders, DollarRecordNeverTakesTheLastByte)
{
    struct Case {
        std::string reply;
        std::optional<std::string> record;
    };
    const Case cases[] = {
        {"$rec$", "rec"},
        {"$rec$\r\n", "rec"},
        {"$Moscow", "Mosco"}, // without a closing "$" the last byte is lost
        {"$rec\r\n", "rec\r"},
        {"junk$a b$c$", "a b"},
        {"$$", ""},
        {"$", std::nullopt}, // the only "$" is the last byte
        {"abc$", std::nullopt},
        {"no", std::nullopt},
        {"", std::nullopt},
        {"$1 950 951 1 0 0 0 #$", "1 950 951 1 0 0 0 #"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DollarRecord(c.reply), c.record) << c.reply;
}

TEST(ClubReaders, StarRecordsOpenAtEveryDollar)
{
    struct Case {
        std::string reply;
        std::size_t limit;
        std::vector<std::string> records;
    };
    const Case cases[] = {
        {"$r1*$r2*", 10, {"r1", "r2"}},
        {"$r1*$r2", 10, {"r1", "r"}},                          // last row without "*" loses its last byte
        {"$No$mad 1-007*", 10, {"No$mad 1-007", "mad 1-007"}}, // a "$" in data opens a row mid-way
        {"$a*$b*$c*", 2, {"a", "b"}},
        {"", 10, {}},
        {"$", 10, {}},
        {"$1 Nomad Tula Russia 1-001 M 951*$2 Lynx Omsk  6-012 W 921.5*",
         10,
         {"1 Nomad Tula Russia 1-001 M 951", "2 Lynx Omsk  6-012 W 921.5"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StarRecords(c.reply, c.limit), c.records) << c.reply;
}

TEST(ClubReaders, TrailingNumberReadsDigitsAfterTheLastUsableDollar)
{
    struct Case {
        std::string reply;
        std::optional<std::int32_t> number;
    };
    const Case cases[] = {
        {"$17 ", 17},
        {"$17$", 17}, // the last "$" is the last byte: the one before counts
        {"$17 \r\n", 17},
        {"$17", 1}, // the last byte is never read
        {"$25\r\n", 25},
        {"$1$2 ", 2},
        {"$-3 ", std::nullopt}, // no sign
        {"$ 5 ", std::nullopt},
        {"text only", std::nullopt},
        {"$", std::nullopt},
        {"", std::nullopt},
        {"$99999999999 ", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TrailingNumber(c.reply), c.number) << c.reply;
}

TEST(ClubReaders, WordsKeepTheirNumbers)
{
    EXPECT_EQ(SplitWords("a b c", ' '), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(SplitWords("a  c", ' '), (std::vector<std::string>{"a", "", "c"}));
    EXPECT_EQ(SplitWords(" a ", ' '), (std::vector<std::string>{"", "a", ""}));
    EXPECT_EQ(SplitWords("", ' '), (std::vector<std::string>{""}));
    EXPECT_EQ(SplitWords("x~~y", '~'), (std::vector<std::string>{"x", "", "y"}));
}

TEST(ClubReaders, IntegerWords)
{
    struct Case {
        const char* word;
        std::optional<std::int32_t> value;
    };
    const Case cases[] = {
        {"25", 25},
        {"0", 0},
        {"-3", -3},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"+5", std::nullopt},
        {"0\r", std::nullopt},
        {"1e3", std::nullopt},
        {"#", std::nullopt},
        {" 5", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IntegerWord(c.word), c.value) << c.word;
}

TEST(ClubReaders, TextToFloatTakesAnyPointByte)
{
    struct Case {
        const char* text;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"951", 951.0},
        {"1234.5", 1234.5},
        {"12,5", 12.5},
        {"-2.5", -2.5},
        {"", 7.0}, // the default
        {" 12 ", 12.0},
        {"0", 0.0},
        {"abc", std::nullopt},
        {"1e3", 1.3}, // "e" is the point
        {"1.5e3", std::nullopt},
        {"12.5.1", std::nullopt},
        {"1 2", std::nullopt},
        {"-", std::nullopt},
        {"#", std::nullopt},
        {"   ", std::nullopt},
        {"921.5*", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextToFloat(c.text, 7.0), c.value) << c.text;
}

TEST(ClubReaders, FloatToTextIsFixedPointWithFifteenDigits)
{
    struct Case {
        double x;
        const char* text;
    };
    const Case cases[] = {
        {1234.5, "1234.5"},
        {100, "100"},
        {-2.5, "-2.5"},
        {0.000005, "0"},
        {-0.000009, "0"},
        {0.00001, "0.00001"},
        {0.00002, "0.00002"},
        {951, "951"},
        {1.0 / 3, "0.333333333333333"},
        {950.0 / 3 + 3, "319.666666666667"},
        {123456789012345.0, "123456789012345"},
        {999999999999999.0, "999999999999999"},
        {1e15, "1E15"},
        {1.5e20, "1.5E20"},
        {0.1 + 0.2, "0.3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FloatToText(c.x), c.text) << c.x;
}

TEST(ClubReaders, FloatToTextReadsBackThroughTextToFloat)
{
    for (const double x : {951.0, 981.5, 319.666666666667, 1000.25, 0.5, 12345.678901234})
        EXPECT_EQ(FloatToText(*TextToFloat(FloatToText(x), 0)), FloatToText(x));
}
