#include "ui/club/wtt_write_window.h"

#include <QKeyEvent>
#include <QPainter>
#include <QTimer>

#include "ui/club/club_window_parts.h"
#include "ui/club/country_flags.h"
#include "logic/club/passport_text.h"
#include "ui/club/passport_window.h"
#include "net/wtt_requests.h"
#include "ui/localdata/apply_fonts.h"
#include "ui/kit/dressing.h"
#include "ui/kit/message_box.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/text_codec.h"
#include "ui/kit/window_busy.h"

namespace vk {
namespace {

constexpr QSize kScrollSize(315, 400);
const QColor kLabelColour(0, 0, 128);
const QColor kValueColour(255, 0, 0);

} // namespace

TFormServerWrite::TFormServerWrite(Settings& prefs, const QImage& background, HttpClient http, std::int32_t score,
                                   QWidget* parent)
    : LocalDialog(prefs, background, QSize(500, 620), parent), WttScore(score), http_(std::move(http))
{
    setObjectName(QStringLiteral("FormServerWrite"));
    setWindowTitle(UiText(Msg::HintWorldTopTen));
    busy_ = new WindowBusy(this);
    setFont(MakeFont(prefs.DisplayFontName, 24, false));
    ImageTitle = MakePictureArea(this, "ImageTitle", QRect(0, 0, 500, 100));
    ImageTitle->setFont(MakeFont(prefs.DisplayFontName, 30, true));
    ImageScroll = MakePictureArea(this, "ImageScroll", QRect(QPoint(92, 106), kScrollSize));
    ImageScroll->setFont(MakeFont(prefs.DisplayFontName, 24, false));
    ImageLeft = MakePictureArea(this, "ImageLeft", QRect(5, 130, 80, 350));
    ImageRight = MakePictureArea(this, "ImageRight", QRect(413, 130, 80, 350));

    ButtonSend = MakeSharedButton(this, "ButtonSend", UiText(Msg::SendResult), QRect(10, 511, 480, 30));
    connect(ButtonSend, &QPushButton::clicked, this, &TFormServerWrite::ButtonSendClick);
    ButtonPassport = MakeSharedButton(this, "ButtonPassport", UiText(Msg::PersonalData), QRect(10, 546, 480, 30));
    connect(ButtonPassport, &QPushButton::clicked, this, &TFormServerWrite::ButtonPassportClick);
    ButtonClose = MakeSharedButton(this, "ButtonClose", UiText(Msg::Close), QRect(10, 581, 480, 30));
    connect(ButtonClose, &QPushButton::clicked, this, &QDialog::accept);
    const QFont bold = MakeFont(prefs.DisplayFontName, 18, true);
    for (TTevQuizButton* b : {ButtonSend, ButtonPassport, ButtonClose})
        b->setFont(bold);

    scroll_ = QImage(kScrollSize, QImage::Format_ARGB32_Premultiplied);
    scroll_.fill(Qt::transparent);
    QPainter p(&scroll_);
    DrawSmoothPicture(QStringLiteral("SvitokWT"), p, 0, 0, kScrollSize.width(), kScrollSize.height());
}

void TFormServerWrite::showEvent(QShowEvent* event)
{
    LocalDialog::showEvent(event);
    DressArea(*ImageTitle, {{"G_WT", 50, 0}, {"G_Zav2", 95, 64}, {"Earth48", 10, 6}, {"Earth48", 442, 6}});
    for (PictureBox* side : {ImageLeft, ImageRight})
        DressArea(*side, {{"GSideWT", 0, 0}});
    PaintScroll();
    EnableSend();
    if (firstShow_) {
        firstShow_ = false;
        // A player who never made a passport is asked for one first, once
        // the window stands.
        if (Prefs().ServerNick == "Incognito")
            QTimer::singleShot(0, this, [this] {
                ShowPassport(Prefs(), Background(), this);
                PaintScroll();
                EnableSend();
            });
    }
}

void TFormServerWrite::done(int result)
{
    AbandonRequests(this);
    LocalDialog::done(result);
}

void TFormServerWrite::keyPressEvent(QKeyEvent* event)
{
    // Escape does not close this window: the result would be lost with it.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    LocalDialog::keyPressEvent(event);
}

void TFormServerWrite::EnableSend()
{
    // Only a nick of Latin letters goes to the board; a grey button says
    // why it is grey.
    const auto blocked = WttResultSent ? std::optional(Msg::ResultAlreadySent)
                                       : PassportSendBlocked(Prefs().ServerNick, Prefs().ServerCity);
    ButtonSend->setEnabled(!blocked && !send_.Running());
    ButtonSend->setToolTip(blocked ? UiText(*blocked) : QString());
}

void TFormServerWrite::PaintScroll()
{
    PaintAreaBackground(*ImageScroll);
    QPainter p(&ImageScroll->Canvas());
    p.drawImage(0, 0, scroll_);
    p.setFont(ImageScroll->font());
    const int w = kScrollSize.width();
    auto line = [&](const QString& text, const QColor& colour, int y) {
        p.setPen(colour);
        TextOutCentred(text, 0, w, y, p);
    };
    line(UiText(Msg::NickLabel), kLabelColour, 60);
    line(ToQString(Prefs().ServerNick), kValueColour, 110);
    DrawSexIcon(Prefs().ServerSex, 149, 90, p);
    line(UiText(Msg::CountryAndCity), kLabelColour, 150);
    DrawCountryFlag(Prefs().ServerCountry, 150, 180, p);
    line(ToQString(Prefs().ServerCity), kValueColour, 195);
    line(UiText(Msg::YourScore), kLabelColour, 235);
    line(QString::number(WttScore), kValueColour, 257);
    if (WttPlace != -1) {
        line(UiText(Msg::YourPlace), kLabelColour, 295);
        line(QString::number(WttPlace), kValueColour, 317);
    }
    p.end();
    ImageScroll->update();
}

void TFormServerWrite::ButtonSendClick()
{
    if (WttResultSent || send_.Running())
        return;
    ButtonSend->setEnabled(false);
    busy_->Begin();
    const Settings& s = Prefs();
    send_ = RunRequest(
        this,
        [http = http_, address = s.WttAddress, nick = s.ServerNick, city = s.ServerCity, country = s.ServerCountry,
         sex = s.ServerSex, score = WttScore]() mutable {
            return WttSubmit(http, address, nick, city, country, sex, score, WttDesktopBoard, "#", "#");
        },
        [this](std::optional<std::int32_t> place) {
            busy_->End();
            if (place) {
                WttPlace = *place;
                WttResultSent = true;
                PaintScroll();
            }
            EnableSend();
            emit sendFinished(place.has_value());
            if (!place)
                ShowMessage(this, UiText(Msg::CantWriteResult));
        });
}

void TFormServerWrite::ButtonPassportClick()
{
    ClickSound();
    ShowPassport(Prefs(), Background(), this);
    PaintScroll();
    EnableSend();
}

} // namespace vk
