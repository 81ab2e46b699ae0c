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
    {Msg::OptSound, {"Sound", "Звук"}},
    {Msg::OptMusic, {"Music", "Музыка"}},
    {Msg::OptOwnFont, {"", "Собственный шрифт"}},
    {Msg::OptAskAtStart, {"", "Спрашивать при запуске"}},
    {Msg::SizeSmall, {"", "Маленькое окно"}},
    {Msg::SizeFullScreen, {"", "На весь экран"}},
    {Msg::SizeMedium1, {"", "Среднее окно 1"}},
    {Msg::SizeMedium2, {"", "Среднее окно 2"}},
    {Msg::SizeLarge, {"", "Большое окно"}},
    {Msg::CantSaveOptions, {"Cann`t save options!", "Не могу сохранить опции!"}},
    {Msg::Welcome, {"Welcome!", "Добро пожаловать!"}},
    {Msg::EnterName, {"Enter Your name:", "Введите Ваше имя:"}},
    {Msg::EnterPassword, {"Enter Your password:", "Введите Ваш пароль:"}},
    {Msg::PasswordAgain, {"And once again for check...", "И ещё раз для проверки..."}},
    {Msg::Cancel, {"Cancel", "Отмена"}},
    {Msg::IncorrectName, {"Incorrect name!", "Неверное имя!"}},
    {Msg::PasswordsDiffer, {"The passwords do not coincide!", "Пароли не совпадают!"}},
    {Msg::IncorrectPassword, {"The incorrect password!", "Неверный пароль!"}},
    {Msg::NameChanged, {"Your name and/or the password were successfully changed!", "Ваше имя и/или пароль были успешно изменены!"}},
    {Msg::NewName, {"New name: ", "Новое имя: "}},
    {Msg::CantFindFile, {"Cann`t find the file", "Не могу найти файл"}},
    {Msg::IncorrectFile, {"The incorrect file", "Неверный файл"}},
    {Msg::TheFile, {"The file", "Файл"}},
    {Msg::BadAttributes, {" has incorrect attributes!", " имеет неверные атрибуты!"}},
    {Msg::WorkIncorrect, {"The work of the program will be incorrect!", "Работа программы будет некорректной!"}},
    {Msg::DiskWriteError, {"Error of disk writing!!", "Ошибка записи на диск!"}},
    {Msg::PlayerCaption, {"Player:  ", "Игрок:  "}},
    {Msg::RatingGame, {"There is a game on the rating!", "Идет игра на рейтинг!"}},
    {Msg::NotRatingGame, {"The game is not on the rating!", "Игра не на рейтинг!"}},
    {Msg::DealNumberRow, {"General number of round:", "Общий номер кона:"}},
    {Msg::InitialScoreRow, {"The initial score:", "Начальный счёт:"}},
    {Msg::CurrentScoreRow, {"The current score:", "Текущий счёт:"}},
    {Msg::GeneralScoreRow, {"The general score:", "Общий счёт:"}},
    {Msg::GameOver, {"The completion of game", "Окончание игры"}},
    {Msg::Congratulations, {"CONGRATULATIONS!!!", "ПОЗДРАВЛЯЕМ!!!"}},
    {Msg::BestResult, {"Your outcome best!", "Ваш результат лучший!"}},
    {Msg::ResultIs, {"Outcome: ", "Результат: "}},
    {Msg::PlaceIs, {"Place: ", "Место: "}},
    {Msg::Chairman, {"You become the chairman of club!", "Вы становитесь председателем клуба!"}},
    {Msg::GoodResult, {"Good outcome!", "Хороший результат!"}},
    {Msg::InTopTen, {"You have hitted in top ten players!", "Вы попали в десятку лучших игроков!"}},
    {Msg::Regrets, {"Our regrets...", "Наши сожаления..."}},
    {Msg::PoorResult, {"Your outcome keeps to wish best", "Ваш результат не очень..."}},
    {Msg::NotInTopTen, {"You have not hitted in ten best players...", "Вы не попали в десятку лучших игроков..."}},
    {Msg::YouEarned, {"You get", "Вы заработали"}},
    {Msg::Tevs, {"Tevs", "Тевов"}},
    {Msg::ThanksTitle, {"Separate thank you:", "Отдельное спасибо:"}},
    {Msg::Thanks1, {"In the program it was used", "В программе было использовано"}},
    {Msg::Thanks2, {"many graphic, sound and", "много графических, звуковых и"}},
    {Msg::Thanks3, {"musical fragments.", "музыкальных фрагментов."}},
    {Msg::Thanks4, {"Thanks to their authors.", "Спасибо их авторам."}},
    {Msg::MoreInHelp, {"More in detail in the help", "Подробнее в помощи"}},
    {Msg::OfficialSite, {"Official site:", "Официальный сайт:"}},
    {Msg::Email, {"E-mail:", "Электронная почта:"}},
    {Msg::MakerTown, {"Yekaterinburg", "Екатеринбург"}},
    {Msg::CreditIdeaTitle, {"Program and pictures:", "Программа и рисунки:"}},
    {Msg::CreditIdea, {"the Vokabron team", "команда Вокаброна"}},
    {Msg::CreditArtTitle, {"Font:", "Шрифт:"}},
    {Msg::CreditArt, {"Old Standard TT, A. Kryukov", "Old Standard TT, А. Крюков"}},
    {Msg::CreditSoundTitle, {"Flags and instruments:", "Флаги и инструменты:"}},
    {Msg::CreditSound, {"flag-icons, FluidR3 GM", "flag-icons, FluidR3 GM"}},
    {Msg::FontsCaption, {"Fonts", "Шрифты"}},
    {Msg::FontHintStart, {"If above instead of the word \"", "Если сверху вместо слова \""}},
    {Msg::FontHintEnd, {"\", You see squares, put a tick against the item \"Do not use own font\".", "\", Вы видите квадратики, поставьте галочку напротив пункта \"Не использовать собственный шрифт\"."}},
    {Msg::NoOwnFontBox, {"Do not use own font", "Не использовать собственный шрифт"}},
    {Msg::NoFontWindowBox, {"Do not show this window again", "Больше не показывать это окно"}},
    {Msg::MissingResource, {"Program resource not found: %1", "Не найден ресурс программы: %1"}},
    {Msg::LeaveToMenu, {"You want to leave in the main menu?", "Вы хотите выйти в главное меню?"}},
    {Msg::Next, {"Next", "Дальше"}},
    {Msg::BaseNumber, {"Base number", "Номер базы"}},
    {Msg::MembersOfClub, {"The members of club", "Члены клуба"}},
    {Msg::GamesColumn, {"Games", "Коны"}},
    {Msg::ScoreColumn, {"Score", "Счет"}},
    {Msg::NotLoggedIn, {"You are not logged in to your account!", "Вы не вошли в свой аккаунт!"}},
    {Msg::LoggedIn, {"You are logged in to your account!", "Вы вошли в свой аккаунт!"}},
    {Msg::RatingGameOn, {"There is a game on the rating!", "Идет игра на рейтинг!"}},
    {Msg::HintMoreGames, {"More games!", "Больше игр!"}},
    // %1 is the English product name.
    {Msg::HintDownload, {"Download %1.apk", "Скачать %1.apk"}},
    {Msg::HintStore, {"\"%1\" on RuStore", "\"%1\" на RuStore"}},
    {Msg::HintStatistics, {"Statistics", "Статистика"}},
    {Msg::HintChat, {"Tev-Chat", "Tev-Чат"}},
    {Msg::HintWorldTopTen, {"World Top Ten", "World Top Ten"}},
    // %1 is the product name in the language shown.
    {Msg::ApkUnavailable, {"\"%1\" in Apk is temporarily unavailable!", "\"%1\" в формате Apk временно недоступен!"}},
    {Msg::StoreUnavailable, {"\"%1\" on RuStore is temporarily unavailable!", "\"%1\" на RuStore временно недоступен!"}},
    {Msg::ChatUnavailable, {"Chat is temporarily unavailable!", "Чат временно недоступен!"}},
    {Msg::WorldTopTenUnavailable, {"World Top Ten is temporarily unavailable!", "Турнир World Top Ten временно недоступен!"}},
    {Msg::ClubNotConnected, {"The players' club is not connected yet!", "Клуб игроков пока не подключён!"}},
    {Msg::HelpNotTranslated, {"Excuse!\n\rThe file of the help is not translated to the English language.", ""}},
    {Msg::HelpContents, {"Contents", "Содержание"}},
    {Msg::HelpBack, {"Back", "Назад"}},
    {Msg::HelpForward, {"Forward", "Вперёд"}},
    // %1 the file's name, %2 the part received in per cent.
    {Msg::Downloading, {"Downloading %1: %2%", "Загрузка %1: %2%"}},
    {Msg::CopiedToClipboard, {"Copied to the clipboard!", "Скопировано в буфер обмена!"}},
    {Msg::StatStarts, {"Number of starts", "Число запусков"}},
    {Msg::StatUniqueStarts, {"Number of unique starts", "Число уникальных запусков"}},
    {Msg::StatLikes, {"Likes", "Лайки"}},
    {Msg::StatLastLike, {"Last Like", "Последний Лайк"}},
    {Msg::StatPlayedDeals, {"Played Rounds", "Сыгранных конов"}},
    {Msg::StatPlayedGames, {"Played games", "Сыгранных партий"}},
    {Msg::StatNote, {"This statistic is maintained since version 3.8", "Эта статистика ведется начиная с версии 3.8"}},
    {Msg::ILikeThisGame, {"I like this game!", "Мне нравится эта игра!"}},
    {Msg::Nick, {"Nick", "Ник"}},
    {Msg::AdvCaption, {"Advertising", "Реклама"}},
    // A configuration that was read but publishes no advertisements.
    {Msg::NoAdvertisements, {"No advertisements", "Нет объявлений"}},
    // The continents of the country lists, by continent digit 1 to 6.
    {Msg::Europe, {"Europe", "Европа"}},
    {Msg::Asia, {"Asia", "Азия"}},
    {Msg::NorthAmerica, {"North America", "Северная Америка"}},
    {Msg::SouthAmerica, {"South America", "Южная Америка"}},
    {Msg::Oceania, {"Oceania", "Океания"}},
    {Msg::Africa, {"Africa", "Африка"}},
    {Msg::SexMale, {"Male", "Мужской"}},
    {Msg::SexFemale, {"Female", "Женский"}},
    // The world top ten and the chat.
    {Msg::Passport, {"Passport", "Паспорт"}},
    {Msg::CountryLabel, {"Country:", "Страна:"}},
    {Msg::CityLabel, {"City:", "Город:"}},
    {Msg::SexLabel, {"Sex:", "Пол:"}},
    {Msg::TotalGames, {"Total games: ", "Всего игр: "}},
    {Msg::SendResult, {"Send", "Отправить"}},
    {Msg::PersonalData, {"Personal data", "Личные данные"}},
    {Msg::Close, {"Close", "Закрыть"}},
    {Msg::NickLabel, {"Nick:", "Ник:"}},
    {Msg::CountryAndCity, {"Country & City", "Страна & Город"}},
    {Msg::YourScore, {"Your score:", "Ваш счёт:"}},
    {Msg::YourPlace, {"Your place:", "Ваше место:"}},
    {Msg::CantWriteResult, {"Unable to write the result of the game!", "Не удалось записать результат игры!"}},
    {Msg::CantSendMessage, {"Unable to send a message!", "Не удалось отправить сообщение!"}},
}};

constexpr bool TableInOrder()
{
    for (std::size_t i = 0; i < kTable.size(); ++i)
        if (static_cast<std::size_t>(kTable[i].id) != i)
            return false;
    return true;
}
static_assert(TableInOrder(), "message table entries must follow the Msg order");

int currentLanguage = 1;

} // namespace

int UiLanguage() { return currentLanguage; }

void SetUiLanguage(int uiLanguage) { currentLanguage = uiLanguage == 0 ? 0 : 1; }

std::string_view MessageText(Msg id, int uiLanguage)
{
    const auto index = static_cast<std::size_t>(id);
    if (index >= kTable.size())
        return {};
    return kTable[index].text[uiLanguage == 0 ? 0 : 1];
}

} // namespace vk
