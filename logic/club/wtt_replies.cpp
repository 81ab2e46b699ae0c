#include "logic/club/wtt_replies.h"

#include <algorithm>
#include <cstdio>

#include "logic/club/passport_text.h"
#include "common/readers.h"
#include "common/codepage.h"
#include "common/product.h"

namespace vk {

WttRows PresetWttRows(int gid)
{
    WttRows rows;
    for (TTevRecord& row : rows)
        row.GID = gid;
    return rows;
}

bool ReadWttRows(std::string_view reply, WttRows& rows)
{
    const auto records = StarRecords(reply, rows.size());
    for (std::size_t k = 0; k < records.size(); ++k) {
        TTevRecord& row = rows[k];
        const auto words = SplitWords(records[k], ' ');
        if (!TakeInteger(words, 1, row.Place) || !TakeInteger(words, 3, row.Score))
            return false;
        TakeText(words, 4, row.Nick);
        TakeText(words, 5, row.Country);
        TakeText(words, 6, row.City);
        TakeText(words, 7, row.R07);
        TakeText(words, 8, row.R08);
        TakeText(words, 9, row.R09);
        TakeText(words, 10, row.R10);
    }
    return true;
}

std::string CleanChatText(std::u32string_view text)
{
    std::string out;
    for (const char32_t cp : text.substr(0, ChatMessageCapacity)) {
        const auto byte = UnicodeToCp1251(cp);
        const std::string one(1, byte ? static_cast<char>(*byte) : '_');
        out += CheckPassportText(one, PassportCharacter) == 1 ? std::string("_") : one;
    }
    return out;
}

std::string ChatShown(std::string_view text)
{
    std::string shown(text);
    std::replace(shown.begin(), shown.end(), '_', ' ');
    return shown;
}

std::string ChatStamp(const std::tm& t)
{
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%02d:%02d_%02d.%02d.%04d_%s", t.tm_hour, t.tm_min, t.tm_mday, t.tm_mon + 1,
                  t.tm_year + 1900, ProductNames[0]);
    return stamp;
}

std::string ChatHeader(const TTevRecord& m) { return m.City + " : " + ChatShown(m.R09) + " " + m.R08 + " : " + m.Nick; }

} // namespace vk
