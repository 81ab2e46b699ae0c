// Checks the help pages as they lie in the source tree: the help window and
// the club server show them as they are, so a page that is missing, not
// UTF-8, untitled, pulls in something from outside or links to a page or
// anchor that does not exist is a fault the player would meet.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char* const kPages[] = {"index.html", "rules.html", "menu.html", "options.html", "club.html", "credits.html"};

std::optional<std::string> ReadPage(const std::string& name)
{
    std::ifstream in(std::string(VOKABRON_SOURCE_DIR) + "/resources/help/" + name, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Strict UTF-8: no stray or missing continuation bytes, no overlong forms,
// no surrogates, nothing above U+10FFFF.
bool IsUtf8(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int extra;
        char32_t code, least;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1, code = lead & 0x1F, least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2, code = lead & 0x0F, least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3, code = lead & 0x07, least = 0x10000;
        } else {
            return false;
        }
        if (i + extra >= text.size())
            return false;
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

std::vector<std::string> AttributeValues(const std::string& html, const std::string& pattern)
{
    std::vector<std::string> values;
    const std::regex re(pattern);
    for (auto it = std::sregex_iterator(html.begin(), html.end(), re); it != std::sregex_iterator(); ++it)
        values.push_back((*it)[1]);
    return values;
}

// Every link that does not lead to a page of the set and an anchor on it,
// as "page: href".
std::vector<std::string> BrokenLinks(const std::map<std::string, std::string>& pages)
{
    std::map<std::string, std::set<std::string>> anchors;
    for (const auto& [name, html] : pages)
        for (const auto& anchor : AttributeValues(html, R"re(\b(?:id|name)="([^"]*)")re"))
            anchors[name].insert(anchor);

    std::vector<std::string> broken;
    const std::regex outside(R"re(^([a-zA-Z][a-zA-Z0-9+.-]*:|//))re");
    for (const auto& [name, html] : pages) {
        // Links of the text; the style sheet's link is checked on its own.
        for (const auto& href : AttributeValues(html, R"re(<a\b[^>]*\bhref="([^"]*)")re")) {
            const auto hash = href.find('#');
            const std::string file = href.substr(0, hash);
            const std::string target = file.empty() ? name : file;
            const bool ok = !href.empty() && !std::regex_search(href, outside) && pages.count(target)
                            && (hash == std::string::npos || anchors[target].count(href.substr(hash + 1)));
            if (!ok)
                broken.push_back(name + ": " + href);
        }
    }
    return broken;
}

std::map<std::string, std::string> ReadAllPages()
{
    std::map<std::string, std::string> pages;
    for (const char* name : kPages)
        if (auto html = ReadPage(name))
            pages[name] = *html;
    return pages;
}

} // namespace

TEST(HelpPages, Utf8CheckRefusesMalformedText)
{
    struct Case {
        std::string text;
        bool valid;
    };
    const Case cases[] = {
        {"plain ASCII", true},
        {"Ёлка и ёж, «кавычки» — тире", true},
        {"\xF0\x9F\x98\x80", true},  // a four-byte character
        {"\xC0\xC1\xC2", false},     // Windows-1251 bytes, not UTF-8
        {"\xD0", false},             // cut off at the end
        {"\xD0\x41", false},         // lead byte without continuation
        {"\x80", false},             // stray continuation byte
        {"\xC0\xAF", false},         // overlong "/"
        {"\xED\xA0\x80", false},     // a surrogate
        {"\xF4\x90\x80\x80", false}, // above U+10FFFF
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsUtf8(c.text), c.valid) << c.text;
}

TEST(HelpPages, EveryPageIsUtf8WithATitleAndNothingFromOutside)
{
    const std::regex title(R"re(<title>\s*([^<\s][^<]*)</title>)re");
    const std::regex outsideResource(R"re(<script|<img|<iframe|<object|\bsrc=|url\(|@import)re", std::regex::icase);
    // The one thing a page may pull in is the shared style sheet beside it.
    const std::regex link(R"re(<link\b[^>]*>)re", std::regex::icase);
    const std::string styleLink = R"(<link rel="stylesheet" type="text/css" href="help.css">)";
    for (const char* name : kPages) {
        SCOPED_TRACE(name);
        const auto html = ReadPage(name);
        ASSERT_TRUE(html.has_value()) << "missing page";
        EXPECT_TRUE(IsUtf8(*html));
        EXPECT_TRUE(std::regex_search(*html, title));
        EXPECT_FALSE(std::regex_search(*html, outsideResource));
        for (auto it = std::sregex_iterator(html->begin(), html->end(), link); it != std::sregex_iterator(); ++it)
            EXPECT_EQ(it->str(), styleLink);
    }
    const auto css = ReadPage("help.css");
    ASSERT_TRUE(css.has_value()) << "missing style sheet";
    EXPECT_TRUE(IsUtf8(*css));
    EXPECT_FALSE(std::regex_search(*css, outsideResource));
}

TEST(HelpPages, LinkCheckFindsMissingPagesAnchorsAndOutsideAddresses)
{
    const std::map<std::string, std::string> pages = {
        {"a.html", R"(<h2 id="here">x</h2><a href="b.html#there">ok</a><a href="#here">ok</a>)"
                   R"(<a href="b.html#nowhere">1</a><a href="c.html">2</a><a href="#gone">3</a>)"
                   R"(<a href="https://example.org/">4</a><a href="">5</a>)"},
        {"b.html", R"(<a name="there"></a><a href="a.html">ok</a>)"},
    };
    const std::vector<std::string> expected = {"a.html: b.html#nowhere", "a.html: c.html", "a.html: #gone",
                                               "a.html: https://example.org/", "a.html: "};
    EXPECT_EQ(BrokenLinks(pages), expected);
}

TEST(HelpPages, EveryLinkLeadsToAPageAndAnchorAndEveryPageLeadsHome)
{
    const auto pages = ReadAllPages();
    ASSERT_EQ(pages.size(), std::size(kPages));
    EXPECT_EQ(BrokenLinks(pages), std::vector<std::string>{});

    // The contents reach every page, and every page has its way back.
    const auto fromIndex = AttributeValues(pages.at("index.html"), R"re(\bhref="([^"#]*))re");
    const std::set<std::string> reached(fromIndex.begin(), fromIndex.end());
    for (const char* name : kPages) {
        SCOPED_TRACE(name);
        if (std::string(name) == "index.html")
            continue;
        EXPECT_TRUE(reached.count(name));
        const auto links = AttributeValues(pages.at(name), R"re(\bhref="([^"#]*))re");
        EXPECT_NE(std::find(links.begin(), links.end(), "index.html"), links.end());
    }
}
