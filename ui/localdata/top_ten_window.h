#pragma once
// TFormTopTen ("Чемпионы"): the ten best finished games of this
// installation, read from the club file at each showing.
#include <QFont>
#include <string>

#include "ui/kit/dialog_base.h"

class QLabel;

namespace vk {

class AnimationPlayer;
class PictureBox;
class TTevQuizButton;

class TFormTopTen : public LocalDialog {
    Q_OBJECT
public:
    TFormTopTen(Settings& prefs, const QImage& background, QWidget* parent = nullptr);

    // Reads the top ten from the club file and draws the list; a file that
    // cannot be read shows the places with empty names and scores.
    void Prepare(const std::string& clubFilePath);
    int ShowModal(const std::string& clubFilePath);

    // The window's fonts in the display font (ApplyFonts calls it).
    void SetFonts(const std::string& displayFontName);

protected:
    void changeEvent(QEvent* event) override;
    void done(int result) override;

private:
    QFont ListFont; // set by ApplyFonts

    // The controls.  Each keeps the window's own name for it as its object
    // name, so tests and screen readers find it by that name.
    PictureBox* ImageTitle = nullptr;          // 520 x 60
    AnimationPlayer* titleAnimation = nullptr; // RxGIFAn1, 300 x 40
    PictureBox* listArea = nullptr;            // Image1, the 510 x 375 list area
    TTevQuizButton* okButton = nullptr;        // Button1, "Ok"
};

} // namespace vk
