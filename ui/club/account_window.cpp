// The account window itself: the header with the state lamps, the tabs, and
// the requests the tabs ask for: the reads at the opening, registration,
// login and sign-out, the tables read again, the transfer and the card.
#include "ui/club/account_window.h"

#include <QCoreApplication>
#include <QLabel>
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
    Inform = [this](const QString& text) { ShowGoodNews(this, text); };
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

    for (AccountTab* tab :
         std::initializer_list<AccountTab*>{memberTab, resultsTab, topTenTab, tevsTab, aboutTab, chairmanTab})
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
    connect(memberTab, &AccountMemberTab::told, this,
            [this](const QString& text, bool good) { good ? TellGood(text) : Tell(text); });
    connect(tabs, &QTabWidget::currentChanged, this, &TFAcc1::TabShown);

    clubStatus = new QLabel(tabs);
    clubStatus->setObjectName(QStringLiteral("ClubStatus"));
    clubStatus->setTextFormat(Qt::PlainText);
    clubStatus->setStyleSheet(QStringLiteral("QLabel { color: rgb(160, 0, 0); background-color: rgb(255, 255, 200); "
                                             "font-weight: bold; padding: 0 4px; border-radius: 3px; }"));
    tabs->setCornerWidget(clubStatus, Qt::TopRightCorner);
    clubStatus->hide();
}

void TFAcc1::ShowTrouble(ClubAnswer trouble)
{
    const bool shown = trouble == ClubAnswer::Unreachable || trouble == ClubAnswer::ServerFault;
    const bool away = trouble == ClubAnswer::Unreachable;
    clubStatus->setText(shown ? UiText(away ? Msg::ClubOffline : Msg::ClubFaulty) : QString());
    clubStatus->setToolTip(shown ? UiText(away ? Msg::ClubUnreachable : Msg::ClubServerFault) : QString());
    // Set again, the corner is laid out for its new text (and hidden).
    tabs->setCornerWidget(clubStatus, Qt::TopRightCorner);
    clubStatus->setVisible(shown);
}

QString ClubFailureText(ClubAnswer answer, Msg refusal)
{
    switch (answer) {
    case ClubAnswer::Unreachable: return UiText(Msg::ClubUnreachable);
    case ClubAnswer::ServerFault: return UiText(Msg::ClubServerFault);
    default: return UiText(refusal);
    }
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
    for (const RequestHandle* h :
         {&opening_, &login_, &register_, &results_, &topTen_, &balance_, &transfer_, &chairman_})
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

void TFAcc1::TellGood(const QString& text)
{
    if (Inform)
        Inform(text);
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
    DressArea(*headerArea,
              {{"G_Club", 110, 0}, {"Account48", 10, 6}, {lamp, 34, 6}, {"Account48", 662, 6}, {lamp, 686, 6}});
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
            ShowTrouble(reads.Trouble);
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
    struct Registration {
        int R = 2;
        ClubAnswer Reply = ClubAnswer::Refused;
    };
    register_ = RunRequest(
        this,
        [http = context_.Http, accPath = context_.Addresses.AccPath, user]() mutable {
            Registration done;
            done.R = ClubRegister(http, accPath, user);
            done.Reply = LastClubAnswer(done.R != 2);
            return done;
        },
        [this, user](Registration done) {
            EndRequest();
            const int r = done.R;
            if (r == 0)
                TellGood(UiText(Msg::AccountCreated));
            else
                Tell(r == 1 ? UiText(Msg::NickTaken) : ClubFailureText(done.Reply, Msg::AccountNotCreated));
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
                Club().GameRecordOk = false;
                Club().MemberCountOk = false;
                resultsTab->SetReadFailed(!outcome.Reads.Connected);
                State() = 1;
                DrawStateLamps(State());
                ShowTrouble(outcome.Login);
                PaintAllTabs();
                if (outcome.Login == ClubAnswer::Unreachable) {
                    // The club may be back in a moment: the player may try again.
                    if (Confirm && Confirm(UiText(Msg::RetryLogin)))
                        LoginFlow();
                    return;
                }
                Tell(ClubFailureText(outcome.Login, Msg::LoginRefused));
                return;
            }
            State() = 2;
            TakeReads(outcome.Reads);
            ShowTrouble(outcome.Reads.Trouble);
            ownCardKnown_ = outcome.Reads.OwnCardKnown;
            resultsTab->SetReadFailed(!Club().GameRecordOk);
            memberTab->OfferToKeepLogin();
            DrawStateLamps(State());
            PaintAllTabs();
            const QString kept = memberTab->KeptLoginNote();
            if (!kept.isEmpty())
                TellGood(kept);
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
            return std::make_pair(club, LastClubAnswer(club.GameRecordOk));
        },
        [this](std::pair<ClubStateData, ClubAnswer> read) {
            EndRequest();
            const ClubStateData& club = read.first;
            Club().ClubGame = club.ClubGame;
            Club().GameRecordOk = club.GameRecordOk;
            resultsTab->SetReadFailed(!club.GameRecordOk);
            ShowTrouble(read.second);
            PaintResultsTab();
            if (!club.GameRecordOk)
                Tell(ClubFailureText(read.second, Msg::ResultsNotGiven));
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
        ClubAnswer Reply = ClubAnswer::Taken;
        ClubTopTenRows Rows;
    };
    topTen_ = RunRequest(
        this,
        [http = context_.Http, accPath = context_.Addresses.AccPath, key = Club().ClubGameKey]() mutable {
            Read read;
            read.Ok = ClubReadTopTen(http, accPath, key, read.Rows);
            read.Reply = LastClubAnswer(read.Ok);
            return read;
        },
        [this](Read read) {
            EndRequest();
            Club().ClubTopTen = read.Rows;
            Club().TopTenOk = read.Ok;
            ShowTrouble(read.Reply);
            PaintTopTenTab();
            if (!read.Ok)
                Tell(ClubFailureText(read.Reply, Msg::TopTenNotGiven));
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
            const auto balance = ClubReadBalance(http, accPath, nick);
            return std::make_pair(balance, LastClubAnswer(balance.has_value()));
        },
        [this](std::pair<std::optional<std::int32_t>, ClubAnswer> read) {
            EndRequest();
            if (read.first)
                Club().ClubUser.R04 = *read.first;
            ShowTrouble(read.second);
            PaintTevsTab();
            if (!read.first)
                Tell(ClubFailureText(read.second, Msg::BalanceNotGiven));
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
    const QString question =
        QStringLiteral("%1 \"%2\" %3 %4?")
            .arg(UiText(Msg::ConfirmTransfer), ToQString(receiver), Decimal(amount), UiText(Msg::Tevs));
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
            case TransferReport::Done: TellGood(UiText(Msg::TransferDone)); break;
            case TransferReport::NoSuchMember: Tell(UiText(Msg::NoSuchMember)); break;
            case TransferReport::NotEnough: Tell(UiText(Msg::NotEnoughTevs)); break;
            case TransferReport::NoConnect: {
                if (!outcome.Credited)
                    Tell(ClubFailureText(outcome.Fault, Msg::BalanceNotGiven));
                else if (outcome.Fault == ClubAnswer::Refused)
                    Tell(UiText(Msg::DebitNotConfirmed));
                else
                    Tell(UiText(Msg::DebitNotConfirmed) + QLatin1Char(' ')
                         + ClubFailureText(outcome.Fault, Msg::DebitNotConfirmed));
                break;
            }
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
        [http = context_.Http, at = context_.Addresses, club = Club()]() mutable {
            return ReadChairman(http, at, club);
        },
        [this](ClubReads reads) {
            EndRequest();
            Club().ChairmanInfo = reads.Club.ChairmanInfo;
            Club().ChairmanPhoto = reads.Club.ChairmanPhoto;
            Club().ChairmanPhotoLoaded = reads.Club.ChairmanPhotoLoaded;
            ShowTrouble(reads.Trouble);
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
