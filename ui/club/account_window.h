#pragma once
// TFAcc1: the club's account window ("КЛУБ КВАЗАРИУМ").  Six tabs, each a
// widget of its own (account_tab_*.h): the member's account (registration,
// login, sign-out, the user file, country, sex and the choice of a rating
// game), the game results, the club's top 10, the Tevs with transfers, the
// member's card and photo, and the chairman's card.  The window itself
// holds the tabs, the state lamps and the requests: what the tabs ask of
// the server goes through it.  Made anew at each opening; what it needs
// from the server is read in the background while the window is up.
#include <QImage>
#include <QString>
#include <functional>
#include <string>

#include "common/messages.h"
#include "net/account_flows.h"
#include "logic/club/club_state.h"
#include "net/http_client.h"
#include "ui/kit/request_runner.h"
#include "ui/kit/dialog_base.h"

class QLabel;
class QTabWidget;

namespace vk {

class AccountAboutTab;
class AccountChairmanTab;
class AccountMemberTab;
class AccountResultsTab;
class AccountTevsTab;
class AccountTopTenTab;
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

class TFAcc1 : public LocalDialog {
    Q_OBJECT
public:
    // `ratingChoice`: opened to start a game for the club rating, so "Играть
    // на глобальный рейтинг" may be ticked.
    TFAcc1(Settings& prefs, const QImage& background, AccountContext context, bool ratingChoice,
           QWidget* parent = nullptr);
    ~TFAcc1() override;

    // How the window tells and asks the player; tests answer here.  Notice
    // warns or reports a failure, Inform brings good news.
    std::function<void(const QString& text)> Notice;
    std::function<void(const QString& text)> Inform;
    std::function<bool(const QString& question)> Confirm;
    // Opens the card editor modally.
    std::function<void()> OpenCardEditor;

    // Requests of the window still on their way.
    bool Reading() const;
    // The member's own card came from the server (the editor may save it).
    bool OwnCardKnown() const { return ownCardKnown_; }

    // Handlers: the window's requests, asked for by the tabs.
    void Button1Click();
    void Button2Click();
    void ButtonRef2Click();
    void ButtonRef3Click();
    void ButtonRef4Click();
    void ButtonTevsAddUsClick();
    void ButtonAva1Click();

    // The tabs drawn anew from the club state.
    void PaintAccountTab();
    void PaintResultsTab();
    void PaintTopTenTab();
    void PaintTevsTab();
    void PaintAboutTab();
    void PaintChairmanTab();

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    // The controls.  Each keeps its numbered name as its object name, so
    // tests and screen readers find it by that name.
    PictureBox* headerArea = nullptr; // Image0
    QTabWidget* tabs = nullptr;       // PageControl1
    TTevQuizButton* ButtonOk = nullptr;
    AccountMemberTab* memberTab = nullptr;     // TabSheet1
    AccountResultsTab* resultsTab = nullptr;   // TabSheet2
    AccountTopTenTab* topTenTab = nullptr;     // TabSheet3
    AccountTevsTab* tevsTab = nullptr;         // TabSheet4
    AccountAboutTab* aboutTab = nullptr;       // TabSheet5
    AccountChairmanTab* chairmanTab = nullptr; // TabSheet6
    // Beside the tabs: why the club's data may be missing (no connection,
    // a failing server), or why the member is not logged in.
    QLabel* clubStatus = nullptr;

    ClubStateData& Club() const { return *context_.Club; }
    int& State() const { return *context_.ClubState; }

    void CreateTabs(bool ratingChoice);
    void DrawStateLamps(int state);
    void PaintAllTabs();
    void TabShown(int index);
    void ReadAtOpening();
    void TakeReads(const ClubReads& reads);
    void LoginFlow();
    void Tell(const QString& text);
    void TellGood(const QString& text);
    void ShowTrouble(ClubAnswer trouble);
    void BeginRequest();
    void EndRequest();

    const QImage& background_;
    AccountContext context_;
    WindowBusy* busy_ = nullptr;
    RequestHandle opening_, login_, register_, results_, topTen_, balance_, transfer_, chairman_;
    bool ownCardKnown_ = false;
    bool opened_ = false;
};

// What to tell the player of a club request that did not go through: the
// club out of reach, its server failing, or (refused) the refusal's text.
QString ClubFailureText(ClubAnswer answer, Msg refusal);

// Opens the window modally over `parent` and returns when it is closed.
void ShowAccountWindow(Settings& prefs, const QImage& background, const AccountContext& context, bool ratingChoice,
                       QWidget* parent);

} // namespace vk
