// A plain stand-in for the main menu until the real one is built: the five
// member lines as they stand in the club file and "Новый Игрок", each
// starting a game through the password window.  The real menu replaces this
// file whole.
#include <QFont>

#include "game/main_window.h"
#include "localdata/club_file.h"
#include "localdata/password_window.h"
#include "presentation/audio.h"
#include "presentation/quiz_button.h"
#include "presentation/text_codec.h"

namespace vk {

void TForm1::ShowStandInMenu()
{
    const auto lines = ReadClubFile(ClubFilePath());
    QFont list(QStringLiteral("Courier New"));
    list.setStyleHint(QFont::TypeWriter);
    list.setPixelSize(Lay.ScaleSize(14));
    const int w = Lay.ScaleSize(410) + Lay.ScaleSize(410) % 2;
    const int h = Lay.ScaleSize(30);
    for (int n = 1; n <= 6; ++n) {
        TTevQuizButton* b = n <= 5 ? MemberButtons[static_cast<std::size_t>(n - 1)] : Button6;
        const int top = Lay.ScaleTop(n <= 5 ? 180 + 36 * (n - 1) : 380, 30);
        if (n <= 5) {
            b->setGeometry(Lay.ScaleLeft(175, 410), top, w, h);
            b->setFont(list);
            b->setText(lines ? ToQString((*lines)[static_cast<std::size_t>(n - 1)].substr(0, 33)) : QString());
        } else {
            b->setGeometry(Lay.ScaleLeft(275, 210), top, Lay.ScaleSize(210) + Lay.ScaleSize(210) % 2, h);
        }
        b->setAccessibleName(b->text());
        b->show();
        b->raise();
        connect(b, &QPushButton::clicked, this, &TForm1::StandInClicked, Qt::UniqueConnection);
    }
}

void TForm1::StandInClicked()
{
    for (int n = 1; n <= 5; ++n)
        if (sender() == MemberButtons[static_cast<std::size_t>(n - 1)])
            StandInStart(n);
    if (sender() == Button6)
        StandInStart(6);
}

void TForm1::StandInStart(int n)
{
    if (!Game.MenuActive)
        return;
    Game.Local.PasswordAccepted = false;
    if (n <= 5) {
        const auto lines = ReadClubFile(ClubFilePath());
        if (!lines || IsEmptyMemberLine((*lines)[static_cast<std::size_t>(n - 1)]))
            return;
    }
    PlayWavRes(QStringLiteral("WClick"), Prefs.SoundOn);
    Game.MemberSlot = n;
    FormPassword->ShowModal(n <= 5 ? PasswordMode::Member : PasswordMode::NewPlayer, n, ClubFilePath(), Game.Local);
    if (!Game.Local.PasswordAccepted)
        return;
    Game.MenuActive = false;
    Game.DealActive = true;
    BeginDeal(false);
    update();
}

} // namespace vk
