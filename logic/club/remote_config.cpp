#include "logic/club/remote_config.h"

#include <cstdio>

#include "common/codepage.h"
#include "common/outside_link.h"
#include "common/product.h"
#include "common/text_lines.h"

namespace vk {
namespace {

// Length of the UTF-8 sequence a lead byte opens (1 for a stray byte).
std::size_t SequenceLength(unsigned char lead)
{
    if (lead >= 0xF0 && lead <= 0xF7)
        return 4;
    if (lead >= 0xE0)
        return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

void AppendCp1251(std::string& out, std::string_view utf8Line)
{
    for (std::size_t pos = 0; pos < utf8Line.size();) {
        const std::size_t len =
            std::min(SequenceLength(static_cast<unsigned char>(utf8Line[pos])), utf8Line.size() - pos);
        const auto converted = Utf8ToCp1251(utf8Line.substr(pos, len));
        out += converted ? *converted : std::string("?");
        pos += len;
    }
}

// The "#"-terminated field starting at `start`, with `start` moved past it.
std::optional<std::string> HashField(std::string_view text, std::size_t& start)
{
    if (start > text.size())
        return std::nullopt;
    const std::size_t end = text.find('#', start);
    if (end == std::string_view::npos)
        return std::nullopt;
    std::string value(text.substr(start, end - start));
    start = end + 1;
    return value;
}

// Where the value after a key starts (one separator byte skipped).
std::optional<std::size_t> ValueStart(std::string_view text, std::string_view key)
{
    const std::size_t pos = text.find(key);
    if (pos == std::string_view::npos)
        return std::nullopt;
    return pos + key.size() + 1;
}

} // namespace

std::string PageText(std::string_view utf8Body)
{
    std::vector<std::string> lines = SplitLines(utf8Body);
    for (std::string& line : lines) {
        std::string converted;
        AppendCp1251(converted, line);
        line = std::move(converted);
    }
    return JoinLines(lines);
}

std::optional<std::string> KeyValue(std::string_view text, std::string_view key)
{
    auto start = ValueStart(text, key);
    return start ? HashField(text, *start) : std::nullopt;
}

std::string ReadWttPath(std::string_view text, int selector, bool& chatAvailable)
{
    chatAvailable = text.find(ChatPauseWord) == std::string_view::npos;
    if (text.find(WttPauseWord) != std::string_view::npos)
        return "pause";
    const auto value = KeyValue(text, selector == 1 ? "WTGamesPath" : "WTGamesPatt");
    // An empty path would leave the world top ten without an address for the
    // whole run: keep the stored one, as when the key is absent.
    return value && !value->empty() ? *value : "old";
}

NewsPage ReadNewsPage(std::string_view text)
{
    NewsPage page;
    page.StoreLink = KeyValue(text, StoreLinkKey).value_or("");
    page.PackageLink = KeyValue(text, PackageLinkKey).value_or("");
    if (auto start = ValueStart(text, NewsKey)) {
        const auto flag = HashField(text, *start);
        const auto title = HashField(text, *start);
        const auto body = HashField(text, *start);
        const auto link = HashField(text, *start);
        if (flag && title && body && link) {
            page.ShowNews = *flag == "Y";
            page.Title = *title;
            page.Text = *body;
            page.Link = *link;
        }
    }
    return page;
}

namespace {

std::string AdvertisementValue(std::string_view text, const std::string& key)
{
    const auto at = text.find(key);
    if (at == std::string_view::npos)
        return {};
    const std::string_view rest = text.substr(at + key.size());
    const auto end = rest.find("##");
    return end == std::string_view::npos ? std::string() : std::string(rest.substr(0, end));
}

std::string AdvertisementKey(int number, char field)
{
    char key[16];
    std::snprintf(key, sizeof key, "SecAdv%03d%c=", number, field);
    return key;
}

} // namespace

std::optional<int> AdvertisementCount(std::string_view text)
{
    constexpr std::string_view key = "SecAdv0000=";
    const auto at = text.find(key);
    if (at == std::string_view::npos || text.size() < at + key.size() + 3)
        return std::nullopt;
    const std::string_view digits = text.substr(at + key.size(), 3);
    if (digits.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    const int n = (digits[0] - '0') * 100 + (digits[1] - '0') * 10 + (digits[2] - '0');
    return n > 3 ? std::optional<int>(n) : std::nullopt;
}

Advertisement ReadAdvertisement(std::string_view text, int number, std::string_view clubBase)
{
    Advertisement ad{AdvertisementValue(text, AdvertisementKey(number, 'I')),
                     AdvertisementValue(text, AdvertisementKey(number, 'N')),
                     AdvertisementValue(text, AdvertisementKey(number, 'L'))};
    // Pictures are fetched and links handed to the browser only as the news
    // page's links are: https, or the club's own origin.
    for (std::string* address : {&ad.Picture, &ad.Link})
        if (!address->empty() && !SecureOrClubAddress(*address, clubBase))
            address->clear();
    return ad;
}

} // namespace vk
