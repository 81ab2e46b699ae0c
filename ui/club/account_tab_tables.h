#pragma once
// The account window's two tables: the member's results in the game and the
// club's top 10.  Each has a button that asks the window to read its table
// again (`refreshClicked`).  Texts of other members are drawn, never
// interpreted.
#include "ui/club/account_tab_kit.h"

namespace vk {

class AccountResultsTab : public AccountTab {
    Q_OBJECT
public:
    AccountResultsTab(ClubStateData& club, int& clubState);

    // A read of the member's game record in this window found no server:
    // the tab says "No Connect" even after a sign-out.  A player who never
    // logged in sees only the game's name.
    void SetReadFailed(bool failed) { readFailed_ = failed; }

    void PaintResultsTab();

signals:
    void refreshClicked(); // ButtonRef2

private:
    TTevQuizButton* refreshButton = nullptr; // ButtonRef2
    bool readFailed_ = false;
};

class AccountTopTenTab : public AccountTab {
    Q_OBJECT
public:
    AccountTopTenTab(ClubStateData& club, int& clubState);

    void PaintTopTenTab();

signals:
    void refreshClicked(); // ButtonRef3

private:
    TTevQuizButton* refreshButton = nullptr; // ButtonRef3
};

} // namespace vk
