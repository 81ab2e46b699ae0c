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

    productLabel = new QLabel(this);
    productLabel->setObjectName(QStringLiteral("Label1"));
    productLabel->setGeometry(5, 5, 375, 36);
    productLabel->setAlignment(Qt::AlignCenter);
    SetTextColour(productLabel, QColor(0, 0, 100));

    hintLabel = new QLabel(this);
    hintLabel->setObjectName(QStringLiteral("Label2"));
    hintLabel->setGeometry(5, 45, 375, 46);
    hintLabel->setAlignment(Qt::AlignCenter);
    hintLabel->setWordWrap(true);
    hintLabel->setFont(SmallFont());
    SetTextColour(hintLabel, QColor(0, 0, 255));

    noOwnFontBox = new QCheckBox(this);
    noOwnFontBox->setObjectName(QStringLiteral("CheckBox1"));
    noOwnFontBox->setGeometry(80, 100, 231, 17);
    noFontWindowBox = new QCheckBox(this);
    noFontWindowBox->setObjectName(QStringLiteral("CheckBox2"));
    noFontWindowBox->setGeometry(5, 170, 231, 17);
    for (QCheckBox* box : {noOwnFontBox, noFontWindowBox}) {
        box->setFont(SmallFont());
        SetTextColour(box, QColor(0, 0, 255));
    }

    okButton = new TTevQuizButton(this);
    okButton->setObjectName(QStringLiteral("Button1"));
    okButton->setText(QStringLiteral("Ok"));
    okButton->setGeometry(80, 125, 216, 30);
    okButton->setFont(MakeFont(prefs.DisplayFontName, ButtonHeight, false));
    // Enter presses "Ok" wherever the focus is; Tab leads from it to the
    // boxes.
    okButton->setDefault(true);
    setTabOrder(okButton, noOwnFontBox);
    setTabOrder(noOwnFontBox, noFontWindowBox);

    // Each box takes effect at once, so that the start-up that follows
    // already uses the player's choice.
    connect(noOwnFontBox, &QCheckBox::clicked, this, [this](bool on) { prefs_.NoOwnFont = on; });
    connect(noFontWindowBox, &QCheckBox::clicked, this, [this](bool on) { prefs_.NoFontWindow = on; });
    connect(okButton, &QPushButton::clicked, this, [this] {
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
    productLabel->setFont(MakeFont(OwnFontName, 24, false));
    productLabel->setText(product);
    hintLabel->setText(UiText(Msg::FontHintStart) + product + UiText(Msg::FontHintEnd));
    noOwnFontBox->setText(UiText(Msg::NoOwnFontBox));
    noFontWindowBox->setText(UiText(Msg::NoFontWindowBox));
    noOwnFontBox->setChecked(false);
    noFontWindowBox->setChecked(false);
    // A player told to press any key presses Space or Enter: that must
    // close the window, not tick a box nobody sees focused.  A box changes
    // only when clicked or when the player moves the focus to it.
    okButton->setFocus();
}

int TFormFont::ShowModal()
{
    Prepare();
    return exec();
}

} // namespace vk
