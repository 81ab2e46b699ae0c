#pragma once
// The account window's first tab, "Мой аккаунт": the fields with their
// lamps, the buttons for registration, login and sign-out, the user file,
// the country and sex, and the choice of a rating game.  The tab keeps the
// fields and the user file; registration and login are the window's, asked
// for with `createClicked` and `loginClicked`.
#include <string>

#include "ui/club/account_tab_kit.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace vk {

class AnimationPlayer;
class CountryChoice;

class AccountMemberTab : public AccountTab {
    Q_OBJECT
public:
    // `ratingChoice`: the window was opened to start a game for the club
    // rating.  `locked`: a rating game is on its way and nothing of the
    // account may change.
    AccountMemberTab(ClubStateData& club, int& clubState, std::string programDir, bool ratingChoice, bool locked);

    // A member just logged in may keep the login on this computer.
    void OfferToKeepLogin();
    // When this computer keeps the login of another member than the one
    // logged in: whose login the next start uses, and how to change it.
    QString KeptLoginNote() const;

    // Handlers.
    void Button3Click();
    void Button4Click();
    void CheckBox2Click();
    void PaintAccountTab();

signals:
    void createClicked(); // Button1
    void loginClicked();  // Button2, also the sign-out
    // The player ticked or cleared the rating game: the club state changed.
    void ratingChoiceChanged();
    // Something to tell the player: good news, or a failure.
    void told(const QString& text, bool good);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Each control keeps its numbered name as its object name.
    QLineEdit* nickEdit = nullptr;               // Edit1
    QLineEdit* passwordEdit = nullptr;           // Edit2
    QLineEdit* countryKeyEdit = nullptr;         // Edit3
    QLineEdit* cityEdit = nullptr;               // Edit4
    QLineEdit* emailEdit = nullptr;              // Edit5
    QLineEdit* registeredEdit = nullptr;         // Edit6, the registration date
    QCheckBox* hidePasswordBox = nullptr;        // CheckBox1
    QCheckBox* ratingGameBox = nullptr;          // CheckBox2
    QComboBox* continentList = nullptr;          // ComboBox1
    QComboBox* countryList = nullptr;            // ComboBox2
    QComboBox* sexList = nullptr;                // ComboBox3
    TTevQuizButton* createButton = nullptr;      // Button1
    TTevQuizButton* loginButton = nullptr;       // Button2
    TTevQuizButton* saveLoginButton = nullptr;   // Button3
    TTevQuizButton* deleteLoginButton = nullptr; // Button4
    AnimationPlayer* stateStar = nullptr;        // RxGIFAn1
    QLabel* ruleLine = nullptr;                  // the rule a field breaks, or why a key was refused

    void CreateFields();
    void CreateLists();
    void CreateButtons();
    void DrawFieldLamp(int x, int y, int cls);
    void ShowStar();
    void RefreshFields();
    void SetAccountButtons();
    void FieldEdited(int kind, const QString& text);
    void ShowRule(int kind);
    void ShowKeyRefused(QLineEdit* edit, const QString& typed);
    void CountryChosen(int continent, int row);

    CountryChoice* countries_ = nullptr;
    const std::string programDir_;
    const bool ratingChoice_;
    const bool locked_;
    // No mouse has moved over the tab yet: what the fields hold was filled
    // in by the browser, not typed.
    bool editsUntouched_ = true;
};

} // namespace vk
