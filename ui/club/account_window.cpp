// The account window itself and its first tab, "Мой аккаунт": the fields
// with their lamps, registration, login and sign-out, the user file, the
// country and sex, and the choice of a rating game.
#include "ui/club/account_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QSignalBlocker>
#include <QTabWidget>

#include <ctime>

#include "logic/club/account_fields.h"
#include "logic/club/account_replies.h"
#include "net/account_requests.h"
#include "ui/club/attention_window.h"
#include "ui/club/card_window.h"
#include "ui/club/country_choice.h"
#include "logic/club/user_file.h"
#include "common/rounding.h"
#include "common/text_cipher.h"
#include "ui/localdata/apply_fonts.h"
#include "ui/kit/animation_player.h"
#include "ui/kit/cp1251_validator.h"
#include "ui/kit/dressing.h"
#include "ui/kit/message_box.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/text_codec.h"
#include "ui/kit/window_busy.h"

namespace vk {
namespace {

constexpr unsigned int kYellow = 0x0000FFFF;
constexpr unsigned int kRed = 0x000000FF;
constexpr unsigned int kTabTop = 0x00FF6464;    // (100, 100, 255)
constexpr unsigned int kTabBottom = 0x00FFFF64; // (100, 255, 255)
const char* const kFieldFont = "Comic Sans MS";

struct LampPlace {
    int X, Y, Kind;
};
const LampPlace kLamps[4] = {{180, 91, NickField}, {410, 91, CityField}, {180, 165, PasswordField}, {410, 165, EMailField}};

int Channel(unsigned int colour, int shift) { return static_cast<int>((colour >> shift) & 0xFF); }

// The 24 x 24 lamp of a field class, or of a club state: 1 red, 2 yellow,
// 3 green.
const char* LampPicture(int cls)
{
    switch (cls) {
    case FieldReserved: return "LampY24";
    case FieldAccepted: return "LampG24";
    default: return "LampR24";
    }
}

// The edits, lists and check boxes of the account tab.  What the widget's
// style sheet already says (the country list's popup under its box) stays;
// `more` adds to the field's own rule.
void DressField(QWidget* w, const char* more = "")
{
    w->setFont(MakeFont(kFieldFont, 20, true));
    w->setStyleSheet(w->styleSheet() +
                     QStringLiteral(" %1 { color: rgb(255, 0, 0); background-color: rgb(255, 255, 200); %2 }")
                         .arg(QLatin1String(w->metaObject()->className()), QLatin1String(more)));
}

TTevQuizButton* MakeAccountButton(QWidget* parent, const char* name, const QRect& box)
{
    auto* b = new TTevQuizButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(box);
    b->SetColorSB(DRed);
    b->SetFontColor(kYellow);
    b->SetGrayDis(true);
    b->setFont(MakeFont(kFieldFont, 16, true));
    return b;
}

} // namespace

void DrawGradient(QPainter& canvas, const QRect& box, unsigned int topColour, unsigned int bottomColour,
                  const QRect& clip)
{
    const int n = box.height();
    const QRect area = clip.isNull() ? box : box.intersected(clip);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const int i = y - box.top();
        int rgb[3];
        for (int c = 0; c < 3; ++c) {
            const int top = Channel(topColour, 8 * c);
            const int bottom = Channel(bottomColour, 8 * c);
            rgb[c] = n > 1 ? RoundInt(top - (top - bottom) * static_cast<double>(i) / (n - 1)) : top;
        }
        canvas.setPen(QColor(rgb[0], rgb[1], rgb[2]));
        canvas.drawLine(area.left(), y, area.right(), y);
    }
}

void DrawPlatformPictures(QPainter& canvas)
{
    DrawResPicture(QStringLiteral("Windows"), canvas, 30, 400, 0, 0, false);
    DrawResPicture(QStringLiteral("Android"), canvas, 622, 400, 0, 0, false);
    canvas.setPen(QPen(QColor(255, 0, 0), 2));
    canvas.setBrush(Qt::NoBrush);
    canvas.drawRoundedRect(QRect(28, 398, 52, 52), 3.5, 3.5);
    canvas.drawRoundedRect(QRect(620, 398, 52, 52), 3.5, 3.5);
}

TFAcc1::TFAcc1(Settings& prefs, const QImage& background, AccountContext context, bool ratingChoice, QWidget* parent)
    : LocalDialog(prefs, background, QSize(720, 610), parent), RatingChoiceEnabled(ratingChoice),
      background_(background), context_(std::move(context))
{
    setObjectName(QStringLiteral("FAcc1"));
    setWindowTitle(UiText(Msg::ClubWindowCaption));
    busy_ = new WindowBusy(this);
    headerArea = MakePictureArea(this, "Image0", QRect(0, 0, 720, 60));
    tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("PageControl1"));
    tabs->setGeometry(5, 60, 710, 480);
    const Msg tabNames[6] = {Msg::TabMyAccount, Msg::TabMyResults, Msg::Count, Msg::Count, Msg::TabAboutMe,
                             Msg::TabChairman};
    for (int i = 0; i < 6; ++i) {
        tabPages[i] = new QWidget();
        tabPages[i]->setObjectName(QStringLiteral("TabSheet%1").arg(i + 1));
        tabCanvases[i] = MakePictureArea(tabPages[i], QStringLiteral("ImageN%1").arg(i + 1).toLatin1().constData(),
                                    QRect(0, 0, 702, 452));
        const QString name = i == 2 ? QStringLiteral("Top 10")
                             : i == 3 ? QStringLiteral("Tevs")
                                      : UiText(tabNames[i]);
        tabs->addTab(tabPages[i], name);
    }
    ButtonOk = MakeOkButton(QRect(5, 550, 710, 45));
    ButtonOk->setObjectName(QStringLiteral("ButtonOk"));
    ButtonOk->SetColorSB(DRed);
    ButtonOk->SetFontColor(kYellow);
    ButtonOk->setFont(MakeFont(kFieldFont, 16, true));

    Notice = [this](const QString& text) { ShowAttention(this, text); };
    Confirm = [this](const QString& question) { return AskYesNo(this, question); };
    OpenCardEditor = [this] {
        TFAcc2 editor(Prefs(), background_, context_, ownCardKnown_, this);
        editor.exec();
        ownCardKnown_ = ownCardKnown_ || editor.CardKnown();
    };

    CreateAccountTab();
    CreateOtherTabs();
    connect(tabs, &QTabWidget::currentChanged, this, &TFAcc1::TabShown);

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

void TFAcc1::CreateAccountTab()
{
    QWidget* page = tabPages[0];
    // A pasted text the club's code page cannot hold is refused whole.
    auto* validator = new Cp1251Validator(this);
    const auto edit = [page, validator](const char* name, int x, int y, int maxLength, const char* more = "") {
        auto* e = new QLineEdit(page);
        e->setObjectName(QLatin1String(name));
        e->setGeometry(x, y, 170, 21);
        if (maxLength > 0)
            e->setMaxLength(maxLength);
        DressField(e, more);
        e->setValidator(validator);
        e->setTextMargins(0, -4, 0, -4);
        return e;
    };
    nickEdit = edit("Edit1", 10, 89, 12);
    // A hidden password shows one "#" for each character.
    passwordEdit = edit("Edit2", 10, 163, 12, "lineedit-password-character: 35;");
    countryKeyEdit = edit("Edit3", 10, 313, 0);
    cityEdit = edit("Edit4", 240, 89, 15);
    emailEdit = edit("Edit5", 240, 163, 30);
    registeredEdit = edit("Edit6", 240, 313, 0);
    countryKeyEdit->setEnabled(false);
    registeredEdit->setEnabled(false);
    for (QLineEdit* e : {nickEdit, passwordEdit, cityEdit, emailEdit})
        e->installEventFilter(this);
    connect(nickEdit, &QLineEdit::textEdited, this, [this](const QString& t) { FieldEdited(NickField, t); });
    connect(passwordEdit, &QLineEdit::textEdited, this, [this](const QString& t) { FieldEdited(PasswordField, t); });
    connect(cityEdit, &QLineEdit::textEdited, this, [this](const QString& t) { FieldEdited(CityField, t); });
    connect(emailEdit, &QLineEdit::textEdited, this, [this](const QString& t) { FieldEdited(EMailField, t); });

    hidePasswordBox = new QCheckBox(UiText(Msg::HidePassword), page);
    hidePasswordBox->setObjectName(QStringLiteral("CheckBox1"));
    hidePasswordBox->setGeometry(10, 198, 170, 17);
    ratingGameBox = new QCheckBox(UiText(Msg::PlayGlobalRating), page);
    ratingGameBox->setObjectName(QStringLiteral("CheckBox2"));
    ratingGameBox->setGeometry(255, 378, 271, 17);
    for (QCheckBox* c : {hidePasswordBox, ratingGameBox}) {
        DressField(c);
        c->setFont(MakeFont(kFieldFont, 14, true));
    }
    hidePasswordBox->setChecked(true);
    passwordEdit->setEchoMode(QLineEdit::Password);
    connect(hidePasswordBox, &QCheckBox::clicked, this, [this](bool hide) {
        passwordEdit->setEchoMode(hide ? QLineEdit::Password : QLineEdit::Normal);
    });
    connect(ratingGameBox, &QCheckBox::clicked, this, &TFAcc1::CheckBox2Click);

    countries_ = new CountryChoice(page, QStringLiteral("ComboBox1"), QStringLiteral("ComboBox2"));
    continentList = countries_->ContinentList();
    countryList = countries_->CountryList();
    continentList->setGeometry(10, 250, 170, 26);
    countryList->setGeometry(10, 283, 170, 26);
    sexList = new QComboBox(page);
    sexList->setObjectName(QStringLiteral("ComboBox3"));
    sexList->setGeometry(240, 250, 170, 26);
    sexList->addItems({UiText(Msg::SexMale), UiText(Msg::SexFemale)});
    for (QComboBox* c : {continentList, countryList, sexList})
        DressField(c);
    connect(countries_, &CountryChoice::chosen, this, &TFAcc1::CountryChosen);
    connect(sexList, &QComboBox::activated, this,
            [this](int index) { Club().ClubUser.Sex = index == 1 ? 'W' : 'M'; });

    createButton = MakeAccountButton(page, "Button1", QRect(455, 80, 240, 45));
    loginButton = MakeAccountButton(page, "Button2", QRect(455, 155, 240, 45));
    saveLoginButton = MakeAccountButton(page, "Button3", QRect(455, 240, 240, 45));
    deleteLoginButton = MakeAccountButton(page, "Button4", QRect(455, 305, 240, 45));
    createButton->setText(UiText(Msg::CreateAccount));
    saveLoginButton->setText(UiText(Msg::SaveUserFile));
    deleteLoginButton->setText(UiText(Msg::DeleteUserFile));
    connect(createButton, &QPushButton::clicked, this, &TFAcc1::Button1Click);
    connect(loginButton, &QPushButton::clicked, this, &TFAcc1::Button2Click);
    connect(saveLoginButton, &QPushButton::clicked, this, &TFAcc1::Button3Click);
    connect(deleteLoginButton, &QPushButton::clicked, this, &TFAcc1::Button4Click);
    saveLoginButton->setEnabled(State() >= 2 && !Club().UserFileSaved);
    deleteLoginButton->setEnabled(Club().UserFileSaved);

    stateStar = new AnimationPlayer(page);
    stateStar->setObjectName(QStringLiteral("RxGIFAn1"));
    stateStar->setGeometry(194, 365, 55, 45);

    // Moving the mouse over the tab tells a player's own edits from the
    // browser's filling of the fields.
    tabCanvases[0]->setMouseTracking(true);
    tabCanvases[0]->installEventFilter(this);
}

bool TFAcc1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == tabCanvases[0] && event->type() == QEvent::MouseMove)
        editsUntouched_ = false;
    if (watched == tabCanvases[5] && event->type() == QEvent::MouseMove) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        const bool overRows = at.x() >= 260 && at.x() <= 700 && at.y() >= 40 && at.y() <= 412;
        tabCanvases[5]->setCursor(overRows ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }
    if (watched == tabCanvases[5] && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        ImageN6MouseUp(static_cast<QMouseEvent*>(event)->position().toPoint());
    if (event->type() == QEvent::KeyPress) {
        const int kind = watched == nickEdit ? NickField
                         : watched == passwordEdit ? PasswordField
                         : watched == cityEdit ? CityField
                         : watched == emailEdit ? EMailField
                         : watched == EditTevsAddUs ? -1
                                                     : 0;
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        if (kind != 0 && typed.size() == 1 && typed[0].unicode() >= 0x20 && typed[0].unicode() != 0x7F) {
            const auto byte = UnicodeToCp1251(typed[0].unicode());
            const bool accepted = byte && (kind < 0 ? NickCharacter(*byte) : AccountKeyAccepted(*byte, kind));
            if (!accepted)
                return true;
        }
    }
    return LocalDialog::eventFilter(watched, event);
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
            gameReadFailed_ = State() >= 2 && !Club().GameRecordOk;
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
        coinAnimation->LoadGif(QStringLiteral("GTevsGIF"));
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

void TFAcc1::DrawFieldLamp(int x, int y, int cls)
{
    QPainter p(&tabCanvases[0]->Canvas());
    // The lamps are round: the old one would show at the new one's edges.
    DrawGradient(p, tabCanvases[0]->Canvas().rect(), kTabTop, kTabBottom, QRect(x, y, 24, 24));
    DrawResPicture(QLatin1String(LampPicture(cls)), p, x, y, 0, 0, false);
    p.end();
    tabCanvases[0]->update();
}

void TFAcc1::ShowStar()
{
    const int state = State();
    stateStar->LoadGif(state == 3 ? QStringLiteral("StarG0") : state == 2 ? QStringLiteral("StarY0")
                                                                          : QStringLiteral("StarR0"));
}

void TFAcc1::RefreshAccountTab()
{
    const bool loggedOut = State() <= 1;
    const TTevUser& u = Club().ClubUser;
    for (QWidget* w : std::initializer_list<QWidget*>{nickEdit, passwordEdit, cityEdit, emailEdit, continentList, countryList, sexList})
        w->setEnabled(loggedOut);
    // Filling the fields from the member's record is no edit of the player.
    nickEdit->setText(ToQString(u.Nick));
    passwordEdit->setText(ToQString(u.Pw));
    cityEdit->setText(ToQString(u.City));
    emailEdit->setText(ToQString(u.EMail));
    registeredEdit->setText(loggedOut ? QStringLiteral("00.00.0000") : ToQString(u.DateR));
    countryKeyEdit->setText(ToQString(u.Country1));
    ratingGameBox->setEnabled(!loggedOut && RatingChoiceEnabled);
    loginButton->setText(UiText(loggedOut ? Msg::LoginToAccount : Msg::SignOut));
    {
        const QSignalBlocker block(sexList);
        sexList->setCurrentIndex(u.Sex == 'M' ? 0 : 1);
    }
    countries_->ShowCode(u.Country2);
    {
        const QSignalBlocker block(ratingGameBox);
        ratingGameBox->setChecked(State() == 3);
    }
    const std::string* texts[4] = {&u.Nick, &u.City, &u.Pw, &u.EMail};
    for (int i = 0; i < 4; ++i)
        DrawFieldLamp(kLamps[i].X, kLamps[i].Y, CheckAccountField(*texts[i], kLamps[i].Kind));
    SetAccountButtons();
}

void TFAcc1::SetAccountButtons()
{
    const bool loggedOut = State() <= 1;
    const TTevUser& u = Club().ClubUser;
    createButton->setEnabled(loggedOut && RegistrationAllowed(u));
    loginButton->setEnabled(!loggedOut || LoginAllowed(u));
    if (context_.RatingGameLocked) {
        // A rating game is on its way: the account stays as it is.
        for (QWidget* w : std::initializer_list<QWidget*>{nickEdit, passwordEdit, cityEdit, emailEdit, continentList, countryList, sexList,
                                                          ratingGameBox, createButton, loginButton, saveLoginButton, deleteLoginButton})
            w->setEnabled(false);
    }
}

void TFAcc1::FieldEdited(int kind, const QString& text)
{
    TTevUser& u = Club().ClubUser;
    const std::string bytes = ToCp1251(text);
    std::string* field = kind == NickField ? &u.Nick : kind == PasswordField ? &u.Pw : kind == CityField ? &u.City
                                                                                                       : &u.EMail;
    *field = bytes;
    if (kind == PasswordField)
        u.PwC = EncodeText(u.Pw, ClubStartKey);
    for (const LampPlace& lamp : kLamps)
        if (lamp.Kind == kind)
            DrawFieldLamp(lamp.X, lamp.Y, CheckAccountField(bytes, kind));
    SetAccountButtons();
    if ((kind == NickField || kind == PasswordField) && !editsUntouched_ && !context_.RatingGameLocked)
        saveLoginButton->setEnabled(true);
}

void TFAcc1::CountryChosen(int continent, int row)
{
    TTevUser& u = Club().ClubUser;
    u.Country2 = CountryCodeOf({continent, row});
    u.Country1 = std::string(CountryRow(continent, row).Key);
    countryKeyEdit->setText(ToQString(u.Country1));
}

void TFAcc1::PaintAccountTab()
{
    QImage& canvas = tabCanvases[0]->Canvas();
    {
        QPainter p(&canvas);
        DrawGradient(p, canvas.rect(), kTabTop, kTabBottom);
    }
    RefreshAccountTab();
    QPainter p(&canvas);
    p.setFont(MakeFont(kFieldFont, 36, true));
    TextOutShadow(UiText(Msg::AccountInfoTitle), 10, 692, 10, p, kYellow, 'c');
    p.setFont(MakeFont(kFieldFont, 24, true));
    const struct {
        QString Text;
        int X, Y;
    } labels[] = {
        {UiText(Msg::Nick), 10, 60},      {UiText(Msg::Password), 10, 135}, {UiText(Msg::Country), 10, 222},
        {UiText(Msg::City), 240, 60},     {QStringLiteral("E-Mail"), 240, 135}, {UiText(Msg::Sex), 240, 222},
        {UiText(Msg::Registration), 240, 285},
    };
    for (const auto& label : labels)
        TextOutShadow(label.Text + QLatin1Char(':'), label.X, 0, label.Y, p, kYellow, 'l');
    if (Club().MemberCountOk)
        TextOutShadow(UiText(Msg::ClubMembers) + QString::number(Club().MemberCount), 10, 692, 420, p, kRed, 'c');
    DrawResPicture(QStringLiteral("RamkaAc"), p, 180, 360, 0, 0, false);
    DrawPlatformPictures(p);
    p.end();
    ShowStar();
    tabCanvases[0]->update();
}

void TFAcc1::CheckBox2Click()
{
    ClickSound();
    if (!RatingChoiceEnabled || context_.RatingGameLocked) {
        const QSignalBlocker block(ratingGameBox);
        ratingGameBox->setChecked(State() == 3);
        return;
    }
    if (ratingGameBox->isChecked() && State() == 2)
        State() = 3;
    else if (!ratingGameBox->isChecked() && State() == 3)
        State() = 2;
    DrawStateLamps(State());
    ShowStar();
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
        // Signing out also forgets the session the server gave this run.
        State() = 1;
        context_.Http.ClearCookies();
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
                gameReadFailed_ = !outcome.Reads.Connected;
                State() = 1;
                DrawStateLamps(State());
                PaintAllTabs();
                return;
            }
            State() = 2;
            TakeReads(outcome.Reads);
            ownCardKnown_ = outcome.Reads.OwnCardKnown;
            gameReadFailed_ = !Club().GameRecordOk;
            // A member just logged in may keep the login on this computer.
            saveLoginButton->setEnabled(!Club().UserFileSaved && !context_.RatingGameLocked);
            DrawStateLamps(State());
            PaintAllTabs();
        });
}

void TFAcc1::Button3Click()
{
    ClickSound();
    if (WriteUserFile(UserFilePath(context_.ProgramDir), Club()))
        saveLoginButton->setEnabled(false);
    deleteLoginButton->setEnabled(Club().UserFileSaved);
}

void TFAcc1::Button4Click()
{
    ClickSound();
    DeleteUserFile(UserFilePath(context_.ProgramDir), Club());
    if (!Club().UserFileSaved) {
        saveLoginButton->setEnabled(true);
        deleteLoginButton->setEnabled(false);
    }
}

void ShowAccountWindow(Settings& prefs, const QImage& background, const AccountContext& context, bool ratingChoice,
                       QWidget* parent)
{
    TFAcc1 window(prefs, background, context, ratingChoice, parent);
    window.exec();
}

} // namespace vk
