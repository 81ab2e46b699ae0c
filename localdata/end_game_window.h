#pragma once
// TFormEndGame ("Окончание игры"): the final result of a 20-deal game, its
// place in the top ten and, in a club rating game, the currency earned.
#include <QFont>
#include <functional>
#include <string>

#include "localdata/club_file.h"
#include "localdata/dialog_base.h"

class QLabel;

namespace vk {

class AnimationPlayer;
class PictureBox;
class TTevQuizButton;

class TFormEndGame : public LocalDialog {
    Q_OBJECT
public:
    TFormEndGame(Settings& prefs, const QImage& background, QWidget* parent = nullptr);

    // ResultScore, ResultPlace and ResultBonus come from State; ClubState 3
    // is a club rating game.  Plays the window's sounds.
    void Prepare(const LocalClubState& state, int clubState);
    int ShowModal(const LocalClubState& state, int clubState);

    // The window's fonts in the display font (ApplyFonts calls it).
    void SetFonts(const std::string& displayFontName);

    PictureBox* ImageTitle = nullptr; // 570 x 100
    PictureBox* Image1 = nullptr;     // the 306 x 225 text area
    AnimationPlayer* RxGIFAn1 = nullptr;
    AnimationPlayer* RxGIFAn2 = nullptr;
    TTevQuizButton* Button1 = nullptr;
    QFont TextFont; // set by ApplyFonts

    // Plays intro stream Number (3 "S_FiBad", 4 "S_FiGut"); tests listen
    // here.  Called only while the sound is on.
    std::function<void(int number)> PlaySound;

protected:
    void done(int result) override;

private:
    void Sound(int number);
};

} // namespace vk
