// The account window itself: the header with the state lamps, the tabs, and
// the requests the tabs ask for: the reads at the opening, registration,
// login and sign-out, the tables read again, the transfer and the card.
#include "ui/club/account_window.h"

#include <QCoreApplication>
#include <QTabWidget>

#include <ctime>

#include "common/text_cipher.h"
#include "logic/club/account_fields.h"
#include "logic/club/account_replies.h"
#include "net/account_requests.h"
#include "ui/club/account_tab_cards.h"
#include "ui/club/account_tab_member.h"
#include "ui/club/account_tab_tables.h"
#include "ui/club/account_tab_tevs.h"
#include "ui/club/attention_window.h"
#include "ui/club/card_window.h"
#include "ui/kit/message_box.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/text_codec.h"
#include "ui/kit/window_busy.h"

namespace vk {

TFAcc1::TFAcc1(Settings& prefs, const QImage& background, AccountContext context, bool ratingChoice, QWidget* parent)
    : LocalDialog(prefs, background, QSize(720, 610), parent), background_(background), context_(std::move(context))
{
    setObjectName(QStringLiteral("FAcc1"));
    setWindowTitle(UiText(Msg::ClubWindowCaption));
    busy_ = new WindowBusy(this);
    headerArea = MakePictureArea(this, "Image0", QRect(0, 0, 720, 60));
    CreateTabs(ratingChoice);
    ButtonOk = MakeOkButton(QRect(5, 550, 710, 45));
    ButtonOk->setObjectName(QStringLiteral("ButtonOk"));
    ButtonOk->SetColorSB(DRed);
    ButtonOk->SetFontColor(kTabYellow);
    ButtonOk->setFont(TabFont(16));

    Notice = [this](const QString& text) { ShowAttention(this, text); };
    Confirm = [this](const QString& question) { return AskYesNo(this, question); };
    OpenCardEditor = [this] {
        TFAcc2 editor(Prefs(), background_, context_, ownCardKnown_, this);
        editor.exec();
        ownCardKnown_ = ownCardKnown_ || editor.CardKnown();
    };

    // Logged out, the account tab starts from a member of Russia with
    // nothing else filled in; nick and password stay as typed.
    if (State() <= 1) {
        TTevUser& u = Club().ClubUser;
        u.City.clear();
        u.Country2 = "1-001";
        u.Country1 = "Russia";
        u.Sex = 'M';
        u.EMail.clear();
        u.DateR = "00.00.0000";
    }
}

TFAcc1::~TFAcc1() = default;

void TFAcc1::CreateTabs(bool ratingChoice)
{
    tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("PageControl1"));
    tabs->setGeometry(5, 60, 710, 480);
    ClubStateData& club = Club();
    int& state = State();
    memberTab = new AccountMemberTab(club, state, context_.ProgramDir, ratingChoice, context_.RatingGameLocked);
    resultsTab = new AccountResultsTab(club, state);
    topTenTab = new AccountTopTenTab(club, state);
    tevsTab = new AccountTevsTab(club, state);
    aboutTab = new AccountAboutTab(club, state);
    chairmanTab = new AccountChairmanTab(club, state);
    tabs->addTab(memberTab, UiText(Msg::TabMyAccount));
    tabs->addTab(resultsTab, UiText(Msg::TabMyResults));
    tabs->addTab(topTenTab, QStringLiteral("Top 10"));
    tabs->addTab(tevsTab, QStringLiteral("Tevs"));
    tabs->addTab(aboutTab, UiText(Msg::TabAboutMe));
    tabs->addTab(chairmanTab, UiText(Msg::TabChairman));

    for (AccountTab* tab : std::initializer_list<AccountTab*>{memberTab, resultsTab, topTenTab, tevsTab, aboutTab, chairmanTab})
        connect(tab, &AccountTab::clickSound, this, &TFAcc1::ClickSound);
    connect(memberTab, &AccountMemberTab::createClicked, this, &TFAcc1::Button1Click);
    connect(memberTab, &AccountMemberTab::loginClicked, this, &TFAcc1::Button2Click);
    connect(memberTab, &AccountMemberTab::ratingChoiceChanged, this, [this] { DrawStateLamps(State()); });
    connect(resultsTab, &AccountResultsTab::refreshClicked, this, &TFAcc1::ButtonRef2Click);
    connect(topTenTab, &AccountTopTenTab::refreshClicked, this, &TFAcc1::ButtonRef3Click);
    connect(tevsTab, &AccountTevsTab::refreshClicked, this, &TFAcc1::ButtonRef4Click);
    connect(tevsTab, &AccountTevsTab::transferClicked, this, &TFAcc1::ButtonTevsAddUsClick);
    connect(aboutTab, &AccountAboutTab::editCardClicked, this, &TFAcc1::ButtonAva1Click);
    connect(chairmanTab, &AccountChairmanTab::notice, this, &TFAcc1::Tell);
    connect(tabs, &QTabWidget::currentChanged, this, &TFAcc1::TabShown);
}

void TFAcc1::showEvent(QShowEvent* event)
{
    LocalDialog::showEvent(event);
    if (opened_)
        return;
    opened_ = true;
    DrawStateLamps(State());
    PaintAllTabs();
    ReadAtOpening();
}

void TFAcc1::done(int result)
{
    // Nothing that comes back after the window has closed is wanted.
    AbandonRequests(this);
    while (busy_->IsBusy())
        busy_->End();
    LocalDialog::done(result);
}

bool TFAcc1::Reading() const
{
    for (const RequestHandle* h : {&opening_, &login_, &register_, &results_, &topTen_, &balance_, &transfer_, &chairman_})
        if (h->Running())
            return true;
    return false;
}

void TFAcc1::BeginRequest() { busy_->Begin(); }

void TFAcc1::EndRequest()
{
    if (busy_->IsBusy())
        busy_->End();
}

void TFAcc1::Tell(const QString& text)
{
    if (Notice)
        Notice(text);
}

void TFAcc1::PaintAccountTab() { memberTab->PaintAccountTab(); }
void TFAcc1::PaintResultsTab() { resultsTab->PaintResultsTab(); }
void TFAcc1::PaintTopTenTab() { topTenTab->PaintTopTenTab(); }
void TFAcc1::PaintTevsTab() { tevsTab->PaintTevsTab(); }
void TFAcc1::PaintAboutTab() { aboutTab->PaintAboutTab(); }
void TFAcc1::PaintChairmanTab() { chairmanTab->PaintChairmanTab(); }

void TFAcc1::PaintAllTabs()
{
    PaintAccountTab();
    PaintResultsTab();
    PaintTopTenTab();
    PaintTevsTab();
    PaintAboutTab();
    PaintChairmanTab();
}

void TFAcc1::TabShown(int index)
{
    switch (index) {
    case 0: PaintAccountTab(); break;
    case 1: PaintResultsTab(); break;
    case 2: PaintTopTenTab(); break;
    case 3:
        tevsTab->StartCoin();
        PaintTevsTab();
        break;
    case 4: PaintAboutTab(); break;
    case 5: PaintChairmanTab(); break;
    default: break;
    }
}

void TFAcc1::DrawStateLamps(int state)
{
    const char* lamp = LampPicture(state);
    DressArea(*headerArea, {{"G_Club", 110, 0}, {"Account48", 10, 6}, {lamp, 34, 6}, {"Account48", 662, 6}, {lamp, 686, 6}});
}

void TFAcc1::ReadAtOpening()
{
    BeginRequest();
    opening_ = RunRequest(
        this,
        [http = context_.Http, at = context_.Addresses, club = Club(), loggedIn = State() >= 2]() mutable {
            return vk::ReadAtOpening(http, at, club, loggedIn);
        },
        [this](ClubReads reads) {
            EndRequest();
            TakeReads(reads);
            ownCardKnown_ = reads.OwnCardKnown;
            resultsTab->SetReadFailed(State() >= 2 && !Club().GameRecordOk);
            PaintAllTabs();
        });
}

void TFAcc1::TakeReads(const ClubReads& reads)
{
    // The window took no input while the requests ran; only what the
    // player chose for a transfer is the window's own.
    const std::int32_t amount = Club().TransferAmount;
    const std::string receiver = Club().TransferNick;
    Club() = reads.Club;
    Club().TransferAmount = amount;
    Club().TransferNick = receiver;
}

void TFAcc1::Button1Click()
{
    if (register_.Running() || State() > 1)
        return;
    ClickSound();
    TTevUser user = Club().ClubUser;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    user.DateR = WireDateText(local);
    user.R01 = user.R02 = user.R03 = "xxx";
    user.R04 = 0;
    user.R05 = 0;
    user.R06 = 0;
    BeginRequest();
    register_ = RunRequest(
        this,
        [http = context_.Http, accPath = context_.Addresses.AccPath, user]() mutable {
            return ClubRegister(http, accPath, user);
        },
        [this, user](int r) {
            EndRequest();
            Tell(UiText(r == 0 ? Msg::AccountCreated : r == 1 ? Msg::NickTaken : Msg::AccountNotCreated));
            if (r == 0) {
                // The new member logs in at once; only a login that works
                // makes the window logged in.
                Club().ClubUser.DateR = user.DateR;
                LoginFlow();
                return;
            }
            State() = 1;
            Club().ClubUser.DateR = "00.00.0000";
            DrawStateLamps(State());
            PaintAccountTab();
        });
}

void TFAcc1::Button2Click()
{
    if (login_.Running())
        return;
    ClickSound();
    if (State() > 1) {
        // Signing out ends the session, here and on the server.
        State() = 1;
        // The server hears of it in the background, whether this window
        // stays or not; the program's end gives the request up.
        RunRequest(
            QCoreApplication::instance(),
            [leaving = context_.Http.TakeCookies(), acc = context_.Addresses.AccPath, nick = Club().ClubUser.Nick] {
                SignOutOnServer(leaving, acc, nick);
                return true;
            },
            [](bool) {});
        TTevUser& u = Club().ClubUser;
        u.R04 = 0;
        u.R05 = 0;
        u.R06 = 0;
        Club().OwnPhotoLoaded = false;
        DrawStateLamps(1);
        PaintAllTabs();
        return;
    }
    LoginFlow();
}

void TFAcc1::LoginFlow()
{
    BeginRequest();
    login_ = RunRequest(
        this,
        [http = context_.Http, at = context_.Addresses, club = Club()]() mutable {
            return LogIn(http, at, club, ClubStartKey);
        },
        [this](LoginOutcome outcome) {
            EndRequest();
            if (!outcome.LoggedIn) {
                Tell(UiText(Msg::LoginFailed));
                Club().GameRecordOk = false;
                Club().MemberCountOk = false;
                resultsTab->SetReadFailed(!outcome.Reads.Connected);
                State() = 1;
                DrawStateLamps(State());
                PaintAllTabs();
                return;
            }
            State() = 2;
            TakeReads(outcome.Reads);
            ownCardKnown_ = outcome.Reads.OwnCardKnown;
            resultsTab->SetReadFailed(!Club().GameRecordOk);
            memberTab->OfferToKeepLogin();
            DrawStateLamps(State());
            PaintAllTabs();
        });
}

void TFAcc1::ButtonRef2Click()
{
    if (results_.Running())
        return;
    ClickSound();
    if (State() <= 1) {
        PaintResultsTab();
        return;
    }
    BeginRequest();
    results_ = RunRequest(
        this,
        [http = context_.Http, accPath = context_.Addresses.AccPath, club = Club()]() mutable {
            ReadGameAndPlace(http, accPath, club);
            return club;
        },
        [this](ClubStateData club) {
            EndRequest();
            Club().ClubGame = club.ClubGame;
            Club().GameRecordOk = club.GameRecordOk;
            resultsTab->SetReadFailed(!club.GameRecordOk);
            PaintResultsTab();
        });
}

void TFAcc1::ButtonRef3Click()
{
    if (topTen_.Running())
        return;
    ClickSound();
    BeginRequest();
    struct Read {
        bool Ok = false;
        ClubTopTenRows Rows;
    };
    topTen_ = RunRequest(
        this,
        [http = context_.Http, accPath = context_.Addresses.AccPath, key = Club().ClubGameKey]() mutable {
            Read read;
            read.Ok = ClubReadTopTen(http, accPath, key, read.Rows);
            return read;
        },
        [this](Read read) {
            EndRequest();
            Club().ClubTopTen = read.Rows;
            Club().TopTenOk = read.Ok;
            PaintTopTenTab();
        });
}

void TFAcc1::ButtonRef4Click()
{
    if (balance_.Running())
        return;
    ClickSound();
    if (State() <= 1)
        return;
    BeginRequest();
    balance_ = RunRequest(
        this,
        [http = context_.Http, accPath = context_.Addresses.AccPath, nick = Club().ClubUser.Nick]() mutable {
            return ClubReadBalance(http, accPath, nick);
        },
        [this](std::optional<std::int32_t> balance) {
            EndRequest();
            if (balance)
                Club().ClubUser.R04 = *balance;
            PaintTevsTab();
        });
}

void TFAcc1::ButtonTevsAddUsClick()
{
    if (transfer_.Running())
        return;
    ClickSound();
    ClubStateData& c = Club();
    c.TransferAmount = tevsTab->ChosenAmount();
    const std::int32_t amount = c.TransferAmount;
    const std::string receiver = c.TransferNick;
    if (const auto refusal = TransferRefusal(c.ClubUser.R04, amount)) {
        Tell(UiText(*refusal));
        PaintTevsTab();
        return;
    }
    const QString question = QStringLiteral("%1 \"%2\" %3 %4?")
                                 .arg(UiText(Msg::ConfirmTransfer), ToQString(receiver), Decimal(amount),
                                      UiText(Msg::Tevs));
    if (!Confirm || !Confirm(question)) {
        PaintTevsTab();
        return;
    }
    BeginRequest();
    transfer_ = RunRequest(
        this,
        [http = context_.Http, accPath = context_.Addresses.AccPath, own = c.ClubUser.Nick, receiver,
         amount]() mutable { return TransferTevs(http, accPath, own, receiver, amount); },
        [this](TransferOutcome outcome) {
            EndRequest();
            tevsTab->SetTransferRunning(false);
            if (outcome.Balance)
                Club().ClubUser.R04 = *outcome.Balance;
            PaintTevsTab();
            switch (outcome.Report) {
            case TransferReport::Done: Tell(UiText(Msg::TransferDone)); break;
            case TransferReport::NoSuchMember: Tell(UiText(Msg::NoSuchMember)); break;
            case TransferReport::NotEnough: Tell(UiText(Msg::NotEnoughTevs)); break;
            case TransferReport::NoConnect: Tell(QStringLiteral("No Connect!")); break;
            }
        });
    // The button stays off while the transfer runs.
    tevsTab->SetTransferRunning(true);
    PaintTevsTab();
}

void TFAcc1::ButtonAva1Click()
{
    if (State() <= 1 || chairman_.Running())
        return;
    ClickSound();
    if (OpenCardEditor)
        OpenCardEditor();
    PaintAboutTab();
    // The member may be the chairman: his card and photo are read again.
    BeginRequest();
    chairman_ = RunRequest(
        this,
        [http = context_.Http, at = context_.Addresses, club = Club()]() mutable { return ReadChairman(http, at, club); },
        [this](ClubReads reads) {
            EndRequest();
            Club().ChairmanInfo = reads.Club.ChairmanInfo;
            Club().ChairmanPhoto = reads.Club.ChairmanPhoto;
            Club().ChairmanPhotoLoaded = reads.Club.ChairmanPhotoLoaded;
            PaintAboutTab();
            PaintChairmanTab();
        });
}

void ShowAccountWindow(Settings& prefs, const QImage& background, const AccountContext& context, bool ratingChoice,
                       QWidget* parent)
{
    TFAcc1 window(prefs, background, context, ratingChoice, parent);
    window.exec();
}

} // namespace vk
