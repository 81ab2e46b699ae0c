#include "common/messages.h"

#include <array>

namespace vk {
namespace {

struct Entry {
    Msg id;
    std::string_view text[2];
};

constexpr std::array<Entry, static_cast<int>(Msg::Count)> kTable = {{
    {Msg::NewPlayer, {"New Player", "Новый Игрок"}},
    {Msg::Options, {"Options", "Опции"}},
    {Msg::TopTen, {"Top Ten", "Чемпионы"}},
    {Msg::Exit, {"Exit", "Выход"}},
    {Msg::ExitToMenu, {"Exit to menu", "Выход в меню"}},
    {Msg::AllDataLost, {"All datas for want of it will be lost!", "Все данные при этом будут утеряны!"}},
    {Msg::LeaveTheGame, {"You want to leave from game?", "Вы хотите выйти из игры?"}},
    {Msg::GeneralScore, {"General score", "Общий счёт"}},
    {Msg::ChangeName, {"To change a name", "Изменить имя"}},
    {Msg::Help, {"Help", "Помощь"}},
    {Msg::About, {"About", "О Программе"}},
    {Msg::Incognito, {"Incognito", "Инкогнито"}},
    {Msg::Chat, {"Chat", "Чат"}},
    {Msg::Yes, {"Yes", "Да"}},
    {Msg::No, {"No", "Нет"}},
    {Msg::Ok, {"OK", "OK"}},
    {Msg::ReleaseDate, {"29 May, 2025", "29 Мая, 2025"}},
    {Msg::Credit, {"Pictures and sound: Vokabron", "Рисунки и звук: Вокаброн"}},
}};

constexpr bool TableInOrder()
{
    for (std::size_t i = 0; i < kTable.size(); ++i)
        if (static_cast<std::size_t>(kTable[i].id) != i)
            return false;
    return true;
}
static_assert(TableInOrder(), "message table entries must follow the Msg order");

} // namespace

std::string_view MessageText(Msg id, int uiLanguage)
{
    const auto index = static_cast<std::size_t>(id);
    if (index >= kTable.size())
        return {};
    return kTable[index].text[uiLanguage == 0 ? 0 : 1];
}

} // namespace vk
