#pragma once
// Reading the remote configuration text and the news page: "#"-terminated
// values found after their keys.
#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace vk {

inline constexpr const char* WttPauseWord = "WTGamesPause";
inline constexpr const char* ChatPauseWord = "CTGamesPause";
inline constexpr const char* StatPathKey = "StatPath";
inline constexpr const char* AccPathKey = "AccPath";

// A page as the program reads it: UTF-8 lines joined with CR LF, in the
// program's code page ("?" for characters it lacks).
std::string PageText(std::string_view utf8Body);

// The value of the first occurrence of the key (case-sensitive): from one
// separator byte after the key up to the next "#".  A value that finds no
// "#" before the end of the text counts as not given: a page cut short must
// not replace a working address with half of one.
std::optional<std::string> KeyValue(std::string_view text, std::string_view key);

// The world top ten answer on a fetched configuration: "pause", "old" (key
// absent or its value empty) or the path value.  `chatAvailable` is false when the chat pause
// word occurs anywhere.  Selector 2 looks for "WTGamesPatt", 1 for
// "WTGamesPath".
std::string ReadWttPath(std::string_view text, int selector, bool& chatAvailable);

// What the news page gives.
struct NewsPage {
    std::string StoreLink;
    std::string PackageLink;
    bool ShowNews = false; // the news flag is "Y"
    std::string Title;
    std::string Text;
    std::string Link;
};
NewsPage ReadNewsPage(std::string_view text);

// The advertisement list of the configuration: "SecAdv0000=" with three
// digits N, then "SecAdv" kkk "I=", "N=", "L=" (kkk = 001 .. N) for the
// picture address, name and link, each ending before the next "##".
struct Advertisement {
    std::string Picture;
    std::string Name;
    std::string Link;
};
// N when the list is valid and holds at least four entries; nothing
// otherwise (no key, no three digits, three entries or fewer).
std::optional<int> AdvertisementCount(std::string_view text);
// Entry `number`; a picture or link that is neither https nor on the origin
// of clubBase (any address of the club) is left empty.
Advertisement ReadAdvertisement(std::string_view text, int number, std::string_view clubBase);

// Four different numbers from 1 to n (n >= 4), drawn uniformly; `draw(n)`
// answers a number from 0 to n - 1.
template <typename Draw>
std::array<int, 4> ChooseFourOf(int n, Draw draw)
{
    std::array<int, 4> chosen{};
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        int k;
        do
            k = draw(n) + 1;
        while (std::find(chosen.begin(), chosen.begin() + static_cast<std::ptrdiff_t>(i), k)
               != chosen.begin() + static_cast<std::ptrdiff_t>(i));
        chosen[i] = k;
    }
    return chosen;
}

} // namespace vk
