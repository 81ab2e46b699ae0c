// The account window's five other tabs: the member's results, the club's
// top 10, the Tevs with transfers, the member's card and photo, and the
// chairman's card.  Every tab is a picture drawn whole whenever it is shown
// or its data change; texts of other members are drawn, never interpreted.
#include <QApplication>
#include <QClipboard>
#include <QHash>
#include <QLineEdit>
#include <QPainter>
#include <QSignalBlocker>
#include <QSpinBox>

#include "logic/club/account_fields.h"
#include "net/account_requests.h"
#include "ui/club/account_window.h"
#include "ui/club/country_flags.h"
#include "ui/kit/link_opener.h"
#include "common/rounding.h"
#include "ui/localdata/apply_fonts.h"
#include "ui/kit/animation_player.h"
#include "ui/kit/dressing.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/picture_scaling.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/resource_store.h"
#include "ui/kit/text_codec.h"

namespace vk {
namespace {

constexpr unsigned int kYellow = 0x0000FFFF;
constexpr unsigned int kRed = 0x000000FF;
constexpr unsigned int kWhite = 0x00FFFFFF;
constexpr unsigned int kLightRed = 0x006464FF;    // (255, 100, 100)
constexpr unsigned int kLightYellow = 0x0064FFFF; // (255, 255, 100)
constexpr unsigned int kLightGreen = 0x0064FF64;  // (100, 255, 100)
constexpr unsigned int kTabTop = 0x00FF6464;
constexpr unsigned int kTabBottom = 0x00FFFF64;
const QColor kMaroon(128, 0, 0);
const char* const kTabFont = "Comic Sans MS";
const QString kNoConnect = QStringLiteral("No Connect");

QFont TabFont(int height) { return MakeFont(kTabFont, height, true); }

// A cell outline from (x1, y1) to, not including, (x2, y2).
void Outline(QPainter& p, int x1, int y1, int x2, int y2)
{
    p.setPen(kMaroon);
    p.setBrush(Qt::NoBrush);
    p.drawRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
}

// A table band from its colour down to white, rows y1 .. y2 - 1.
void Band(QPainter& p, int x1, int x2, int y1, int y2, unsigned int colour)
{
    DrawGradient(p, QRect(x1, y1, x2 - x1, y2 - y1), colour, kWhite);
}

void StartTab(QPainter& p, const QImage& canvas)
{
    DrawGradient(p, canvas.rect(), kTabTop, kTabBottom);
}

// A card icon reduced to 27 x 27, made once.
const QImage& SmallIcon(const char* name)
{
    static QHash<QString, QImage> icons;
    const QString key = QLatin1String(name);
    auto it = icons.find(key);
    if (it == icons.end()) {
        QImage icon;
        if (const auto bytes = ResourceBytes(ResourceKind::Raw, key)) {
            icon = DecodePng(*bytes);
            if (ResizePngSmooth(icon, 27, 27))
                icon = icon.scaled(27, 27, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
        it = icons.insert(key, icon);
    }
    return *it;
}

// A card row's band, icon and text.
void CardRow(QPainter& p, int k, int top, const CardFieldInfo& field, const QString& text)
{
    Band(p, 260, 700, top, top + 30, k % 2 == 1 ? kLightYellow : kLightRed);
    p.drawImage(265, top + 2, SmallIcon(field.Icon));
    if (!text.isEmpty())
        TextOutShadow(text, 300, 0, top + 4, p, kRed, 'l');
}

QString Decimal(std::int64_t n) { return QString::number(n); }

} // namespace

void TFAcc1::DrawPhotoArea(QPainter& p, int x, int y, bool loaded, const std::string& photo, char sex)
{
    // A photo is shown only as the club keeps them: a JPEG of 200 x 250.
    QImage picture;
    if (loaded && ClubPhotoAcceptable(photo))
        picture = QImage::fromData(reinterpret_cast<const uchar*>(photo.data()), static_cast<int>(photo.size()), "JPG");
    if (!picture.isNull() && picture.size() == QSize(PhotoWidth, PhotoHeight))
        p.drawImage(x, y, picture);
    else
        DrawResPicture(sex == 'M' ? QStringLiteral("GAcNoM") : QStringLiteral("GAcNoF"), p, x, y, 0, 0, false);
    DrawResPicture(QStringLiteral("GAcFrame"), p, x - 20, y - 20, 0, 0, false);
}

void TFAcc1::CreateOtherTabs()
{
    QPixmap refresh;
    if (const auto bytes = ResourceBytes(ResourceKind::Raw, QStringLiteral("GRefresh24")))
        refresh = QPixmap::fromImage(DecodePng(*bytes));
    const auto refreshButton = [&](int tab, const char* name, QPoint at) {
        auto* b = new TTevQuizButton(tabPages[tab]);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(at.x(), at.y(), 54, 45);
        b->SetColorSB(DRed);
        b->SetGrayDis(true);
        b->SetGlyph(refresh);
        return b;
    };
    refreshResultsButton = refreshButton(1, "ButtonRef2", {325, 400});
    refreshTopTenButton = refreshButton(2, "ButtonRef3", {325, 400});
    refreshBalanceButton = refreshButton(3, "ButtonRef4", {200, 40});
    connect(refreshResultsButton, &QPushButton::clicked, this, &TFAcc1::ButtonRef2Click);
    connect(refreshTopTenButton, &QPushButton::clicked, this, &TFAcc1::ButtonRef3Click);
    connect(refreshBalanceButton, &QPushButton::clicked, this, &TFAcc1::ButtonRef4Click);

    QWidget* tevs = tabPages[3];
    coinAnimation = new AnimationPlayer(tevs);
    coinAnimation->setObjectName(QStringLiteral("RxGIFAnD"));
    coinAnimation->setGeometry(70, 140, 100, 80);
    SpinTevsAddUs = new QSpinBox(tevs);
    SpinTevsAddUs->setObjectName(QStringLiteral("SpinTevsAddUs"));
    SpinTevsAddUs->setGeometry(500, 95, 180, 35);
    SpinTevsAddUs->setMinimum(0);
    SpinTevsAddUs->setFont(MakeFont("Tahoma", 21, true));
    SpinTevsAddUs->setStyleSheet(QStringLiteral("color: rgb(128, 0, 0); background-color: rgb(250, 175, 190);"));
    SpinTevsAddUs->setToolTip(UiText(Msg::HintTransferAmount));
    EditTevsAddUs = new QLineEdit(tevs);
    EditTevsAddUs->setObjectName(QStringLiteral("EditTevsAddUs"));
    EditTevsAddUs->setGeometry(500, 140, 180, 33);
    EditTevsAddUs->setMaxLength(12);
    EditTevsAddUs->setFont(MakeFont("Tahoma", 21, true));
    EditTevsAddUs->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0); background-color: rgb(250, 248, 204);"));
    EditTevsAddUs->setToolTip(UiText(Msg::HintTransferNick));
    // Only the characters a nick may hold: the nick goes unescaped into the
    // transfer's request.
    EditTevsAddUs->installEventFilter(this);
    ButtonTevsAddUs = new TTevQuizButton(tevs);
    ButtonTevsAddUs->setObjectName(QStringLiteral("ButtonTevsAddUs"));
    ButtonTevsAddUs->setGeometry(500, 187, 180, 30);
    ButtonTevsAddUs->SetColorSB(DRed);
    ButtonTevsAddUs->SetHeightSB(D30);
    ButtonTevsAddUs->SetFontColor(kYellow);
    ButtonTevsAddUs->SetGrayDis(true);
    ButtonTevsAddUs->setFont(MakeFont(kTabFont, 16, true));
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
    connect(ButtonTevsAddUs, &QPushButton::clicked, this, &TFAcc1::ButtonTevsAddUsClick);

    ButtonAva1 = new TTevQuizButton(tabPages[4]);
    ButtonAva1->setObjectName(QStringLiteral("ButtonAva1"));
    ButtonAva1->setGeometry(10, 364, 240, 45);
    ButtonAva1->SetColorSB(DRed);
    ButtonAva1->SetFontColor(kYellow);
    ButtonAva1->SetGrayDis(true);
    ButtonAva1->setFont(MakeFont(kTabFont, 16, true));
    ButtonAva1->setText(UiText(Msg::Refresh));
    connect(ButtonAva1, &QPushButton::clicked, this, &TFAcc1::ButtonAva1Click);

    tabCanvases[5]->setMouseTracking(true);
    tabCanvases[5]->installEventFilter(this);
}

void TFAcc1::PaintResultsTab()
{
    QImage& canvas = tabCanvases[1]->Canvas();
    QPainter p(&canvas);
    StartTab(p, canvas);
    p.setFont(TabFont(36));
    TextOutShadow(UiText(Msg::ResultsTitle), 10, 692, 10, p, kYellow, 'c');
    p.setFont(TabFont(24));
    const Msg labels[9] = {Msg::RowGame,         Msg::RowPlayer,      Msg::Rating,
                           Msg::RowPlace,        Msg::RowPlayableCycle, Msg::RowBestScore,
                           Msg::RowPlayedCycles, Msg::RowCurrentDeal, Msg::RowCurrentScore};
    const ClubStateData& c = Club();
    const TTevGame& g = c.ClubGame;
    const QString values[9] = {UiProductName(),
                               ToQString(c.ClubUser.Nick),
                               Decimal(RoundEven(g.Rating)),
                               Decimal(g.Place),
                               Decimal(g.Kon),
                               Decimal(g.Best),
                               Decimal(g.Sessions),
                               Decimal(g.KonL),
                               Decimal(g.Score)};
    const bool shown = !c.ClubUser.Nick.empty() && c.GameRecordOk && State() > 1;
    for (int r = 0; r < 9; ++r) {
        const int y = 60 + 35 * r;
        Band(p, 10, 692, y, y + 34, r % 2 == 1 ? kLightRed : kLightYellow);
        Outline(p, 10, y, 351, y + 36);
        Outline(p, 350, y, 693, y + 36);
        TextOutShadow(UiText(labels[r]) + QLatin1Char(':'), 20, 0, y + 5, p, kRed, 'l');
        if (r == 0 || shown)
            TextOutShadow(values[r], 0, 682, y + 5, p, kRed, 'r');
        else if (!c.GameRecordOk && (State() > 1 || gameReadFailed_))
            TextOutShadow(kNoConnect, 350, 692, y + 5, p, kRed, 'c');
    }
    DrawPlatformPictures(p);
    p.end();
    tabCanvases[1]->update();
}

void TFAcc1::PaintTopTenTab()
{
    QImage& canvas = tabCanvases[2]->Canvas();
    QPainter p(&canvas);
    StartTab(p, canvas);
    p.setFont(TabFont(36));
    TextOutShadow(UiText(Msg::TopTenTitle), 10, 692, 10, p, kYellow, 'c');
    p.setFont(TabFont(20));
    const int borders[7] = {10, 50, 250, 300, 350, 550, 692};
    const QString headings[6] = {QStringLiteral("№"), UiText(Msg::Nick), QStringLiteral("C"),
                                 UiText(Msg::Sex),    UiText(Msg::City), UiText(Msg::Rating)};
    const ClubStateData& c = Club();
    for (int i = 0; i <= 10; ++i) {
        const int y = 60 + 30 * i;
        Band(p, 10, 692, y, y + 29, i == 0 ? kLightRed : i % 2 == 1 ? kLightGreen : kLightYellow);
        for (int col = 0; col < 6; ++col)
            Outline(p, borders[col], y, borders[col + 1] + 1, y + 31);
        if (i == 0) {
            for (int col = 0; col < 6; ++col)
                TextOutShadow(headings[col], borders[col], borders[col + 1], 65, p, kRed, 'c');
            continue;
        }
        const TTevTop10& row = c.ClubTopTen[static_cast<std::size_t>(i - 1)];
        if (!c.TopTenOk) {
            TextOutShadow(kNoConnect, 50, 250, y + 5, p, kRed, 'c');
        } else if (!row.Nick.empty()) {
            TextOutShadow(QStringLiteral("%1.").arg(i), 10, 50, y + 5, p, kRed, 'c');
            TextOutShadow(ToQString(row.Nick), 55, 0, y + 5, p, kRed, 'l');
            DrawCountryFlag(row.Country, 268, 70 + 30 * i, p);
            DrawSexIcon(std::string(1, row.Sex), 318, 68 + 30 * i, p);
            TextOutShadow(ToQString(row.City), 355, 0, y + 5, p, kRed, 'l');
            TextOutShadow(Decimal(RoundEven(row.Rating)), 0, 687, y + 5, p, kRed, 'r');
        }
    }
    DrawPlatformPictures(p);
    p.end();
    tabCanvases[2]->update();
}

void TFAcc1::PaintTevsTab()
{
    ClubStateData& c = Club();
    const std::int32_t balance = c.ClubUser.R04;
    const bool loggedIn = State() >= 2;
    // The amount never goes past what there is to send.
    c.TransferAmount = std::clamp(c.TransferAmount, 0, std::max(balance, 0));
    {
        const QSignalBlocker blockSpin(SpinTevsAddUs);
        const QSignalBlocker blockEdit(EditTevsAddUs);
        SpinTevsAddUs->setMaximum(std::max(balance, 0));
        SpinTevsAddUs->setValue(c.TransferAmount);
        if (EditTevsAddUs->text() != ToQString(c.TransferNick))
            EditTevsAddUs->setText(ToQString(c.TransferNick));
    }
    SpinTevsAddUs->setEnabled(loggedIn && balance >= 1);
    EditTevsAddUs->setEnabled(loggedIn && balance >= 1);
    ButtonTevsAddUs->setEnabled(!transfer_.Running() &&
                                TransferAllowed(State(), balance, c.TransferAmount, c.TransferNick, c.ClubUser.Nick));

    QImage& canvas = tabCanvases[3]->Canvas();
    QPainter p(&canvas);
    StartTab(p, canvas);
    DrawResPicture(QStringLiteral("GTevs128"), p, 20, 20, 0, 0, false);
    DrawResPicture(QStringLiteral("GTevsT128"), p, 287, 5, 0, 0, false);
    const BalanceFont font = BalanceFontFor(balance);
    p.setFont(TabFont(font.Height));
    TextOutShadow(Decimal(balance), 287, 415, 35 + font.Drop, p, kYellow, 'c');
    for (int k = 1; k <= 4; ++k)
        Band(p, 485, 695, 45 * k, 45 * k + 44, k % 2 == 1 ? kLightYellow : kLightRed);
    p.setFont(TabFont(30));
    TextOutShadow(UiText(Msg::Transfer), 485, 695, 52, p, kRed, 'c');
    p.end();
    tabCanvases[3]->update();
}

void TFAcc1::PaintAboutTab()
{
    const ClubStateData& c = Club();
    ButtonAva1->setEnabled(State() > 1);
    QImage& canvas = tabCanvases[4]->Canvas();
    QPainter p(&canvas);
    StartTab(p, canvas);
    DrawPhotoArea(p, 30, 50, c.OwnPhotoLoaded, c.OwnPhoto, c.ClubUser.Sex);
    p.setFont(TabFont(22));
    for (int k = 1; k <= CardFieldCount; ++k) {
        const CardFieldInfo& field = CardField(k - 1);
        CardRow(p, k, 31 * k - 21, field, State() > 1 ? ToQString(c.ClubUser.Info.*(field.Field)) : QString());
    }
    p.end();
    tabCanvases[4]->update();
}

void TFAcc1::PaintChairmanTab()
{
    const ClubStateData& c = Club();
    const TTevTop10& first = c.ClubTopTen[0];
    QImage& canvas = tabCanvases[5]->Canvas();
    QPainter p(&canvas);
    StartTab(p, canvas);
    p.setFont(TabFont(24));
    const QString title = QStringLiteral("%1 \"%2\" %3 \"%4\"")
                              .arg(UiText(Msg::ChairmanOfClub), UiText(Msg::ClubName), UiText(Msg::OnTheGame),
                                   UiProductName());
    TextOutShadow(title, 0, 700, 10, p, kYellow, 'c');
    DrawPhotoArea(p, 30, 60, c.ChairmanPhotoLoaded, c.ChairmanPhoto, first.Sex);
    p.setFont(TabFont(22));
    const std::string* lines[4] = {&c.ChairmanInfo.Name1, &c.ChairmanInfo.Name2, &first.Nick, &first.City};
    for (int i = 0; i < 4; ++i)
        TextOutShadow(ToQString(*lines[i]), 10, 250, 331 + 20 * i, p, kRed, 'c');
    for (int k = 1; k <= 12; ++k) {
        const CardFieldInfo& field = CardField(k + 1);
        CardRow(p, k, 31 * k + 9, field, ToQString(c.ChairmanInfo.*(field.Field)));
    }
    p.end();
    tabCanvases[5]->update();
}

void TFAcc1::ImageN6MouseUp(QPoint at)
{
    if (at.x() < 260 || at.x() > 700)
        return;
    for (int k = 1; k <= 12; ++k) {
        if (!(at.y() > 40 + 31 * (k - 1) && at.y() < 40 + 31 * k))
            continue;
        const CardFieldInfo& field = CardField(k + 1);
        const std::string& text = Club().ChairmanInfo.*(field.Field);
        switch (CardRowAction(field, text)) {
        case RowAction::Nothing: break;
        case RowAction::Copy:
            QApplication::clipboard()->setText(ToQString(text));
            Tell(UiText(Msg::CopiedToClipboard));
            break;
        case RowAction::Open: OpenOutsideLink(this, ToQString(text)); break;
        }
        return;
    }
}

void TFAcc1::ButtonRef2Click()
{
    if (results_.Running())
        return;
    ClickSound();
    if (State() <= 1) {
        PaintResultsTab();
        return;
    }
    BeginRequest();
    results_ = RunRequest(
        this,
        [http = context_.Http, accPath = context_.Addresses.AccPath, club = Club()]() mutable {
            ReadGameAndPlace(http, accPath, club);
            return club;
        },
        [this](ClubStateData club) {
            EndRequest();
            Club().ClubGame = club.ClubGame;
            Club().GameRecordOk = club.GameRecordOk;
            gameReadFailed_ = !club.GameRecordOk;
            PaintResultsTab();
        });
}

void TFAcc1::ButtonRef3Click()
{
    if (topTen_.Running())
        return;
    ClickSound();
    BeginRequest();
    struct Read {
        bool Ok = false;
        ClubTopTenRows Rows;
    };
    topTen_ = RunRequest(
        this,
        [http = context_.Http, accPath = context_.Addresses.AccPath, key = Club().ClubGameKey]() mutable {
            Read read;
            read.Ok = ClubReadTopTen(http, accPath, key, read.Rows);
            return read;
        },
        [this](Read read) {
            EndRequest();
            Club().ClubTopTen = read.Rows;
            Club().TopTenOk = read.Ok;
            PaintTopTenTab();
        });
}

void TFAcc1::ButtonRef4Click()
{
    if (balance_.Running())
        return;
    ClickSound();
    if (State() <= 1)
        return;
    BeginRequest();
    balance_ = RunRequest(
        this,
        [http = context_.Http, accPath = context_.Addresses.AccPath, nick = Club().ClubUser.Nick]() mutable {
            return ClubReadBalance(http, accPath, nick);
        },
        [this](std::optional<std::int32_t> balance) {
            EndRequest();
            if (balance)
                Club().ClubUser.R04 = *balance;
            PaintTevsTab();
        });
}

void TFAcc1::ButtonTevsAddUsClick()
{
    if (transfer_.Running())
        return;
    ClickSound();
    ClubStateData& c = Club();
    c.TransferAmount = SpinTevsAddUs->value();
    const std::int32_t amount = c.TransferAmount;
    const std::string receiver = c.TransferNick;
    if (const auto refusal = TransferRefusal(c.ClubUser.R04, amount)) {
        Tell(UiText(*refusal));
        PaintTevsTab();
        return;
    }
    const QString question = QStringLiteral("%1 \"%2\" %3 %4?")
                                 .arg(UiText(Msg::ConfirmTransfer), ToQString(receiver), Decimal(amount),
                                      UiText(Msg::Tevs));
    if (!Confirm || !Confirm(question)) {
        PaintTevsTab();
        return;
    }
    BeginRequest();
    transfer_ = RunRequest(
        this,
        [http = context_.Http, accPath = context_.Addresses.AccPath, own = c.ClubUser.Nick, receiver,
         amount]() mutable { return TransferTevs(http, accPath, own, receiver, amount); },
        [this](TransferOutcome outcome) {
            EndRequest();
            if (outcome.Balance)
                Club().ClubUser.R04 = *outcome.Balance;
            PaintTevsTab();
            switch (outcome.Report) {
            case TransferReport::Done: Tell(UiText(Msg::TransferDone)); break;
            case TransferReport::NoSuchMember: Tell(UiText(Msg::NoSuchMember)); break;
            case TransferReport::NotEnough: Tell(UiText(Msg::NotEnoughTevs)); break;
            case TransferReport::NoConnect: Tell(QStringLiteral("No Connect!")); break;
            }
        });
    PaintTevsTab(); // the button stays off while the transfer runs
}

void TFAcc1::ButtonAva1Click()
{
    if (State() <= 1 || chairman_.Running())
        return;
    ClickSound();
    if (OpenCardEditor)
        OpenCardEditor();
    PaintAboutTab();
    // The member may be the chairman: his card and photo are read again.
    BeginRequest();
    chairman_ = RunRequest(
        this,
        [http = context_.Http, at = context_.Addresses, club = Club()]() mutable { return ReadChairman(http, at, club); },
        [this](ClubReads reads) {
            EndRequest();
            Club().ChairmanInfo = reads.Club.ChairmanInfo;
            Club().ChairmanPhoto = reads.Club.ChairmanPhoto;
            Club().ChairmanPhotoLoaded = reads.Club.ChairmanPhotoLoaded;
            PaintAboutTab();
            PaintChairmanTab();
        });
}

} // namespace vk
