#include "ui/club/chat_window.h"

#include <QDateTime>
#include <algorithm>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTimer>

#include "ui/club/club_window_parts.h"
#include "ui/club/country_flags.h"
#include "logic/club/passport_text.h"
#include "ui/club/passport_window.h"
#include "ui/kit/request_runner.h"
#include "net/wtt_requests.h"
#include "common/rounding.h"
#include "ui/localdata/apply_fonts.h"
#include "ui/kit/accessibility.h"
#include "ui/kit/dressing.h"
#include "ui/kit/message_box.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/picture_scaling.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/resource_store.h"
#include "ui/kit/text_codec.h"

namespace vk {
namespace {

constexpr int kAreaWidth = 700;
constexpr int kBandHeight = 50;
const QColor kMaroon(128, 0, 0);
const QColor kNavy(0, 0, 128);
const QColor kRed(255, 0, 0);

// Rows `top` to `bottom` (both included), columns 1 to 698, from `from` at
// the top to `to` at the bottom, each row one colour.
void FillGradient(QPainter& p, int top, int bottom, const QColor& from, const QColor& to)
{
    const int n = bottom - top + 1;
    for (int i = 0; i < n; ++i) {
        auto mix = [&](int a, int b) { return RoundInt(a + (b - a) * static_cast<double>(i) / (n - 1)); };
        p.setPen(QColor(mix(from.red(), to.red()), mix(from.green(), to.green()), mix(from.blue(), to.blue())));
        p.drawLine(1, top + i, kAreaWidth - 2, top + i);
    }
}

// The outline of the rectangle from (0, y1) to (700, y2), its right and
// bottom edges excluded.
void Outline(QPainter& p, int y1, int y2, const QColor& colour)
{
    p.setPen(colour);
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, y1, kAreaWidth - 1, y2 - y1 - 1);
}

std::tm LocalTimeNow()
{
    const QDateTime now = QDateTime::currentDateTime();
    std::tm t{};
    t.tm_hour = now.time().hour();
    t.tm_min = now.time().minute();
    t.tm_mday = now.date().day();
    t.tm_mon = now.date().month() - 1;
    t.tm_year = now.date().year() - 1900;
    return t;
}

} // namespace

TFormChat::TFormChat(Settings& prefs, const QImage& background, HttpClient http, QWidget* parent)
    : LocalDialog(prefs, background, QSize(710, 680), parent), http_(std::move(http))
{
    setObjectName(QStringLiteral("FormChat"));
    setWindowTitle(QStringLiteral("Tev Games Chat"));
    setFont(MakeFont(prefs.DisplayFontName, 16, false));
    ImageTitle = MakePictureArea(this, "ImageTitle", QRect(0, 0, 710, 100));
    ImageMessages = MakePictureArea(this, "ImageMessages", QRect(5, 105, kAreaWidth, 10 * kBandHeight));
    ImageMessages->setAccessibleName(UiText(Msg::A11yMessages));
    ImageMessages->setFont(MakeFont(prefs.DisplayFontName, 16, true));

    EditMessage = new QLineEdit(this);
    EditMessage->setObjectName(QStringLiteral("EditMessage"));
    EditMessage->setGeometry(5, 610, 650, 21);
    EditMessage->setMaxLength(static_cast<int>(ChatMessageCapacity));
    EditMessage->setFont(MakeFont(prefs.DisplayFontName, 20, false));
    SetEntryColours(EditMessage);
    EditMessage->setAccessibleName(UiText(Msg::A11yYourMessage));
    EditMessage->installEventFilter(this);

    ButtonSend = MakeSharedButton(this, "ButtonSend", {}, QRect(665, 610, 40, 30));
    if (const auto bytes = ResourceBytes(ResourceKind::Raw, QStringLiteral("GSend24")))
        sendGlyph_ = QPixmap::fromImage(DecodePng(*bytes));
    ButtonSend->SetGlyph(sendGlyph_);
    ButtonSend->setAccessibleName(UiText(Msg::SendResult));
    connect(ButtonSend, &QPushButton::clicked, this, &TFormChat::Send);
    ButtonClose = MakeSharedButton(this, "ButtonClose", UiText(Msg::Close), QRect(5, 645, 340, 30));
    connect(ButtonClose, &QPushButton::clicked, this, &QDialog::accept);
    ButtonPassport = MakeSharedButton(this, "ButtonPassport", UiText(Msg::Passport), QRect(365, 645, 340, 30));
    connect(ButtonPassport, &QPushButton::clicked, this, &TFormChat::ButtonPassportClick);
    const QFont bold = MakeFont(prefs.DisplayFontName, 20, true);
    for (TTevQuizButton* b : {ButtonClose, ButtonPassport})
        b->setFont(bold);
    // Enter belongs to the message box, never to a button of the window.
    for (TTevQuizButton* b : {ButtonSend, ButtonClose, ButtonPassport})
        b->setAutoDefault(false);

    sendPause = new QTimer(this);
    sendPause->setObjectName(QStringLiteral("Timer1"));
    sendPause->setInterval(15000);
    sendPause->setTimerType(Qt::PreciseTimer);
    connect(sendPause, &QTimer::timeout, this, [this] {
        waiting_ = false;
        EnableMessageBox();
    });
    sendPause->start();
    countdown = new QTimer(this);
    countdown->setInterval(1000);
    connect(countdown, &QTimer::timeout, this, &TFormChat::ShowWait);

    problemLine = MakeProblemLabel(ImageMessages, "LabelProblem", QRect(20, 55, kAreaWidth - 40, 40));
    retryButton = MakeSharedButton(ImageMessages, "ButtonRetry", UiText(Msg::Refresh), QRect(275, 105, 150, 28));
    retryButton->setFont(bold);
    retryButton->setAutoDefault(false);
    retryButton->hide();
    connect(retryButton, &QPushButton::clicked, this, [this] {
        ClickSound();
        DrawMessages();
    });
}

void TFormChat::showEvent(QShowEvent* event)
{
    LocalDialog::showEvent(event);
    DressArea(*ImageTitle, {{"G_Chat", 155, 0}, {"GChat048", 10, 6}, {"GChat048", 652, 6}, {"G_Zav4", 5, 60}});
    DrawMessages();
    EnableMessageBox();
}

void TFormChat::done(int result)
{
    AbandonRequests(this);
    LocalDialog::done(result);
}

bool TFormChat::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == EditMessage && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Send();
            return true;
        }
    }
    return LocalDialog::eventFilter(watched, event);
}

// While the club is asked, the list shows the wait cursor; the message box
// goes on taking what the player types.
void TFormChat::Begin()
{
    if (working_++ == 0)
        ImageMessages->setCursor(Qt::WaitCursor);
}

void TFormChat::End()
{
    if (--working_ == 0)
        ImageMessages->unsetCursor();
}

void TFormChat::EnableMessageBox()
{
    EditMessage->setEnabled(CheckPassportText(Prefs().ServerNick, PassportNick) != 1
                            && CheckPassportText(Prefs().ServerCity, PassportCity) != 1);
    ShowWait();
}

int TFormChat::WaitLeft() const
{
    if (!waiting_)
        return 0;
    // A coarse timer may run a little past its interval: the count never
    // shows more than the pause itself.
    return std::clamp((sendPause->remainingTime() + 999) / 1000, 1, sendPause->interval() / 1000);
}

// After a message the send button counts the seconds of the wait down; the
// player may type the next message meanwhile.
void TFormChat::ShowWait()
{
    const int left = WaitLeft();
    if (left == 0) {
        countdown->stop();
        ButtonSend->setText({});
        ButtonSend->SetGlyph(sendGlyph_);
        ButtonSend->setToolTip({});
        ButtonSend->setEnabled(true);
        return;
    }
    ButtonSend->SetGlyph({});
    ButtonSend->setText(QString::number(left));
    ButtonSend->setToolTip(UiText(Msg::NextMessageIn) + QLatin1Char(' ') + QString::number(left) + QLatin1Char(' ')
                           + UiText(Msg::Seconds));
    ButtonSend->setEnabled(false);
    if (!countdown->isActive())
        countdown->start();
}

void TFormChat::DrawBands()
{
    PaintAreaBackground(*ImageMessages);
    QPainter p(&ImageMessages->Canvas());
    for (int b = 1; b <= 10; ++b) {
        const int y0 = kBandHeight * (b - 1);
        Outline(p, y0, y0 + 25, kMaroon);
        FillGradient(p, y0 + 1, y0 + 23, QColor(255, 200, 200), Qt::white);
        Outline(p, y0 + 25, y0 + 50, kNavy);
        FillGradient(p, y0 + 26, y0 + 48, QColor(200, 200, 255), Qt::white);
    }
    p.end();
    ImageMessages->update();
}

void TFormChat::DrawMessages()
{
    // A drawing still waiting for its list is given up.
    const int generation = ++generation_;
    messages_.reset();
    DrawBands();
    Begin();
    RunRequest(
        this,
        [http = http_, address = Prefs().WttAddress]() mutable {
            Read read;
            WttRows rows;
            if (WttReadBoard(http, address, ChatGameNumber, rows, nullptr, &read.Outcome))
                read.Rows = rows;
            return read;
        },
        [this, generation](Read read) {
            End();
            if (generation != generation_)
                return;
            messages_ = std::move(read.Rows);
            DrawMessageTexts();
            ShowProblem(problemLine, read.Outcome, Msg::ReadRefused);
            retryButton->setVisible(read.Outcome == ClubOutcome::Unreachable);
            emit messagesDrawn();
        });
}

void TFormChat::DrawMessageTexts()
{
    QPainter p(&ImageMessages->Canvas());
    p.setFont(ImageMessages->font());
    if (!messages_) {
        p.setPen(kRed);
        TextOutCentred(QStringLiteral("No Connect"), 0, kAreaWidth, 4, p);
    } else {
        // The newest message in the bottom band.
        for (int k = 1; k <= 10; ++k) {
            const TTevRecord& m = (*messages_)[static_cast<std::size_t>(k - 1)];
            if (m.Empty())
                continue;
            const int b = 11 - k;
            p.setPen(kRed);
            TextOutAt(QString::number(m.Score) + QLatin1Char('.'), 5, kBandHeight * b - 46, p);
            DrawCountryFlag(m.Country, 60, kBandHeight * b - 44, p);
            DrawSexIcon(m.R07, 80, kBandHeight * b - 46, p);
            p.setPen(kMaroon);
            TextOutAt(ToQString(ChatHeader(m)), 105, kBandHeight * b - 46, p);
            p.setPen(kNavy);
            TextOutAt(ToQString(ChatShown(m.R10)), 5, kBandHeight * b - 21, p);
        }
    }
    p.end();
    ImageMessages->update();

    // The bands top to bottom, each as one line: the number, the header
    // and the text, as plain text.
    QStringList read;
    if (!messages_)
        read << QStringLiteral("No Connect");
    else
        for (int k = 10; k >= 1; --k)
            if (const TTevRecord& m = (*messages_)[static_cast<std::size_t>(k - 1)]; !m.Empty())
                read << QString::number(m.Score) + QStringLiteral(". ") + ToQString(ChatHeader(m))
                            + QStringLiteral(": ") + ToQString(ChatShown(m.R10));
    SetAccessibleItems(ImageMessages, read);
}

void TFormChat::Send()
{
    if (working_ > 0 || WaitLeft() > 0 || !EditMessage->isEnabled() || EditMessage->text().isEmpty())
        return;
    // The text leaves the box at once, so that the next one can be typed
    // while this one travels; a failed send puts it back.
    const QString typed = EditMessage->text();
    EditMessage->clear();
    const std::string text = CleanChatText(typed.toStdU32String());
    const std::string stamp = ChatStamp(LocalTimeNow());
    const Settings& s = Prefs();
    Begin();
    // The newest message's number, then the message as the next one.
    RunRequest(
        this,
        [http = http_, address = s.WttAddress]() mutable {
            Submitted newest;
            WttRows rows;
            if (WttReadBoard(http, address, ChatGameNumber, rows, nullptr, &newest.Outcome))
                newest.Number = rows[0].Score;
            return newest;
        },
        [this, typed, text, stamp](Submitted newest) {
            if (!newest.Number) {
                SendFailed(typed, newest.Outcome);
                return;
            }
            const Settings& s = Prefs();
            RunRequest(
                this,
                [http = http_, address = s.WttAddress, nick = s.ServerNick, city = s.ServerCity,
                 country = s.ServerCountry, sex = s.ServerSex, number = *newest.Number + 1, text, stamp]() mutable {
                    Submitted placed;
                    placed.Number = WttSubmit(http, address, nick, city, country, sex, number, ChatGameNumber, stamp,
                                              text, &placed.Outcome);
                    return placed;
                },
                [this, typed](Submitted placed) {
                    if (!placed.Number) {
                        SendFailed(typed, placed.Outcome);
                        return;
                    }
                    End();
                    // The next message waits its time from now.
                    waiting_ = true;
                    sendPause->start();
                    ShowWait();
                    emit sendFinished(true);
                    DrawMessages();
                });
        });
}

void TFormChat::SendFailed(const QString& text, ClubOutcome outcome)
{
    End();
    EditMessage->setText((text + EditMessage->text()).left(EditMessage->maxLength()));
    emit sendFinished(false);
    ShowMessage(this, UiText(Msg::CantSendMessage) + QLatin1Char('\n') + ClubProblemText(outcome, Msg::MessageRefused));
}

void TFormChat::ButtonPassportClick()
{
    ClickSound();
    ShowPassport(Prefs(), Background(), this);
    EnableMessageBox();
}

} // namespace vk
