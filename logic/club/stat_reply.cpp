#include "logic/club/stat_reply.h"

#include <vector>

#include "common/readers.h"
#include "common/product.h"

namespace vk {

std::optional<TTevStat> ReadStatsReply(std::string_view reply)
{
    TTevStat stat;
    stat.GID = ProductNumber;
    if (reply.size() < 2)
        return stat;
    const std::size_t dollar = reply.substr(0, reply.size() - 1).find('$');
    if (dollar == std::string_view::npos)
        return stat;
    std::string_view record = reply.substr(dollar + 1);
    const std::size_t star = record.find('*');
    record = star != std::string_view::npos ? record.substr(0, star) : record.substr(0, record.size() - 1);
    const std::vector<std::string> pieces = SplitWords(" " + std::string(record) + " ", ' ');
    const auto piece = [&pieces](std::size_t i) { return i < pieces.size() ? pieces[i] : std::string(); };
    const auto number = [&piece](std::size_t i, std::int32_t& target) {
        const auto n = IntegerWord(piece(i));
        if (n)
            target = *n;
        return n.has_value();
    };
    if (!number(1, stat.Stat1) || !number(2, stat.Stat2) || !number(3, stat.Stat3))
        return std::nullopt;
    stat.Stat4 = piece(4);
    for (std::size_t k = 0; k < stat.StatX.size(); ++k)
        if (!number(5 + k, stat.StatX[k]))
            return std::nullopt;
    if (!number(17, stat.StatY))
        return std::nullopt;
    stat.StatZ = piece(18);
    return stat;
}

} // namespace vk
