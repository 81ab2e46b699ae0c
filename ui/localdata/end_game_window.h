#pragma once
// TFormEndGame ("Окончание игры"): the final result of a 20-deal game, its
// place in the top ten and, in a club rating game, the currency earned.
#include <QFont>
#include <functional>
#include <vector>
#include <string>

#include "logic/localdata/club_file.h"
#include "ui/kit/dialog_base.h"

class QLabel;
class QPainter;

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

    // Plays intro stream Number (3 "S_FiBad", 4 "S_FiGut"); tests listen
    // here.  Called only while the sound is on.
    std::function<void(int number)> PlaySound;

    // What the last Prepare wrote on the text area, in order.
    struct WrittenLine {
        QString Text;
        int X1 = 0, X2 = 0, Y = 0; // centred between X1 and X2, top at Y
        QColor Colour;
        int Height = 0;
    };
    const std::vector<WrittenLine>& Written() const { return written_; }

protected:
    void done(int result) override;

private:
    QFont TextFont; // set by ApplyFonts
    std::vector<WrittenLine> written_;

    // The controls.  Each keeps the window's own name for it as its object
    // name, so tests and screen readers find it by that name.
    PictureBox* ImageTitle = nullptr;          // 570 x 100
    PictureBox* textArea = nullptr;            // Image1, the 306 x 225 text area
    AnimationPlayer* leftAnimation = nullptr;  // RxGIFAn1
    AnimationPlayer* rightAnimation = nullptr; // RxGIFAn2
    TTevQuizButton* okButton = nullptr;        // Button1

    void Sound(int number);
    void Write(QPainter& canvas, const QString& text, int x1, int x2, int y);
};

} // namespace vk
