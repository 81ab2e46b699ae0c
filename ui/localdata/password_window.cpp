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
    Image1 = MakePictureArea(this, "Image1", QRect(0, 0, 440, 100));
    Label1 = MakeLabel(this, "Label1", QRect(120, 110, 200, 20));
    Label2 = MakeLabel(this, "Label2", QRect(120, 170, 200, 20));
    Label3 = MakeLabel(this, "Label3", QRect(120, 230, 200, 20));
    Label4 = MakeLabel(this, "Label4", QRect(120, 280, 200, 17));
    Edit1 = MakeBox(this, "Edit1", QRect(120, 130, 200, 21), static_cast<int>(NameLength));
    Edit2 = MakeBox(this, "Edit2", QRect(120, 190, 200, 21), static_cast<int>(PasswordLength));
    Edit3 = MakeBox(this, "Edit3", QRect(120, 250, 200, 21), static_cast<int>(PasswordLength));
    auto* mask = new HashMaskStyle;
    mask->setParent(this);
    for (QLineEdit* box : {Edit2, Edit3}) {
        box->setStyle(mask);
        box->setEchoMode(QLineEdit::Password);
    }
    Edit1->setText(UiText(Msg::Incognito));

    Button1 = new TTevQuizButton(this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setText(QStringLiteral("Ok"));
    Button1->setGeometry(10, 310, 200, 30);
    Button2 = new TTevQuizButton(this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(230, 310, 200, 30);
    // Enter belongs to the boxes: no button takes it as the default one.
    for (TTevQuizButton* b : {Button1, Button2}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    RxGIFAn1 = new AnimationPlayer(this);
    RxGIFAn1->setObjectName(QStringLiteral("RxGIFAn1"));
    RxGIFAn1->setGeometry(15, 150, 90, 90);
    RxGIFAn2 = new AnimationPlayer(this);
    RxGIFAn2->setObjectName(QStringLiteral("RxGIFAn2"));
    RxGIFAn2->setGeometry(335, 150, 90, 90);

    connect(Button1, &QPushButton::clicked, this, &TFormPassword::CheckEntry);
    connect(Button2, &QPushButton::clicked, this, [this] {
        ClickSound();
        reject();
    });
    for (QLineEdit* box : {Edit1, Edit2, Edit3})
        connect(box, &QLineEdit::returnPressed, this, &TFormPassword::CheckEntry);
    // Only what the player types is the name to propose next time; the
    // window's own filling of the box is not.
    connect(Edit1, &QLineEdit::textEdited, this, [this](const QString& text) { Prefs().PlayerName = ToCp1251(text); });

    SetFonts(prefs.DisplayFontName);
}

void TFormPassword::SetFonts(const std::string& displayFontName)
{
    setFont(MakeFont(displayFontName, LabelHeight, false));
    for (QLabel* label : {Label1, Label2, Label3, Label4})
        label->setFont(MakeFont(displayFontName, LabelHeight, false));
    for (TTevQuizButton* b : {Button1, Button2})
        b->setFont(MakeFont(displayFontName, ButtonHeight, false));
    Edit1->setFont(MakeFont(displayFontName, EditHeight, false));
    for (QLineEdit* box : {Edit2, Edit3})
        box->setFont(MakeFont(SubstituteFontName, EditHeight, false));
}

void TFormPassword::Prepare(PasswordMode mode, int slot, const std::string& clubFilePath, LocalClubState& state)
{
    mode_ = mode;
    slot_ = mode == PasswordMode::Member ? slot : 6;
    clubFilePath_ = clubFilePath;
    state_ = &state;

    Label4->hide();
    setWindowTitle(UiText(Msg::Welcome));
    Label1->setText(UiText(Msg::EnterName));
    Label2->setText(UiText(Msg::EnterPassword));
    Label3->setText(UiText(Msg::PasswordAgain));
    Button2->setText(UiText(Msg::Cancel));
    FitLabelInBox(Label1, QRect(120, 110, 200, 20));
    FitLabelInBox(Label2, QRect(120, 170, 200, 20));
    FitLabelInBox(Label3, QRect(120, 230, 200, 20));
    Edit2->clear();
    Edit3->clear();

    const bool member = mode == PasswordMode::Member;
    memberName_.clear();
    if (member) {
        const auto lines = ReadClubFile(clubFilePath);
        if (lines && slot >= 1 && slot <= MemberCount)
            memberName_ = MemberName((*lines)[static_cast<std::size_t>(slot - 1)]);
        Edit1->setText(ToQString(memberName_));
    } else if (mode == PasswordMode::NewPlayer) {
        Edit1->setText(ToQString(TrimBlanks(Prefs().PlayerName)));
    } else {
        std::string_view name = state.CurrentName;
        while (!name.empty() && name.back() == ' ')
            name.remove_suffix(1);
        Edit1->setText(ToQString(name));
    }
    for (QWidget* w : {static_cast<QWidget*>(Edit1), static_cast<QWidget*>(Label1), static_cast<QWidget*>(Edit3),
                       static_cast<QWidget*>(Label3)})
        w->setEnabled(!member);

    DressArea(*Image1, {{"G_Begin", 20, 0}, {"G_Zav2", 65, 64}, {"GPFlagS", 10, 6}, {"GPFlagS", 382, 6}});
    LoadGifRes(QStringLiteral("GPw"), *RxGIFAn1);
    LoadGifRes(QStringLiteral("GPw"), *RxGIFAn2);

    (member ? Edit2 : Edit1)->setFocus();
}

bool TFormPassword::ShowModal(PasswordMode mode, int slot, const std::string& clubFilePath, LocalClubState& state)
{
    Prepare(mode, slot, clubFilePath, state);
    exec();
    return state.PasswordAccepted;
}

void TFormPassword::ShowError(Msg message, QLineEdit* focus)
{
    Label4->setText(UiText(message));
    FitLabelInBox(Label4, QRect(120, 280, 200, 17));
    Label4->show();
    focus->setFocus();
}

void TFormPassword::CheckEntry()
{
    if (!state_)
        return;
    if (Edit1->text().isEmpty()) {
        ShowError(Msg::IncorrectName, Edit1);
        return;
    }
    const std::string typed = PadRight(ToCp1251(Edit2->text()), PasswordLength);
    if (slot_ == 6 && Edit2->text() != Edit3->text()) {
        ShowError(Msg::PasswordsDiffer, Edit2);
        return;
    }
    if (slot_ != 6) {
        // A member line whose code no password gives never matches.
        const auto stored = DecodePassword(slot_, clubFilePath_);
        if (!stored || typed != *stored) {
            ShowError(Msg::IncorrectPassword, Edit2);
            return;
        }
        state_->CurrentPassword = *stored;
        state_->CurrentPasswordCode = EncodePassword(*stored);
        state_->CurrentName = memberName_;
    } else {
        state_->CurrentName = PadRight(ToCp1251(Edit1->text()), NameLength);
        state_->CurrentPassword = typed;
        state_->CurrentPasswordCode = EncodePassword(typed);
    }
    state_->PasswordAccepted = true;
    accept();
}

void TFormPassword::done(int result)
{
    RxGIFAn1->Clear();
    RxGIFAn2->Clear();
    LocalDialog::done(result);
}

} // namespace vk
