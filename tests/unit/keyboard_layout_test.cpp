#include <gtest/gtest.h>

#include <map>
#include <string>

#include "logic/game/keyboard_layout.h"

using vk::RussianOnSameKey;

namespace {

// The standard Russian layout over the US keyboard, key row by key row.
struct Row {
    std::u32string latin;
    std::u32string russian;
};
const Row kRows[] = {
    {U"`qwertyuiop[]", U"ёйцукенгшщзхъ"}, {U"asdfghjkl;'", U"фывапролджэ"},  {U"zxcvbnm,.", U"ячсмитьбю"},
    {U"~QWERTYUIOP{}", U"ЁЙЦУКЕНГШЩЗХЪ"}, {U"ASDFGHJKL:\"", U"ФЫВАПРОЛДЖЭ"}, {U"ZXCVBNM<>", U"ЯЧСМИТЬБЮ"},
};

} // namespace

TEST(KeyboardLayout, EveryKeyGivesTheRussianLetterOnIt)
{
    for (const Row& row : kRows) {
        ASSERT_EQ(row.latin.size(), row.russian.size());
        for (std::size_t i = 0; i < row.latin.size(); ++i) {
            SCOPED_TRACE(static_cast<unsigned>(row.latin[i]));
            EXPECT_EQ(RussianOnSameKey(row.latin[i]), row.russian[i]);
        }
    }
}

TEST(KeyboardLayout, EachRussianLetterSitsOnExactlyOneKey)
{
    // The 33 small and 33 capital letters, Ё and ё among them.
    std::map<char32_t, int> reached;
    for (char32_t c = 0; c < 0x500; ++c) {
        const char32_t r = RussianOnSameKey(c);
        if (r != c)
            ++reached[r];
    }
    EXPECT_EQ(reached.size(), 66u);
    for (char32_t letter = U'А'; letter <= U'я'; ++letter)
        EXPECT_EQ(reached[letter], 1) << static_cast<unsigned>(letter);
    EXPECT_EQ(reached[U'ё'], 1);
    EXPECT_EQ(reached[U'Ё'], 1);
}

TEST(KeyboardLayout, OtherCharactersStayAsTyped)
{
    for (const char32_t c : std::u32string(U"кКёЁяЯ0179 /?-=\\|!@#$%^&*()_+\t\n\u00e9"))
        EXPECT_EQ(RussianOnSameKey(c), c) << static_cast<unsigned>(c);
}
