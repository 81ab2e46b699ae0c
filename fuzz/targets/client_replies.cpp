// The game's readers of the club server's replies.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "logic/club/account_replies.h"
#include "common/readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view reply(reinterpret_cast<const char*>(data), size);
    vk::ResultCode(reply, "ok");
    vk::DollarRecord(reply);
    vk::StarRecords(reply, 10);
    vk::TrailingNumber(reply);
    for (const auto& word : vk::SplitWords(reply, ' ')) {
        vk::IntegerWord(word);
        vk::TextToFloat(word, 0);
    }
    vk::SplitWords(reply, '~');
    vk::ReadRegisterReply(reply);
    auto user = vk::LoginPlaceholders("Nomad", "secret12");
    vk::ReadLoginReply(reply, user);
    auto rows = vk::EmptyTopTen();
    vk::ReadTopTenReply(reply, rows);
    vk::ReadBalanceReply(reply);
    vk::TInfo14 card;
    vk::ReadInfoReply(reply, card);
    vk::TTevGame game;
    vk::PrepareGameRecord(game);
    vk::ReadGameReply(reply, game);
    vk::StatConfirmed(reply);
    if (const auto number = vk::TextToFloat(reply, 0))
        vk::FloatToText(*number);
    return 0;
}
