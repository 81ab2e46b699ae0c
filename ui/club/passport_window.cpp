#include "ui/club/passport_window.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

#include "ui/club/club_window_parts.h"
#include "ui/club/country_choice.h"
#include "logic/club/passport_text.h"
#include "ui/localdata/apply_fonts.h"
#include "ui/kit/dressing.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/text_codec.h"

namespace vk {
namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QPoint at)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, QColor(255, 255, 0));
    label->setPalette(pal);
    label->move(at);
    return label;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, const QRect& box, int maxLength)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(box);
    edit->setMaxLength(maxLength);
    SetEntryColours(edit);
    return edit;
}

int TextClass(const QLineEdit* edit, int mode) { return CheckPassportTextUnicode(edit->text().toStdU32String(), mode); }

} // namespace

TFormServerInfo::TFormServerInfo(Settings& prefs, const QImage& background, QWidget* parent)
    : LocalDialog(prefs, background, QSize(500, 400), parent)
{
    setObjectName(QStringLiteral("FormServerInfo"));
    setWindowTitle(UiText(Msg::Passport));
    setFont(MakeFont(prefs.DisplayFontName, 18, false));
    ImageTitle = MakePictureArea(this, "ImageTitle", QRect(0, 0, 500, 100));
    ImageLeft = MakePictureArea(this, "ImageLeft", QRect(10, 135, 120, 200));
    ImageRight = MakePictureArea(this, "ImageRight", QRect(370, 135, 120, 200));

    const QFont labelFont = MakeFont(prefs.DisplayFontName, 24, false);
    LabelNick = MakeLabel(this, "LabelNick", QStringLiteral("Nick:"), {150, 105});
    LabelCountry = MakeLabel(this, "LabelCountry", UiText(Msg::CountryLabel), {150, 165});
    LabelCity = MakeLabel(this, "LabelCity", UiText(Msg::CityLabel), {150, 245});
    LabelSex = MakeLabel(this, "LabelSex", UiText(Msg::SexLabel), {150, 305});
    for (QLabel* label : {LabelNick, LabelCountry, LabelCity, LabelSex}) {
        label->setFont(labelFont);
        label->adjustSize();
    }

    const QFont entryFont = MakeFont(prefs.DisplayFontName, 16, false);
    EditNick = MakeEdit(this, "EditNick", QRect(150, 130, 170, 24), static_cast<int>(ServerNickCapacity));
    EditCity = MakeEdit(this, "EditCity", QRect(150, 270, 170, 24), static_cast<int>(ServerCityCapacity));
    ImageLampNick = MakePictureArea(this, "ImageLampNick", QRect(325, 130, 24, 24));
    ImageLampCity = MakePictureArea(this, "ImageLampCity", QRect(325, 270, 24, 24));
    for (QLineEdit* edit : {EditNick, EditCity}) {
        edit->setFont(entryFont);
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textEdited, this, &TFormServerInfo::TextEdited);
    }

    countries_ = new CountryChoice(this, QStringLiteral("ComboBoxContinent"), QStringLiteral("ComboBoxCountry"));
    countries_->ContinentList()->setGeometry(150, 190, 170, 24);
    countries_->CountryList()->setGeometry(150, 215, 170, 24);
    connect(countries_, &CountryChoice::chosen, this, [this](int continent, int row) {
        Prefs().ServerCountry = CountryCodeOf({continent, row});
    });

    ComboBoxSex = new QComboBox(this);
    ComboBoxSex->setObjectName(QStringLiteral("ComboBoxSex"));
    ComboBoxSex->setGeometry(150, 330, 170, 24);
    ComboBoxSex->addItem(UiText(Msg::SexMale));
    ComboBoxSex->addItem(UiText(Msg::SexFemale));
    connect(ComboBoxSex, &QComboBox::activated, this,
            [this](int index) { Prefs().ServerSex.assign(1, index == 1 ? 'W' : 'M'); });
    for (QComboBox* list : {countries_->ContinentList(), countries_->CountryList(), ComboBoxSex}) {
        list->setFont(entryFont);
        SetEntryColours(list);
    }

    // "Ok" keeps its place and gives the right half of its row to «Отмена».
    okButton = MakeSharedButton(this, "Button1", QStringLiteral("Ok"), QRect(10, 360, 235, 30));
    cancelButton = MakeSharedButton(this, "ButtonCancel", UiText(Msg::Cancel), QRect(255, 360, 235, 30));
    for (TTevQuizButton* b : {okButton, cancelButton})
        b->setFont(MakeFont(prefs.DisplayFontName, 18, true));
    connect(okButton, &QPushButton::clicked, this, [this] {
        ClickSound();
        accept();
    });
    connect(cancelButton, &QPushButton::clicked, this, [this] {
        ClickSound();
        Cancel();
    });

    // Beside the nick, right of its label, above the side picture.
    const int ruleLeft = LabelNick->geometry().right() + 10;
    ruleLine = MakeRuleLine(this, QRect(ruleLeft, 101, 490 - ruleLeft, 28), MakeFont(prefs.DisplayFontName, 11, true));
    ruleLine->setWordWrap(true);
    ruleLine->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    // Tab follows the fields down the window.
    QWidget* order[] = {
        EditNick,    countries_->ContinentList(), countries_->CountryList(), EditCity, ComboBoxSex, okButton,
        cancelButton};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TFormServerInfo::showEvent(QShowEvent* event)
{
    LocalDialog::showEvent(event);
    DressArea(*ImageTitle, {{"G_Passport", 50, 0}, {"Earth48", 10, 6}, {"Earth48", 442, 6}, {"G_Zav1", 100, 57}});
    for (PictureBox* side : {ImageLeft, ImageRight})
        DressArea(*side, {{"GMech", 0, 0}});

    const Settings& s = Prefs();
    stored_ = {s.ServerNick, s.ServerCountry, s.ServerCity, s.ServerSex};
    // Filled from code: nothing here counts as the player's edit.
    EditNick->setText(ToQString(Prefs().ServerNick));
    EditCity->setText(ToQString(Prefs().ServerCity));
    Recheck();
    ShowLamp(ImageLampNick, nickClass_);
    ShowLamp(ImageLampCity, cityClass_);
    ShowRule(EditNick);
    countries_->ShowCode(Prefs().ServerCountry);
    {
        const QSignalBlocker block(ComboBoxSex);
        ComboBoxSex->setCurrentIndex(Prefs().ServerSex == "W" ? 1 : 0);
    }
}

void TFormServerInfo::done(int result)
{
    // The window stays until both texts may stand on the boards.
    if (!Valid()) {
        (nickClass_ == 1 ? EditNick : EditCity)->setFocus();
        return;
    }
    LocalDialog::done(result);
}

void TFormServerInfo::Cancel()
{
    Settings& s = Prefs();
    s.ServerNick = stored_.Nick;
    s.ServerCountry = stored_.Country;
    s.ServerCity = stored_.City;
    s.ServerSex = stored_.Sex;
    // What the window found is what the player had: it may go as it came,
    // even if it was refused then.
    LocalDialog::done(Rejected);
}

void TFormServerInfo::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Cancel();
        return;
    }
    LocalDialog::keyPressEvent(event);
}

bool TFormServerInfo::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && (watched == EditNick || watched == EditCity)) {
        // A typed character the boards refuse is dropped, and the player
        // told why; keys that type nothing (Backspace, the arrows, a paste)
        // go on.
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        if (!typed.isEmpty() && typed.at(0).isPrint()
            && CheckPassportTextUnicode(typed.toStdU32String(), PassportCharacter) == 1) {
            auto* edit = static_cast<QLineEdit*>(watched);
            SayKeyRefused(ruleLine, typed, [this, edit] {
                if (edit->hasFocus())
                    ShowRule(edit);
            });
            return true;
        }
    }
    return LocalDialog::eventFilter(watched, event);
}

void TFormServerInfo::TextEdited()
{
    Recheck();
    ShowLamp(sender() == EditNick ? ImageLampNick : ImageLampCity, sender() == EditNick ? nickClass_ : cityClass_);
    ShowRule(static_cast<const QLineEdit*>(sender()));
    // Both texts are taken together: a city fixed while the nick was still
    // refused is not lost when the nick is put right.
    if (Valid()) {
        Prefs().ServerNick = ToCp1251(EditNick->text());
        Prefs().ServerCity = ToCp1251(EditCity->text());
    }
}

void TFormServerInfo::Recheck()
{
    nickClass_ = TextClass(EditNick, PassportNick);
    cityClass_ = TextClass(EditCity, PassportCity);
    okButton->setEnabled(Valid());
}

void TFormServerInfo::ShowRule(const QLineEdit* first)
{
    const auto nick = PassportRule(nickClass_, PassportNick);
    const auto city = PassportRule(cityClass_, PassportCity);
    SayRuleBroken(ruleLine, first == EditCity ? (city ? city : nick) : (nick ? nick : city));
}

void TFormServerInfo::ShowLamp(PictureBox* lamp, int textClass)
{
    PaintAreaBackground(*lamp);
    QPainter p(&lamp->Canvas());
    const QString picture = textClass == 1   ? QStringLiteral("LampR24")
                            : textClass == 2 ? QStringLiteral("LampY24")
                                             : QStringLiteral("LampG24");
    DrawResPicture(picture, p, 0, 0, 0, 0, false);
    lamp->update();
}

void ShowPassport(Settings& prefs, const QImage& background, QWidget* parent)
{
    TFormServerInfo window(prefs, background, parent);
    window.exec();
}

} // namespace vk
