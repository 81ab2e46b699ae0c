#include <gtest/gtest.h>

#include "logic/club/remote_config.h"

using namespace vk;

TEST(ClubRemoteConfig, KeyValues)
{
    struct Case {
        const char* text;
        const char* key;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {"StatPath=abc#", "StatPath", "abc"},
        {"AccPath:abc#\r\n", "AccPath", "abc"}, // any separator byte is skipped
        {"StatPath=#", "StatPath", ""},
        {"x=1#StatPath=a#StatPath=b#", "StatPath", "a"}, // first occurrence
        {"statpath=abc#", "StatPath", std::nullopt},     // case-sensitive
        {"StatPath=abc", "StatPath", std::nullopt},      // cut short before its "#"
        {"StatPath=", "StatPath", std::nullopt},
        {"StatPath", "StatPath", std::nullopt},
        {"", "StatPath", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeyValue(c.text, c.key), c.value) << c.text;
}

TEST(ClubRemoteConfig, WorldTopTenAnswer)
{
    struct Case {
        const char* text;
        int selector;
        std::string answer;
        bool chat;
    };
    const Case cases[] = {
        {"WTGamesPatt=P2#StatPath=S#AccPath=A#\r\n", 2, "P2", true},
        {"WTGamesPath=P1#WTGamesPatt=P2#", 1, "P1", true},
        {"WTGamesPatt=P2#WTGamesPause#\r\n", 2, "pause", true},
        {"WTGamesPatt=P2#CTGamesPause#\r\n", 2, "P2", false},
        {"WTGamesPause#CTGamesPause#", 2, "pause", false},
        {"StatPath=S#", 2, "old", true},
        {"WTGamesPatt=P2", 2, "old", true}, // value cut short
        {"WTGamesPatt=#", 2, "old", true},  // an empty path keeps the stored one
        {"", 2, "old", true},
    };
    for (const auto& c : cases) {
        bool chat = !c.chat;
        EXPECT_EQ(ReadWttPath(c.text, c.selector, chat), c.answer) << c.text;
        EXPECT_EQ(chat, c.chat) << c.text;
    }
}

TEST(ClubRemoteConfig, NewsPage)
{
    const std::string page = PageText("RuStore_Link_Vokabron=https://store.example/app#\n"
                                      "DownLoad_Link_Vokabron=https://example.org/v.apk#\n"
                                      "NewsVokabron4.1=Y#Новости#Вышла версия 4.3#https://example.org/news#-#\n");
    const NewsPage news = ReadNewsPage(page);
    EXPECT_EQ(news.StoreLink, "https://store.example/app");
    EXPECT_EQ(news.PackageLink, "https://example.org/v.apk");
    EXPECT_TRUE(news.ShowNews);
    EXPECT_EQ(news.Title, "\xCD\xEE\xE2\xEE\xF1\xF2\xE8"); // "Новости" in the program's code page
    EXPECT_EQ(news.Link, "https://example.org/news");

    const NewsPage quiet = ReadNewsPage("NewsVokabron4.1=N#t#x#l#-#");
    EXPECT_FALSE(quiet.ShowNews);
    EXPECT_EQ(quiet.StoreLink, "");
    EXPECT_EQ(quiet.PackageLink, "");

    // A news entry cut short shows nothing.
    EXPECT_FALSE(ReadNewsPage("NewsVokabron4.1=Y#title#text").ShowNews);
    EXPECT_FALSE(ReadNewsPage("").ShowNews);
}

TEST(ClubRemoteConfig, PageTextJoinsLinesWithCrLf)
{
    EXPECT_EQ(PageText("a\nb\r\nc"), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(PageText("a\n"), "a\r\n");
    EXPECT_EQ(PageText(""), "");
    // Characters the code page lacks, and stray bytes, become "?".
    EXPECT_EQ(PageText("x\xE2\x82\xAC\xF0\x9F\x98\x80\xFFy"), "x\x88??y\r\n");
}
