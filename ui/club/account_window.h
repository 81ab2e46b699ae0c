#pragma once
// TFAcc1: the club's account window ("КЛУБ КВАЗАРИУМ").  Six tabs: the
// member's account (registration, login, sign-out, the user file, country,
// sex and the choice of a rating game), the game results, the club's top
// 10, the Tevs with transfers, the member's card and photo, and the
// chairman's card.  Made anew at each opening; what it needs from the
// server is read in the background while the window is up.
#include <QImage>
#include <QString>
#include <array>
#include <functional>
#include <string>

#include "net/account_flows.h"
#include "logic/club/club_state.h"
#include "net/http_client.h"
#include "ui/kit/request_runner.h"
#include "ui/kit/dialog_base.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QTabWidget;

namespace vk {

class AnimationPlayer;
class CountryChoice;
class PictureBox;
class TTevQuizButton;
class WindowBusy;

// What the window works on: the program's club state, which it changes in
// place, and how it reaches the club.
struct AccountContext {
    HttpClient Http;
    AccountAddresses Addresses;
    std::string ProgramDir;
    ClubStateData* Club = nullptr;
    int* ClubState = nullptr; // 1 logged out, 2 logged in, 3 playing for the rating
    // A rating game registered or running: nothing on the account may change.
    bool RatingGameLocked = false;
};

// Rows of the gradient from Top to Bottom colour (0x00BBGGRR) over Box,
// drawn only where they cross Clip: the tabs' backgrounds and their bands.
void DrawGradient(QPainter& canvas, const QRect& box, unsigned int topColour, unsigned int bottomColour,
                  const QRect& clip = {});

// The "Windows" and "Android" pictures in their red frames at the foot of
// the account, results and top 10 tabs.
void DrawPlatformPictures(QPainter& canvas);

class TFAcc1 : public LocalDialog {
    Q_OBJECT
public:
    // `ratingChoice`: opened to start a game for the club rating, so "Играть
    // на глобальный рейтинг" may be ticked.
    TFAcc1(Settings& prefs, const QImage& background, AccountContext context, bool ratingChoice,
           QWidget* parent = nullptr);
    ~TFAcc1() override;

    const bool RatingChoiceEnabled;

    // How the window tells and asks the player; tests answer here.
    std::function<void(const QString& text)> Notice;
    std::function<bool(const QString& question)> Confirm;
    // Opens the card editor modally.
    std::function<void()> OpenCardEditor;

    // Requests of the window still on their way.
    bool Reading() const;
    // The member's own card came from the server (the editor may save it).
    bool OwnCardKnown() const { return ownCardKnown_; }

    // Handlers.
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void CheckBox2Click();
    void ButtonRef2Click();
    void ButtonRef3Click();
    void ButtonRef4Click();
    void ButtonTevsAddUsClick();
    void ButtonAva1Click();
    void ImageN6MouseUp(QPoint at);

    void PaintAccountTab();
    void PaintResultsTab();
    void PaintTopTenTab();
    void PaintTevsTab();
    void PaintAboutTab();
    void PaintChairmanTab();

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The controls.  Each keeps its numbered name as its object name, so
    // tests and screen readers find it by that name.
    PictureBox* headerArea = nullptr;       // Image0
    QTabWidget* tabs = nullptr;             // PageControl1
    std::array<QWidget*, 6> tabPages{};     // TabSheet1 .. TabSheet6
    std::array<PictureBox*, 6> tabCanvases{}; // ImageN1 .. ImageN6
    TTevQuizButton* ButtonOk = nullptr;

    // My account.
    QLineEdit* nickEdit = nullptr;          // Edit1
    QLineEdit* passwordEdit = nullptr;      // Edit2
    QLineEdit* countryKeyEdit = nullptr;    // Edit3
    QLineEdit* cityEdit = nullptr;          // Edit4
    QLineEdit* emailEdit = nullptr;         // Edit5
    QLineEdit* registeredEdit = nullptr;    // Edit6, the registration date
    QCheckBox* hidePasswordBox = nullptr;   // CheckBox1
    QCheckBox* ratingGameBox = nullptr;     // CheckBox2
    QComboBox* continentList = nullptr;     // ComboBox1
    QComboBox* countryList = nullptr;       // ComboBox2
    QComboBox* sexList = nullptr;           // ComboBox3
    TTevQuizButton* createButton = nullptr; // Button1
    TTevQuizButton* loginButton = nullptr;  // Button2, also the sign-out
    TTevQuizButton* saveLoginButton = nullptr;   // Button3
    TTevQuizButton* deleteLoginButton = nullptr; // Button4
    AnimationPlayer* stateStar = nullptr;   // RxGIFAn1

    // The other tabs.
    TTevQuizButton* refreshResultsButton = nullptr; // ButtonRef2
    TTevQuizButton* refreshTopTenButton = nullptr;  // ButtonRef3
    AnimationPlayer* coinAnimation = nullptr;       // RxGIFAnD
    TTevQuizButton* refreshBalanceButton = nullptr; // ButtonRef4
    QSpinBox* SpinTevsAddUs = nullptr;
    QLineEdit* EditTevsAddUs = nullptr;
    TTevQuizButton* ButtonTevsAddUs = nullptr;
    TTevQuizButton* ButtonAva1 = nullptr;

    ClubStateData& Club() const { return *context_.Club; }
    int& State() const { return *context_.ClubState; }

    void CreateAccountTab();
    void CreateOtherTabs();
    void DrawStateLamps(int state);
    void DrawFieldLamp(int x, int y, int cls);
    void ShowStar();
    void RefreshAccountTab();
    void SetAccountButtons();
    void FieldEdited(int kind, const QString& text);
    void CountryChosen(int continent, int row);
    void PaintAllTabs();
    void TabShown(int index);
    void ReadAtOpening();
    void TakeReads(const ClubReads& reads);
    void LoginFlow();
    void Tell(const QString& text);
    void BeginRequest();
    void EndRequest();
    void DrawPhotoArea(QPainter& p, int x, int y, bool loaded, const std::string& photo, char sex);

    const QImage& background_;
    AccountContext context_;
    WindowBusy* busy_ = nullptr;
    CountryChoice* countries_ = nullptr;
    RequestHandle opening_, login_, register_, results_, topTen_, balance_, transfer_, chairman_;
    bool editsUntouched_ = true;
    bool ownCardKnown_ = false;
    // A read of the member's game record in this window found no server:
    // the results tab says "No Connect" even after a sign-out.  A player
    // who never logged in sees only the game's name.
    bool gameReadFailed_ = false;
    bool opened_ = false;
};

// Opens the window modally over `parent` and returns when it is closed.
void ShowAccountWindow(Settings& prefs, const QImage& background, const AccountContext& context, bool ratingChoice,
                       QWidget* parent);

} // namespace vk
