#include "ui/club/account_tab_tevs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QSignalBlocker>
#include <QSpinBox>
#include <algorithm>
#include <limits>

#include "logic/club/account_fields.h"
#include "logic/club/club_state.h"
#include "ui/kit/accessibility.h"
#include "ui/kit/animation_player.h"
#include "ui/kit/dressing.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/text_codec.h"
#include "ui/localdata/apply_fonts.h"

namespace vk {

namespace {

// Yellow on the gold coin reads only with a dark outline round each letter:
// the text centred between x1 and x2, its top at y.
void DrawOutlinedText(QPainter& p, const QString& text, int x1, int x2, int y)
{
    const QFontMetrics metrics(p.font());
    const int x = x1 + (x2 - x1 - metrics.horizontalAdvance(text)) / 2;
    QPainterPath path;
    path.addText(x, y + metrics.ascent(), p.font(), text);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.strokePath(path, QPen(QColor(90, 40, 0), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.fillPath(path, QColor(255, 255, 0));
    p.restore();
}

} // namespace

AccountTevsTab::AccountTevsTab(ClubStateData& club, int& clubState) : AccountTab(4, club, clubState)
{
    refreshBalanceButton = MakeRefreshButton(this, "ButtonRef4", {200, 40});
    connect(refreshBalanceButton, &QPushButton::clicked, this, &AccountTevsTab::refreshClicked);

    coinAnimation = new AnimationPlayer(this);
    coinAnimation->setObjectName(QStringLiteral("RxGIFAnD"));
    coinAnimation->setGeometry(70, 140, 100, 80);
    SpinTevsAddUs = new QSpinBox(this);
    SpinTevsAddUs->setObjectName(QStringLiteral("SpinTevsAddUs"));
    SpinTevsAddUs->setGeometry(500, 95, 180, 35);
    // Any amount may be typed: one above the balance is refused with its
    // reason when the transfer is pressed, never cut down to another sum.
    SpinTevsAddUs->setRange(0, std::numeric_limits<std::int32_t>::max());
    SpinTevsAddUs->setFont(MakeFont("Tahoma", 21, true));
    SpinTevsAddUs->setStyleSheet(QStringLiteral("color: rgb(128, 0, 0); background-color: rgb(250, 175, 190);"));
    SpinTevsAddUs->setToolTip(UiText(Msg::HintTransferAmount));
    EditTevsAddUs = new QLineEdit(this);
    EditTevsAddUs->setObjectName(QStringLiteral("EditTevsAddUs"));
    EditTevsAddUs->setGeometry(500, 140, 180, 33);
    EditTevsAddUs->setMaxLength(12);
    EditTevsAddUs->setFont(MakeFont("Tahoma", 21, true));
    EditTevsAddUs->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0); background-color: rgb(250, 248, 204);"));
    EditTevsAddUs->setToolTip(UiText(Msg::HintTransferNick));
    // Only the characters a nick may hold: the nick goes unescaped into the
    // transfer's request.
    EditTevsAddUs->installEventFilter(this);
    ButtonTevsAddUs = MakeTabButton(this, "ButtonTevsAddUs", QRect(500, 187, 180, 30));
    ButtonTevsAddUs->SetHeightSB(D30);
    ButtonTevsAddUs->setText(UiText(Msg::TransferTevs));
    // The player's own changes only: PaintTevsTab sets both without a word.
    connect(SpinTevsAddUs, &QSpinBox::valueChanged, this, [this](int value) {
        Club().TransferAmount = value;
        PaintTevsTab();
    });
    connect(EditTevsAddUs, &QLineEdit::textEdited, this, [this](const QString& text) {
        std::string nick;
        for (const QChar ch : text) {
            const auto byte = UnicodeToCp1251(ch.unicode());
            if (byte && NickCharacter(*byte))
                nick += static_cast<char>(*byte);
        }
        Club().TransferNick = nick;
        PaintTevsTab();
    });
    connect(ButtonTevsAddUs, &QPushButton::clicked, this, &AccountTevsTab::transferClicked);
    transferWhy = new QLabel(this);
    transferWhy->setObjectName(QStringLiteral("TransferWhy"));
    transferWhy->setGeometry(485, 222, 210, 44);
    transferWhy->setWordWrap(true);
    transferWhy->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    transferWhy->setTextFormat(Qt::PlainText);
    transferWhy->setFont(MakeFont("Tahoma", 13, true));
    transferWhy->setStyleSheet(QStringLiteral("color: rgb(0, 0, 100);"));
}

bool AccountTevsTab::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == EditTevsAddUs && RefusedKey(*event, NickCharacter))
        return true;
    return AccountTab::eventFilter(watched, event);
}

int AccountTevsTab::ChosenAmount() const { return SpinTevsAddUs->value(); }

void AccountTevsTab::StartCoin() { coinAnimation->LoadGif(QStringLiteral("GTevsGIF")); }

void AccountTevsTab::PaintTevsTab()
{
    ClubStateData& c = Club();
    const std::int32_t balance = c.ClubUser.R04;
    const bool loggedIn = State() >= 2;
    c.TransferAmount = std::max(c.TransferAmount, 0);
    {
        const QSignalBlocker blockSpin(SpinTevsAddUs);
        const QSignalBlocker blockEdit(EditTevsAddUs);
        if (SpinTevsAddUs->value() != c.TransferAmount)
            SpinTevsAddUs->setValue(c.TransferAmount);
        if (EditTevsAddUs->text() != ToQString(c.TransferNick))
            EditTevsAddUs->setText(ToQString(c.TransferNick));
    }
    SpinTevsAddUs->setEnabled(loggedIn && balance >= 1);
    EditTevsAddUs->setEnabled(loggedIn && balance >= 1);
    const auto blocked = TransferBlocked(State(), balance, c.TransferAmount, c.TransferNick, c.ClubUser.Nick);
    ButtonTevsAddUs->setEnabled(!transferRunning_ && !blocked);
    // A grey button says why, beside it and under the pointer.
    const QString why = blocked && loggedIn ? UiText(*blocked) : QString();
    ButtonTevsAddUs->setToolTip(why);
    transferWhy->setText(why);

    QPainter p(&Canvas());
    StartPicture(p);
    DrawResPicture(QStringLiteral("GTevs128"), p, 20, 20, 0, 0, false);
    DrawResPicture(QStringLiteral("GTevsT128"), p, 287, 5, 0, 0, false);
    const BalanceFont font = BalanceFontFor(balance);
    p.setFont(TabFont(font.Height));
    DrawOutlinedText(p, Decimal(balance), 287, 415, 35 + font.Drop);
    p.setFont(TabFont(16));
    DrawOutlinedText(p, UiText(Msg::YourTevs), 287, 415, 128);
    for (int k = 1; k <= 4; ++k)
        DrawBand(p, 485, 695, 45 * k, 45 * k + 44, k % 2 == 1 ? kTabLightYellow : kTabLightRed);
    p.setFont(TabFont(30));
    TextOutShadow(UiText(Msg::Transfer), 485, 695, 52, p, kTabRed, 'c');
    p.end();
    CanvasArea().update();
    // The coin's number is a picture: a screen reader reads it as a label.
    SetAccessibleValue(&CanvasArea(), UiText(Msg::A11yTevsBalance).arg(balance), balance);
}

} // namespace vk
