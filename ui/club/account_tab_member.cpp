#include "ui/club/account_tab_member.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSignalBlocker>

#include "common/text_cipher.h"
#include "logic/club/account_fields.h"
#include "logic/club/club_state.h"
#include "logic/club/user_file.h"
#include "ui/club/club_window_parts.h"
#include "ui/club/country_choice.h"
#include "ui/kit/animation_player.h"
#include "ui/kit/cp1251_validator.h"
#include "ui/kit/dressing.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/text_codec.h"

namespace vk {
namespace {

struct LampPlace {
    int X, Y, Kind;
};
const LampPlace kLamps[4] = {
    {180, 91, NickField}, {410, 91, CityField}, {180, 165, PasswordField}, {410, 165, EMailField}};

// The edits, lists and check boxes of the tab.  What the widget's style
// sheet already says (the country list's popup under its box) stays;
// `more` adds to the field's own rule.
void DressField(QWidget* w, const char* more = "")
{
    w->setFont(TabFont(20));
    w->setStyleSheet(w->styleSheet()
                     + QStringLiteral(" %1 { color: rgb(255, 0, 0); background-color: rgb(255, 255, 200); %2 }")
                           .arg(QLatin1String(w->metaObject()->className()), QLatin1String(more)));
}

} // namespace

AccountMemberTab::AccountMemberTab(ClubStateData& club, int& clubState, std::string programDir, bool ratingChoice,
                                   bool locked)
    : AccountTab(1, club, clubState), programDir_(std::move(programDir)), ratingChoice_(ratingChoice), locked_(locked)
{
    CreateFields();
    CreateLists();
    CreateButtons();
    stateStar = new AnimationPlayer(this);
    stateStar->setObjectName(QStringLiteral("RxGIFAn1"));
    stateStar->setGeometry(194, 365, 55, 45);
    ruleLine = MakeRuleLine(this, QRect(10, 337, 445, 22), TabFont(13));

    // Moving the mouse over the tab tells a player's own edits from the
    // browser's filling of the fields.
    CanvasArea().setMouseTracking(true);
    CanvasArea().installEventFilter(this);
}

void AccountMemberTab::CreateFields()
{
    // A pasted text the club's code page cannot hold is refused whole.
    auto* validator = new Cp1251Validator(this);
    const auto edit = [this, validator](const char* name, int x, int y, int maxLength, const char* more = "") {
        auto* e = new QLineEdit(this);
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

    hidePasswordBox = new QCheckBox(UiText(Msg::HidePassword), this);
    hidePasswordBox->setObjectName(QStringLiteral("CheckBox1"));
    hidePasswordBox->setGeometry(10, 198, 170, 17);
    ratingGameBox = new QCheckBox(UiText(Msg::PlayGlobalRating), this);
    ratingGameBox->setObjectName(QStringLiteral("CheckBox2"));
    ratingGameBox->setGeometry(255, 378, 271, 17);
    for (QCheckBox* c : {hidePasswordBox, ratingGameBox}) {
        DressField(c);
        c->setFont(TabFont(14));
    }
    hidePasswordBox->setChecked(true);
    passwordEdit->setEchoMode(QLineEdit::Password);
    connect(hidePasswordBox, &QCheckBox::clicked, this,
            [this](bool hide) { passwordEdit->setEchoMode(hide ? QLineEdit::Password : QLineEdit::Normal); });
    connect(ratingGameBox, &QCheckBox::clicked, this, &AccountMemberTab::CheckBox2Click);
}

void AccountMemberTab::CreateLists()
{
    countries_ = new CountryChoice(this, QStringLiteral("ComboBox1"), QStringLiteral("ComboBox2"));
    continentList = countries_->ContinentList();
    countryList = countries_->CountryList();
    continentList->setGeometry(10, 250, 170, 26);
    countryList->setGeometry(10, 283, 170, 26);
    sexList = new QComboBox(this);
    sexList->setObjectName(QStringLiteral("ComboBox3"));
    sexList->setGeometry(240, 250, 170, 26);
    sexList->addItems({UiText(Msg::SexMale), UiText(Msg::SexFemale)});
    for (QComboBox* c : {continentList, countryList, sexList})
        DressField(c);
    connect(countries_, &CountryChoice::chosen, this, &AccountMemberTab::CountryChosen);
    connect(sexList, &QComboBox::activated, this, [this](int index) { Club().ClubUser.Sex = index == 1 ? 'W' : 'M'; });
}

void AccountMemberTab::CreateButtons()
{
    createButton = MakeTabButton(this, "Button1", QRect(455, 80, 240, 45));
    loginButton = MakeTabButton(this, "Button2", QRect(455, 155, 240, 45));
    saveLoginButton = MakeTabButton(this, "Button3", QRect(455, 240, 240, 45));
    deleteLoginButton = MakeTabButton(this, "Button4", QRect(455, 305, 240, 45));
    createButton->setText(UiText(Msg::CreateAccount));
    saveLoginButton->setText(UiText(Msg::SaveUserFile));
    deleteLoginButton->setText(UiText(Msg::DeleteUserFile));
    connect(createButton, &QPushButton::clicked, this, &AccountMemberTab::createClicked);
    connect(loginButton, &QPushButton::clicked, this, &AccountMemberTab::loginClicked);
    connect(saveLoginButton, &QPushButton::clicked, this, &AccountMemberTab::Button3Click);
    connect(deleteLoginButton, &QPushButton::clicked, this, &AccountMemberTab::Button4Click);
    saveLoginButton->setEnabled(State() >= 2 && !Club().UserFileSaved);
    deleteLoginButton->setEnabled(Club().UserFileSaved);
}

bool AccountMemberTab::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &CanvasArea() && event->type() == QEvent::MouseMove)
        editsUntouched_ = false;
    const int kind = watched == nickEdit       ? NickField
                     : watched == passwordEdit ? PasswordField
                     : watched == cityEdit     ? CityField
                     : watched == emailEdit    ? EMailField
                                               : 0;
    if (kind != 0 && RefusedKey(*event, [kind](unsigned char c) { return AccountKeyAccepted(c, kind); })) {
        ShowKeyRefused(static_cast<QLineEdit*>(watched), static_cast<const QKeyEvent*>(event)->text());
        return true;
    }
    return AccountTab::eventFilter(watched, event);
}

void AccountMemberTab::OfferToKeepLogin() { saveLoginButton->setEnabled(!Club().UserFileSaved && !locked_); }

void AccountMemberTab::DrawFieldLamp(int x, int y, int cls)
{
    QPainter p(&Canvas());
    // The lamps are round: the old one would show at the new one's edges.
    DrawGradient(p, Canvas().rect(), kTabTop, kTabBottom, QRect(x, y, 24, 24));
    DrawResPicture(QLatin1String(LampPicture(cls)), p, x, y, 0, 0, false);
    p.end();
    CanvasArea().update();
}

void AccountMemberTab::ShowStar()
{
    const int state = State();
    stateStar->LoadGif(state == 3   ? QStringLiteral("StarG0")
                       : state == 2 ? QStringLiteral("StarY0")
                                    : QStringLiteral("StarR0"));
}

void AccountMemberTab::RefreshFields()
{
    const bool loggedOut = State() <= 1;
    const TTevUser& u = Club().ClubUser;
    for (QWidget* w : std::initializer_list<QWidget*>{nickEdit, passwordEdit, cityEdit, emailEdit, continentList,
                                                      countryList, sexList})
        w->setEnabled(loggedOut);
    // Filling the fields from the member's record is no edit of the player.
    nickEdit->setText(ToQString(u.Nick));
    passwordEdit->setText(ToQString(u.Pw));
    cityEdit->setText(ToQString(u.City));
    emailEdit->setText(ToQString(u.EMail));
    registeredEdit->setText(loggedOut ? QStringLiteral("00.00.0000") : ToQString(u.DateR));
    countryKeyEdit->setText(ToQString(u.Country1));
    ratingGameBox->setEnabled(!loggedOut && ratingChoice_);
    // Opened from the account icon the choice is not here: say where it is.
    ratingGameBox->setToolTip(ratingChoice_ ? QString() : UiText(Msg::RatingGameHowTo));
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

void AccountMemberTab::SetAccountButtons()
{
    const bool loggedOut = State() <= 1;
    const TTevUser& u = Club().ClubUser;
    createButton->setEnabled(loggedOut && RegistrationAllowed(u));
    loginButton->setEnabled(!loggedOut || LoginAllowed(u));
    // A grey button names the first rule that keeps it grey.
    const auto firstBroken = [&u](std::initializer_list<int> kinds) {
        for (const int kind : kinds) {
            const std::string& text = kind == NickField       ? u.Nick
                                      : kind == PasswordField ? u.Pw
                                      : kind == CityField     ? u.City
                                                              : u.EMail;
            if (const auto broken = FieldRuleBroken(text, kind))
                return UiText(*broken);
        }
        return QString();
    };
    createButton->setToolTip(loggedOut ? firstBroken({NickField, PasswordField, CityField, EMailField}) : QString());
    loginButton->setToolTip(loggedOut ? firstBroken({NickField, PasswordField}) : QString());
    if (locked_) {
        // A rating game is on its way: the account stays as it is.
        for (QWidget* w : std::initializer_list<QWidget*>{nickEdit, passwordEdit, cityEdit, emailEdit, continentList,
                                                          countryList, sexList, ratingGameBox, createButton,
                                                          loginButton, saveLoginButton, deleteLoginButton})
            w->setEnabled(false);
    }
}

void AccountMemberTab::FieldEdited(int kind, const QString& text)
{
    TTevUser& u = Club().ClubUser;
    const std::string bytes = ToCp1251(text);
    std::string* field = kind == NickField       ? &u.Nick
                         : kind == PasswordField ? &u.Pw
                         : kind == CityField     ? &u.City
                                                 : &u.EMail;
    *field = bytes;
    if (kind == PasswordField)
        u.PwC = EncodeText(u.Pw, ClubStartKey);
    for (const LampPlace& lamp : kLamps)
        if (lamp.Kind == kind)
            DrawFieldLamp(lamp.X, lamp.Y, CheckAccountField(bytes, kind));
    SetAccountButtons();
    ShowRule(kind);
    if ((kind == NickField || kind == PasswordField) && !editsUntouched_ && !locked_)
        saveLoginButton->setEnabled(true);
}

void AccountMemberTab::ShowRule(int kind)
{
    const TTevUser& u = Club().ClubUser;
    const std::string& text = kind == NickField       ? u.Nick
                              : kind == PasswordField ? u.Pw
                              : kind == CityField     ? u.City
                                                      : u.EMail;
    SayRuleBroken(ruleLine, FieldRuleBroken(text, kind));
}

void AccountMemberTab::ShowKeyRefused(QLineEdit* edit, const QString& typed)
{
    SayKeyRefused(ruleLine, typed, [this, edit] {
        const int kind = edit == nickEdit       ? NickField
                         : edit == passwordEdit ? PasswordField
                         : edit == cityEdit     ? CityField
                                                : EMailField;
        if (edit->hasFocus())
            ShowRule(kind);
    });
}

void AccountMemberTab::CountryChosen(int continent, int row)
{
    TTevUser& u = Club().ClubUser;
    u.Country2 = CountryCodeOf({continent, row});
    u.Country1 = std::string(CountryRow(continent, row).Key);
    countryKeyEdit->setText(ToQString(u.Country1));
}

void AccountMemberTab::PaintAccountTab()
{
    {
        QPainter p(&Canvas());
        StartPicture(p);
    }
    RefreshFields();
    QPainter p(&Canvas());
    DrawTabTitle(p, UiText(Msg::AccountInfoTitle));
    p.setFont(TabFont(24));
    const struct {
        QString Text;
        int X, Y;
    } labels[] = {
        {UiText(Msg::Nick), 10, 60},           {UiText(Msg::Password), 10, 135},     {UiText(Msg::Country), 10, 222},
        {UiText(Msg::City), 240, 60},          {QStringLiteral("E-Mail"), 240, 135}, {UiText(Msg::Sex), 240, 222},
        {UiText(Msg::Registration), 240, 285},
    };
    for (const auto& label : labels)
        TextOutShadow(label.Text + QLatin1Char(':'), label.X, 0, label.Y, p, kTabYellow, 'l');
    if (Club().MemberCountOk)
        TextOutShadow(UiText(Msg::ClubMembers) + QString::number(Club().MemberCount), 10, 692, 420, p, kTabRed, 'c');
    DrawResPicture(QStringLiteral("RamkaAc"), p, 180, 360, 0, 0, false);
    DrawPlatformPictures(p);
    p.end();
    ShowStar();
    CanvasArea().update();
}

void AccountMemberTab::CheckBox2Click()
{
    emit clickSound();
    if (!ratingChoice_ || locked_) {
        const QSignalBlocker block(ratingGameBox);
        ratingGameBox->setChecked(State() == 3);
        return;
    }
    if (ratingGameBox->isChecked() && State() == 2)
        State() = 3;
    else if (!ratingGameBox->isChecked() && State() == 3)
        State() = 2;
    ShowStar();
    emit ratingChoiceChanged();
}

void AccountMemberTab::Button3Click()
{
    emit clickSound();
    const bool written = WriteUserFile(UserFilePath(programDir_), Club());
    if (written)
        saveLoginButton->setEnabled(false);
    deleteLoginButton->setEnabled(Club().UserFileSaved);
    if (written)
        emit told(QStringLiteral("%1 \"%2\".").arg(UiText(Msg::LoginKept), ToQString(Club().ClubUser.Nick)), true);
    else
        emit told(UiText(Msg::LoginNotKept), false);
}

void AccountMemberTab::Button4Click()
{
    emit clickSound();
    DeleteUserFile(UserFilePath(programDir_), Club());
    if (!Club().UserFileSaved) {
        saveLoginButton->setEnabled(true);
        deleteLoginButton->setEnabled(false);
        emit told(UiText(Msg::LoginForgotten), true);
    } else {
        emit told(UiText(Msg::LoginNotForgotten), false);
    }
}

QString AccountMemberTab::KeptLoginNote() const
{
    std::string nick, storedPw;
    if (!ReadUserFile(UserFilePath(programDir_), nick, storedPw) || nick == Club().ClubUser.Nick)
        return {};
    return QStringLiteral("%1 \"%2\"; %3")
        .arg(UiText(Msg::NextStartLogsIn), ToQString(nick), UiText(Msg::SaveToSwitch));
}

} // namespace vk
