#include "ui/localdata/font_window.h"

#include <QCheckBox>
#include <QLabel>

#include "common/messages.h"
#include "common/product.h"
#include "ui/localdata/apply_fonts.h"
#include "ui/kit/audio.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/text_codec.h"

namespace vk {
namespace {

// The small sans-serif face of the classic plain dialogs; fontconfig stands
// Liberation Sans, made to its widths, in for it.
QFont SmallFont() { return MakeFont("Arial", 11, false); }

void SetTextColour(QWidget* w, const QColor& colour)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, colour);
    pal.setColor(QPalette::Text, colour);
    pal.setColor(QPalette::ButtonText, colour);
    w->setPalette(pal);
}

} // namespace

TFormFont::TFormFont(Settings& prefs, QWidget* parent) : QDialog(parent), prefs_(prefs)
{
    setObjectName(QStringLiteral("FormFont"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(385, 195);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(200, 255, 255));
    setPalette(pal);
    setAutoFillBackground(true);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(5, 5, 375, 36);
    Label1->setAlignment(Qt::AlignCenter);
    SetTextColour(Label1, QColor(0, 0, 100));

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(5, 45, 375, 46);
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setWordWrap(true);
    Label2->setFont(SmallFont());
    SetTextColour(Label2, QColor(0, 0, 255));

    CheckBox1 = new QCheckBox(this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(80, 100, 231, 17);
    CheckBox2 = new QCheckBox(this);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox2->setGeometry(5, 170, 231, 17);
    for (QCheckBox* box : {CheckBox1, CheckBox2}) {
        box->setFont(SmallFont());
        SetTextColour(box, QColor(0, 0, 255));
    }

    Button1 = new TTevQuizButton(this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setText(QStringLiteral("Ok"));
    Button1->setGeometry(80, 125, 216, 30);
    Button1->setFont(MakeFont(prefs.DisplayFontName, ButtonHeight, false));
    // Enter presses "Ok" wherever the focus is; Tab leads from it to the
    // boxes.
    Button1->setDefault(true);
    setTabOrder(Button1, CheckBox1);
    setTabOrder(CheckBox1, CheckBox2);

    // Each box takes effect at once, so that the start-up that follows
    // already uses the player's choice.
    connect(CheckBox1, &QCheckBox::clicked, this, [this](bool on) { prefs_.NoOwnFont = on; });
    connect(CheckBox2, &QCheckBox::clicked, this, [this](bool on) { prefs_.NoFontWindow = on; });
    connect(Button1, &QPushButton::clicked, this, [this] {
        PlayWavRes(QStringLiteral("WClick"), prefs_.SoundOn);
        accept();
    });
}

void TFormFont::Prepare()
{
    // The own font is tried again at every showing: the box below is how
    // the player gives it up.
    prefs_.NoOwnFont = false;
    setWindowTitle(UiText(Msg::FontsCaption));
    const QString product = FromUtf8(ProductNames[1]);
    Label1->setFont(MakeFont(OwnFontName, 24, false));
    Label1->setText(product);
    Label2->setText(UiText(Msg::FontHintStart) + product + UiText(Msg::FontHintEnd));
    CheckBox1->setText(UiText(Msg::NoOwnFontBox));
    CheckBox2->setText(UiText(Msg::NoFontWindowBox));
    CheckBox1->setChecked(false);
    CheckBox2->setChecked(false);
    // A player told to press any key presses Space or Enter: that must
    // close the window, not tick a box nobody sees focused.  A box changes
    // only when clicked or when the player moves the focus to it.
    Button1->setFocus();
}

int TFormFont::ShowModal()
{
    Prepare();
    return exec();
}

} // namespace vk
