#pragma once
// TFormServerInfo ("Паспорт"): how the player stands on the world top ten
// and in the chat: a nick, a country, a city and a sex, kept in the
// settings.  The nick and city change the settings while both are valid;
// the window does not close while either is refused, except with «Отмена»
// (or Escape), which puts the passport back as it was when the window
// opened.
#include <QImage>
#include <string>

#include "ui/kit/dialog_base.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace vk {

class CountryChoice;
class PictureBox;
class TTevQuizButton;

class TFormServerInfo : public LocalDialog {
    Q_OBJECT
public:
    TFormServerInfo(Settings& prefs, const QImage& background, QWidget* parent = nullptr);

    // The classes of the two texts (1 refused, 2 with Cyrillic letters, 3
    // without), as the lamps show them.
    int NickClass() const { return nickClass_; }
    int CityClass() const { return cityClass_; }
    bool Valid() const { return nickClass_ != 1 && cityClass_ != 1; }

    // «Отмена»: the passport as it was when the window opened, and close.
    void Cancel();

public slots:
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The controls.  Each keeps the window's own name for it as its object
    // name, so tests and screen readers find it by that name.
    PictureBox* ImageTitle = nullptr;
    PictureBox* ImageLeft = nullptr;
    PictureBox* ImageRight = nullptr;
    QLabel* LabelNick = nullptr;
    QLabel* LabelCountry = nullptr;
    QLabel* LabelCity = nullptr;
    QLabel* LabelSex = nullptr;
    QLineEdit* EditNick = nullptr;
    QLineEdit* EditCity = nullptr;
    PictureBox* ImageLampNick = nullptr;
    PictureBox* ImageLampCity = nullptr;
    CountryChoice* countries_ = nullptr; // ComboBoxContinent, ComboBoxCountry
    QComboBox* ComboBoxSex = nullptr;
    TTevQuizButton* okButton = nullptr;     // Button1, "Ok"
    TTevQuizButton* cancelButton = nullptr; // "Отмена"
    QLabel* ruleLine = nullptr;             // the rule a text breaks, or why a key was refused

    void TextEdited();
    void Recheck();
    void ShowLamp(PictureBox* lamp, int textClass);
    // The rule of the field `first` if it breaks one, else the other's.
    void ShowRule(const QLineEdit* first);

    // The passport as the window found it.
    struct Stored {
        std::string Nick, Country, City, Sex;
    };
    Stored stored_;

    int nickClass_ = 3;
    int cityClass_ = 3;
};

// Shows the passport window modally over `parent`.
void ShowPassport(Settings& prefs, const QImage& background, QWidget* parent);

} // namespace vk
