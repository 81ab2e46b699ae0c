#pragma once
// The main menu of the main window: the menu picture with the title and its
// animations, the five member lines under their column headings, the
// buttons, and the icons along the top edge.  It shows what the window's
// state says and reports the player's clicks; what a click starts stays
// with the window.
#include <QImage>
#include <QObject>
#include <QString>
#include <array>
#include <string>

#include "common/layout.h"
#include "logic/game/menu_layout.h"

class QWidget;

namespace vk {

class AnimationPlayer;
class PictureBox;
class TTevQuizButton;
struct FontTargets;
struct Settings;

class MenuView : public QObject {
    Q_OBJECT
public:
    MenuView(QWidget* window, const Settings& prefs, const Layout& lay);

    // Builds the menu for the window's size: the picture, the title, the
    // animations, the icons (the store's only with a store link) and the
    // buttons, with the account lamp of `clubState`.
    void Show(int clubState, bool storeLink);
    // The captions that do not change with the window's size.
    void SetButtonCaptions();
    // The store's icon, shown only with a store link.
    void ShowStoreIcon(bool storeLink);
    // Club states 1 to 3; any other value shows state 1.
    void ShowAccountLamp(int state);
    // Why the player is not logged in (a failed automatic login), added to
    // the logged-out lamp's tooltip; empty for none.
    void SetAccountNote(const QString& note);
    // Member lines 1..5 as the club file holds them; the fifth in the
    // local colours.
    void ShowMemberLines(const std::array<std::string, 5>& lines);
    // The club's record of a logged-in member on the fifth line, in red.
    void ShowClubMemberLine(const std::string& nick, int dealReached, int score);
    void Hide();
    // Every button drawn again at once (a size change).
    void Repaint();
    // The animations stopped and let go (the window closes).
    void ClearAnimations();
    // The menu picture is let go while a game is on.
    void DropPicture() { picture_ = QImage(); }
    const QImage& Picture() const { return picture_; }
    // The main window's buttons and member lines, for their fonts.
    void AddFontTargets(FontTargets& targets) const;

signals:
    void memberClicked(int line); // 1..5
    void newPlayerClicked();
    void topTenClicked();
    void optionsClicked();
    void exitClicked();
    void iconClicked(vk::MenuIcon icon);

private:
    void Place();
    void DressIcon(PictureBox* icon, const QString& picture);

    QWidget* window_;
    const Settings& prefs_;
    const Layout& lay_;
    MainMenuLayout layout_; // as the last build placed the menu
    QImage picture_;        // "G_BGMenu" at the window's size

    PictureBox* title = nullptr;                  // ImageCa
    std::array<AnimationPlayer*, 4> animations{}; // RxGIFAnSvLeft, RxGIFAnSvRight, RxGIFAnMan, RxGIFAnClock
    QWidget* memberList = nullptr;                // holds the member lines
    std::array<TTevQuizButton*, 5> memberLines{}; // Button1 .. Button5
    std::array<TTevQuizButton*, 3> headings{};    // Panel1 .. Panel3
    TTevQuizButton* newPlayerButton = nullptr;    // Button6, "Новый Игрок"
    TTevQuizButton* topTenButton = nullptr;       // Button9, "Чемпионы"
    TTevQuizButton* optionsButton = nullptr;      // Button10, "Опции"
    TTevQuizButton* exitButton = nullptr;         // Button11, "Выход"
    // ImOnLineL, ImageAn, ImAc, ImOnLineR, ImHp, ImSt, ImCh, ImWT: 48 x 48,
    // unscaled, with the hand cursor.
    std::array<PictureBox*, MenuIconCount> icons{};
    QString accountNote_;
    int accountState_ = 1;
};

} // namespace vk
