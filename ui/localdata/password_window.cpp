#include "ui/localdata/password_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProxyStyle>

#include "common/messages.h"
#include "common/text_lines.h"
#include "ui/localdata/apply_fonts.h"
#include "ui/kit/animation_player.h"
#include "ui/kit/cp1251_validator.h"
#include "ui/kit/dressing.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/text_codec.h"

namespace vk {
namespace {

// Password boxes show "#" for every character typed.
class HashMaskStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '#';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& box)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(box);
    label->setAlignment(Qt::AlignCenter);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, QColor(255, 255, 0));
    label->setPalette(pal);
    return label;
}

QLineEdit* MakeBox(QWidget* parent, const char* name, const QRect& box, int maxLength)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(box);
    edit->setMaxLength(maxLength);
    edit->setValidator(new Cp1251Validator(edit));
    QPalette pal = edit->palette();
    pal.setColor(QPalette::Base, QColor(200, 255, 255));
    pal.setColor(QPalette::Text, QColor(0, 0, 100));
    edit->setPalette(pal);
    return edit;
}

} // namespace

TFormPassword::TFormPassword(Settings& prefs, const QImage& background, QWidget* parent)
    : LocalDialog(prefs, background, QSize(440, 350), parent)
{
    setObjectName(QStringLiteral("FormPassword"));
    titleArea = MakePictureArea(this, "Image1", QRect(0, 0, 440, 100));
    nameLabel = MakeLabel(this, "Label1", QRect(120, 110, 200, 20));
    passwordLabel = MakeLabel(this, "Label2", QRect(120, 170, 200, 20));
    repeatLabel = MakeLabel(this, "Label3", QRect(120, 230, 200, 20));
    errorLabel = MakeLabel(this, "Label4", QRect(120, 280, 200, 17));
    nameEdit = MakeBox(this, "Edit1", QRect(120, 130, 200, 21), static_cast<int>(NameLength));
    passwordEdit = MakeBox(this, "Edit2", QRect(120, 190, 200, 21), static_cast<int>(PasswordLength));
    repeatEdit = MakeBox(this, "Edit3", QRect(120, 250, 200, 21), static_cast<int>(PasswordLength));
    auto* mask = new HashMaskStyle;
    mask->setParent(this);
    for (QLineEdit* box : {passwordEdit, repeatEdit}) {
        box->setStyle(mask);
        box->setEchoMode(QLineEdit::Password);
    }
    nameEdit->setText(UiText(Msg::Incognito));

    okButton = new TTevQuizButton(this);
    okButton->setObjectName(QStringLiteral("Button1"));
    okButton->setText(QStringLiteral("Ok"));
    okButton->setGeometry(10, 310, 200, 30);
    cancelButton = new TTevQuizButton(this);
    cancelButton->setObjectName(QStringLiteral("Button2"));
    cancelButton->setGeometry(230, 310, 200, 30);
    // Enter belongs to the boxes: no button takes it as the default one.
    for (TTevQuizButton* b : {okButton, cancelButton}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    leftKeyAnimation = new AnimationPlayer(this);
    leftKeyAnimation->setObjectName(QStringLiteral("RxGIFAn1"));
    leftKeyAnimation->setGeometry(15, 150, 90, 90);
    rightKeyAnimation = new AnimationPlayer(this);
    rightKeyAnimation->setObjectName(QStringLiteral("RxGIFAn2"));
    rightKeyAnimation->setGeometry(335, 150, 90, 90);

    connect(okButton, &QPushButton::clicked, this, &TFormPassword::CheckEntry);
    connect(cancelButton, &QPushButton::clicked, this, [this] {
        ClickSound();
        reject();
    });
    for (QLineEdit* box : {nameEdit, passwordEdit, repeatEdit})
        connect(box, &QLineEdit::returnPressed, this, &TFormPassword::CheckEntry);
    // Only what the player types is the name to propose next time; the
    // window's own filling of the box is not.
    connect(nameEdit, &QLineEdit::textEdited, this,
            [this](const QString& text) { Prefs().PlayerName = ToCp1251(text); });

    SetFonts(prefs.DisplayFontName);
}

void TFormPassword::SetFonts(const std::string& displayFontName)
{
    setFont(MakeFont(displayFontName, LabelHeight, false));
    for (QLabel* label : {nameLabel, passwordLabel, repeatLabel, errorLabel})
        label->setFont(MakeFont(displayFontName, LabelHeight, false));
    for (TTevQuizButton* b : {okButton, cancelButton})
        b->setFont(MakeFont(displayFontName, ButtonHeight, false));
    nameEdit->setFont(MakeFont(displayFontName, EditHeight, false));
    for (QLineEdit* box : {passwordEdit, repeatEdit})
        box->setFont(MakeFont(SubstituteFontName, EditHeight, false));
}

void TFormPassword::Prepare(PasswordMode mode, int slot, const std::string& clubFilePath, LocalClubState& state)
{
    mode_ = mode;
    slot_ = mode == PasswordMode::Member ? slot : 6;
    clubFilePath_ = clubFilePath;
    state_ = &state;

    errorLabel->hide();
    setWindowTitle(UiText(Msg::Welcome));
    nameLabel->setText(UiText(Msg::EnterName));
    passwordLabel->setText(UiText(Msg::EnterPassword));
    repeatLabel->setText(UiText(Msg::PasswordAgain));
    cancelButton->setText(UiText(Msg::Cancel));
    FitLabelInBox(nameLabel, QRect(120, 110, 200, 20));
    FitLabelInBox(passwordLabel, QRect(120, 170, 200, 20));
    FitLabelInBox(repeatLabel, QRect(120, 230, 200, 20));
    passwordEdit->clear();
    repeatEdit->clear();

    const bool member = mode == PasswordMode::Member;
    memberName_.clear();
    if (member) {
        const auto lines = ReadClubFile(clubFilePath);
        if (lines && slot >= 1 && slot <= MemberCount)
            memberName_ = MemberName((*lines)[static_cast<std::size_t>(slot - 1)]);
        nameEdit->setText(ToQString(memberName_));
    } else if (mode == PasswordMode::NewPlayer) {
        nameEdit->setText(ToQString(TrimBlanks(Prefs().PlayerName)));
    } else {
        std::string_view name = state.CurrentName;
        while (!name.empty() && name.back() == ' ')
            name.remove_suffix(1);
        nameEdit->setText(ToQString(name));
    }
    for (QWidget* w : {static_cast<QWidget*>(nameEdit), static_cast<QWidget*>(nameLabel),
                       static_cast<QWidget*>(repeatEdit), static_cast<QWidget*>(repeatLabel)})
        w->setEnabled(!member);

    DressArea(*titleArea, {{"G_Begin", 20, 0}, {"G_Zav2", 65, 64}, {"GPFlagS", 10, 6}, {"GPFlagS", 382, 6}});
    LoadGifRes(QStringLiteral("GPw"), *leftKeyAnimation);
    LoadGifRes(QStringLiteral("GPw"), *rightKeyAnimation);

    (member ? passwordEdit : nameEdit)->setFocus();
}

bool TFormPassword::ShowModal(PasswordMode mode, int slot, const std::string& clubFilePath, LocalClubState& state)
{
    Prepare(mode, slot, clubFilePath, state);
    exec();
    return state.PasswordAccepted;
}

void TFormPassword::ShowError(Msg message, QLineEdit* focus)
{
    errorLabel->setText(UiText(message));
    FitLabelInBox(errorLabel, QRect(120, 280, 200, 17));
    errorLabel->show();
    focus->setFocus();
}

void TFormPassword::CheckEntry()
{
    if (!state_)
        return;
    if (nameEdit->text().isEmpty()) {
        ShowError(Msg::IncorrectName, nameEdit);
        return;
    }
    const std::string typed = PadRight(ToCp1251(passwordEdit->text()), PasswordLength);
    if (slot_ == 6 && passwordEdit->text() != repeatEdit->text()) {
        ShowError(Msg::PasswordsDiffer, passwordEdit);
        return;
    }
    if (slot_ != 6) {
        // A member line whose code no password gives never matches.
        const auto stored = DecodePassword(slot_, clubFilePath_);
        if (!stored || typed != *stored) {
            ShowError(Msg::IncorrectPassword, passwordEdit);
            return;
        }
        state_->CurrentPassword = *stored;
        state_->CurrentPasswordCode = EncodePassword(*stored);
        state_->CurrentName = memberName_;
    } else {
        state_->CurrentName = PadRight(ToCp1251(nameEdit->text()), NameLength);
        state_->CurrentPassword = typed;
        state_->CurrentPasswordCode = EncodePassword(typed);
    }
    state_->PasswordAccepted = true;
    accept();
}

void TFormPassword::done(int result)
{
    leftKeyAnimation->Clear();
    rightKeyAnimation->Clear();
    LocalDialog::done(result);
}

} // namespace vk
