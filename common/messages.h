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
    OptSound,
    OptMusic,
    OptOwnFont,
    OptAskAtStart,
    SizeSmall,
    SizeFullScreen,
    SizeMedium1,
    SizeMedium2,
    SizeLarge,
    CantSaveOptions,
    Welcome,
    EnterName,
    EnterPassword,
    PasswordAgain,
    Cancel,
    IncorrectName,
    PasswordsDiffer,
    IncorrectPassword,
    NameChanged,
    NewName,
    CantFindFile,
    IncorrectFile,
    TheFile,
    BadAttributes,
    WorkIncorrect,
    DiskWriteError,
    PlayerCaption,
    RatingGame,
    NotRatingGame,
    DealNumberRow,
    InitialScoreRow,
    CurrentScoreRow,
    GeneralScoreRow,
    GameOver,
    Congratulations,
    BestResult,
    ResultIs,
    PlaceIs,
    Chairman,
    GoodResult,
    InTopTen,
    Regrets,
    PoorResult,
    NotInTopTen,
    YouEarned,
    Tevs,
    ThanksTitle,
    Thanks1,
    Thanks2,
    Thanks3,
    Thanks4,
    MoreInHelp,
    OfficialSite,
    Email,
    MakerTown,
    CreditIdeaTitle,
    CreditIdea,
    CreditArtTitle,
    CreditArt,
    CreditSoundTitle,
    CreditSound,
    FontsCaption,
    FontHintStart,
    FontHintEnd,
    NoOwnFontBox,
    NoFontWindowBox,
    MissingResource,
    LeaveToMenu,
    Next,
    BaseNumber,
    Count
};

std::string_view MessageText(Msg id, int uiLanguage);

// The language the program speaks: 0 English, 1 Russian.  The window
// initialisation sets it once; every text shown is looked up in it.
int UiLanguage();
void SetUiLanguage(int uiLanguage);
inline std::string_view MessageText(Msg id) { return MessageText(id, UiLanguage()); }

} // namespace vk
