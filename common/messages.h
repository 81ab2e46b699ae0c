#pragma once
// Every text the program sets at run time, in English and Russian.  The
// language index is always 1 (Russian); the English texts stay with them.
// The table holds UTF-8: its texts go straight to the widgets.
#include <string_view>

namespace vk {

enum class Msg {
    NewPlayer,
    Options,
    TopTen,
    Exit,
    ExitToMenu,
    AllDataLost,
    LeaveTheGame,
    GeneralScore,
    ChangeName,
    Help,
    About,
    Incognito,
    Chat,
    Yes,
    No,
    Ok,
    ReleaseDate,
    Credit,
    Count
};

std::string_view MessageText(Msg id, int uiLanguage);

} // namespace vk
