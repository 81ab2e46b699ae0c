#pragma once
// TFormCount ("Игрок:"): the running figures of the game in progress.
#include <QFont>
#include <string>

#include "ui/kit/dialog_base.h"

class QLabel;

namespace vk {

class AnimationPlayer;
class PictureBox;
class TTevQuizButton;

// The figures the score window shows.
struct GameFigures {
    std::string CurrentName; // Windows-1251, 20 characters
    int DealNumber = 0;
    int InitialScore = 0;
    int Score = 0;
    int ClubState = 1; // 1 not logged in, 2 logged in, 3 club rating game
};

class TFormCount : public LocalDialog {
    Q_OBJECT
public:
    TFormCount(Settings& prefs, const QImage& background, QWidget* parent = nullptr);

    void Prepare(const GameFigures& figures);
    int ShowModal(const GameFigures& figures);

    // The window's fonts in the display font (ApplyFonts calls it).
    void SetFonts(const std::string& displayFontName);

private:
    // Label1..Label4 the row names, Label5..Label8 the values.
    QFont TitleFont; // set by ApplyFonts

    // The controls.  Each keeps the window's own name for it as its object
    // name, so tests and screen readers find it by that name.
    PictureBox* ImageTitle = nullptr; // 500 x 100
    PictureBox* ImagePanel = nullptr; // 480 x 255
    QLabel* Labels[8] = {};
    TTevQuizButton* okButton = nullptr; // Button1
};

} // namespace vk
