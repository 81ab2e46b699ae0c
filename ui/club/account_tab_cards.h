#pragma once
// The account window's two cards: the member's own card and photo ("Обо
// мне"), with the button that asks the window to open the card editor
// (`editCardClicked`), and the chairman's card, whose rows copy a text or
// open a link when clicked.  Texts of other members are drawn, never
// interpreted.
#include "ui/club/account_tab_kit.h"

namespace vk {

class AccountAboutTab : public AccountTab {
    Q_OBJECT
public:
    AccountAboutTab(ClubStateData& club, int& clubState);

    void PaintAboutTab();

signals:
    void editCardClicked(); // ButtonAva1

private:
    TTevQuizButton* ButtonAva1 = nullptr;
};

class AccountChairmanTab : public AccountTab {
    Q_OBJECT
public:
    AccountChairmanTab(ClubStateData& club, int& clubState);

    // Handlers.
    void PaintChairmanTab();
    void ImageN6MouseUp(QPoint at);

signals:
    // What the player is told (a row copied to the clipboard).
    void notice(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace vk
