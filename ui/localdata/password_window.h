#pragma once
// TFormPassword: name and password of the player who starts or continues a
// game, or changes name and password during one.
#include <string>

#include "common/messages.h"
#include "logic/localdata/club_file.h"
#include "ui/kit/dialog_base.h"

class QLabel;
class QLineEdit;

namespace vk {

class AnimationPlayer;
class PictureBox;
class TTevQuizButton;

enum class PasswordMode {
    Member,    // continue member line Slot (1..5): only the password is asked
    NewPlayer, // the name proposed is PlayerName
    ChangeName // the name proposed is CurrentName
};

class TFormPassword : public LocalDialog {
    Q_OBJECT
public:
    TFormPassword(Settings& prefs, const QImage& background, QWidget* parent = nullptr);

    // Sets the window up for one showing: texts, boxes, focus, pictures and
    // animations.  Slot is the member line for PasswordMode::Member;
    // ClubFilePath is ProgramDir + "Vokabron.clb".  An accepted entry sets
    // State.CurrentName, CurrentPassword, CurrentPasswordCode and
    // PasswordAccepted.
    void Prepare(PasswordMode mode, int slot, const std::string& clubFilePath, LocalClubState& state);

    // Prepare, then modal; true when the entry was accepted.  The caller
    // clears State.PasswordAccepted beforehand.
    bool ShowModal(PasswordMode mode, int slot, const std::string& clubFilePath, LocalClubState& state);

    // "Ok" or Enter in a box: check the entry, close when it is valid.
    void CheckEntry();

    // The window's fonts in the display font (ApplyFonts calls it).
    void SetFonts(const std::string& displayFontName);

protected:
    void done(int result) override;

private:
    // The controls.  Each keeps the window's own name for it as its object
    // name, so tests and screen readers find it by that name.
    PictureBox* titleArea = nullptr;              // Image1, the 440 x 100 title area
    QLabel* nameLabel = nullptr;                  // Label1
    QLabel* passwordLabel = nullptr;              // Label2
    QLabel* repeatLabel = nullptr;                // Label3
    QLabel* errorLabel = nullptr;                 // Label4, the error line
    QLineEdit* nameEdit = nullptr;                // Edit1, name
    QLineEdit* passwordEdit = nullptr;            // Edit2, password
    QLineEdit* repeatEdit = nullptr;              // Edit3, password again
    TTevQuizButton* okButton = nullptr;           // Button1, "Ok"
    TTevQuizButton* cancelButton = nullptr;       // Button2, "Отмена"
    AnimationPlayer* leftKeyAnimation = nullptr;  // RxGIFAn1
    AnimationPlayer* rightKeyAnimation = nullptr; // RxGIFAn2

    void ShowError(Msg message, QLineEdit* focus);

    PasswordMode mode_ = PasswordMode::NewPlayer;
    int slot_ = 6;
    std::string clubFilePath_;
    LocalClubState* state_ = nullptr;
    std::string memberName_; // positions 1-20 of the member line, as stored
};

} // namespace vk
