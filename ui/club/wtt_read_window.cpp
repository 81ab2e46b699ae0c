#include "ui/club/wtt_read_window.h"

#include <QLabel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "ui/club/club_window_parts.h"
#include "ui/club/country_flags.h"
#include "ui/club/passport_window.h"
#include "ui/kit/request_runner.h"
#include "net/wtt_requests.h"
#include "ui/localdata/apply_fonts.h"
#include "ui/kit/accessibility.h"
#include "ui/kit/dressing.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/picture_scaling.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/resource_store.h"
#include "ui/kit/text_codec.h"
#include "ui/kit/window_busy.h"

namespace vk {
namespace {

constexpr QSize kBoardSize(663, 525);
const QColor kRowColour(255, 0, 0);
const QColor kCountColour(128, 0, 128);
const QColor kOwnColour(0, 0, 255);
constexpr int kPlaceX = 70;
constexpr int kFlagX = 100;
constexpr int kSexX = 130;
constexpr int kNickX = 160;
constexpr int kCityX = 330;
constexpr int kScoreRight = 590;
// The own rows shown of the ten a read brings.
constexpr int kOwnRowsShown = 5;
// The city the mobile edition's own rows are asked with.
constexpr const char* kMobileCity = "Moscow";

const char* const kTabPictures[3] = {"Windows", "Android", "Account48"};

QString Placed(std::int32_t place) { return QString::number(place) + QLatin1Char('.'); }

// A row of a board as a screen reader says it.
QString RowText(std::int32_t place, const QString& nick, const QString& city, std::int32_t score)
{
    QString text = Placed(place) + QLatin1Char(' ') + nick;
    if (!city.isEmpty())
        text += QStringLiteral(", ") + city;
    return text + QStringLiteral(", ") + QString::number(score);
}

} // namespace

int WttBoardGameId(int board) { return board == 2 ? WttMobileBoard : board == 3 ? WttAccountBoard : WttDesktopBoard; }

QRect TFormServerRead::TabRect(int board) { return {240 + 68 * (board - 1), 3, 49, 49}; }

TFormServerRead::TFormServerRead(Settings& prefs, const QImage& background, HttpClient http, ClubStateData& club,
                                 QWidget* parent)
    : LocalDialog(prefs, background, QSize(675, 670), parent), http_(std::move(http)), club_(club)
{
    setObjectName(QStringLiteral("FormServerRead"));
    setWindowTitle(UiText(Msg::HintWorldTopTen));
    if (club_.WorldTopTenTable < 1 || club_.WorldTopTenTable > 3)
        club_.WorldTopTenTable = 1;
    busy_ = new WindowBusy(this);
    const QFont font = MakeFont(prefs.DisplayFontName, 18, false);
    const QFont bold = MakeFont(prefs.DisplayFontName, 18, true);
    setFont(font);
    ImageTitle = MakePictureArea(this, "ImageTitle", QRect(0, 0, 675, 100));
    ImageTitle->setFont(MakeFont(prefs.DisplayFontName, 48, false));
    ImageBoard = MakePictureArea(this, "ImageBoard", QRect(QPoint(5, 105), kBoardSize));
    ImageBoard->setFont(font);
    ImageBoard->setMouseTracking(true);
    ImageBoard->installEventFilter(this);
    // The boards are chosen with the arrow keys as well as by their tabs.
    ImageBoard->setFocusPolicy(Qt::StrongFocus);

    ButtonPassport = MakeSharedButton(this, "ButtonPassport", UiText(Msg::Passport), QRect(85, 590, 500, 30));
    connect(ButtonPassport, &QPushButton::clicked, this, &TFormServerRead::ButtonPassportClick);
    okButton = MakeSharedButton(this, "Button1", QStringLiteral("Ok"), QRect(5, 635, 664, 30));
    connect(okButton, &QPushButton::clicked, this, [this] {
        ClickSound();
        accept();
    });
    for (TTevQuizButton* b : {ButtonPassport, okButton})
        b->setFont(bold);

    ButtonRefresh = MakeSharedButton(this, "ButtonRefresh", {}, QRect(620, 6, 44, 45));
    if (const auto bytes = ResourceBytes(ResourceKind::Raw, QStringLiteral("GRefresh24")))
        ButtonRefresh->SetGlyph(QPixmap::fromImage(DecodePng(*bytes)));
    ButtonRefresh->SetLayout(blGlyphBottom);
    ButtonRefresh->setToolTip(UiText(Msg::Refresh));
    ButtonRefresh->setAccessibleName(UiText(Msg::Refresh));
    connect(ButtonRefresh, &QPushButton::clicked, this, &TFormServerRead::ButtonRefreshClick);

    refreshPause = new QTimer(this);
    refreshPause->setObjectName(QStringLiteral("Timer1"));
    refreshPause->setInterval(10000);
    connect(refreshPause, &QTimer::timeout, ButtonRefresh, &QWidget::show);
    refreshPause->start();

    problemLine = MakeProblemLabel(ImageBoard, "LabelProblem", QRect(40, 225, kBoardSize.width() - 80, 50));

    // The scroll at the board's size, made once for every painting.
    scroll_ = QImage(kBoardSize, QImage::Format_ARGB32_Premultiplied);
    scroll_.fill(Qt::transparent);
    QPainter p(&scroll_);
    DrawSmoothPicture(QStringLiteral("SvitokSm"), p, 0, 0, kBoardSize.width(), kBoardSize.height());
}

void TFormServerRead::showEvent(QShowEvent* event)
{
    LocalDialog::showEvent(event);
    DressArea(*ImageTitle, {{"G_WT", 137, 0}, {"G_Zav4", 0, 60, 675, 36}, {"Earth48", 10, 6}});
    PaintBoard();
}

void TFormServerRead::done(int result)
{
    AbandonRequests(this);
    LocalDialog::done(result);
}

void TFormServerRead::PaintBoard()
{
    // A painting still under way is given up; its answers are not drawn.
    const int generation = ++generation_;
    if (!reading_)
        busy_->Begin();
    reading_ = true;
    boardRows_.reset();
    ownRows_.reset();
    gameCount_.reset();
    problemLine->hide();

    PaintAreaBackground(*ImageBoard);
    SetAccessibleItems(ImageBoard, {});
    {
        QPainter p(&ImageBoard->Canvas());
        p.drawImage(0, 0, scroll_);
        for (int board = 1; board <= 3; ++board)
            DrawResPicture(QString::fromLatin1(kTabPictures[board - 1]), p, TabRect(board).x(), 3, 0, 0, false);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(kRowColour, 2));
        p.setBrush(Qt::NoBrush);
        const QRect tab = TabRect(Board());
        p.drawRoundedRect(QRectF(tab.x() - 2, 1, 52, 52), 3.5, 3.5);
    }
    ImageBoard->update();

    RunRequest(
        this,
        [http = http_, address = Prefs().WttAddress, gid = WttBoardGameId(Board())]() mutable {
            RowsRead read;
            read.Ok = WttReadBoard(http, address, gid, read.Rows, &read.Answered, &read.Outcome);
            return read;
        },
        [this, generation](RowsRead read) {
            if (generation != generation_)
                return;
            if (read.Ok)
                boardRows_ = read.Rows;
            DrawBoardRows();
            TellProblem(read.Outcome, 225);
            if (!read.Answered) {
                DrawOwnRows({}, {});
                FinishPainting();
                return;
            }
            ReadCount(generation);
        });
}

void TFormServerRead::ReadCount(int generation)
{
    RunRequest(
        this,
        [http = http_, address = Prefs().WttAddress, gid = WttBoardGameId(Board())]() mutable {
            CountRead read;
            read.Count = WttReadGameCount(http, address, gid, &read.Answered);
            return read;
        },
        [this, generation](CountRead read) {
            if (generation != generation_)
                return;
            gameCount_ = read.Count;
            DrawGameCount();
            if (!read.Answered) {
                DrawOwnRows({}, {});
                FinishPainting();
                return;
            }
            ReadOwn(generation);
        });
}

void TFormServerRead::ReadOwn(int generation)
{
    const int board = Board();
    const std::string nick = board == 3 ? club_.ClubUser.Nick : Prefs().ServerNick;
    const std::string city = board == 3 ? club_.ClubUser.City : board == 2 ? kMobileCity : Prefs().ServerCity;
    RunRequest(
        this,
        [http = http_, address = Prefs().WttAddress, gid = WttBoardGameId(board), nick, city]() mutable {
            RowsRead read;
            read.Ok = WttReadOwn(http, address, gid, nick, city, read.Rows, &read.Answered, &read.Outcome);
            return read;
        },
        [this, generation, nick, city, board](RowsRead read) {
            if (generation != generation_)
                return;
            if (read.Ok)
                ownRows_ = read.Rows;
            DrawOwnRows(nick, board == 2 ? std::string() : city);
            if (boardRows_)
                TellProblem(read.Outcome, 400);
            // The club's board names the window after the first own row.
            setWindowTitle(board == 3 ? ToQString(read.Rows[0].Nick) : UiText(Msg::HintWorldTopTen));
            FinishPainting();
        });
}

void TFormServerRead::TellProblem(ClubOutcome outcome, int top)
{
    if (outcome == ClubOutcome::Done)
        return;
    ShowProblem(problemLine, outcome, Msg::ReadRefused);
    problemLine->move(problemLine->x(), top);
    if (outcome == ClubOutcome::Unreachable)
        ButtonRefresh->show();
}

void TFormServerRead::FinishPainting()
{
    reading_ = false;
    busy_->End();
    emit boardPainted();
}

void TFormServerRead::DrawBoardRows()
{
    QPainter p(&ImageBoard->Canvas());
    p.setFont(ImageBoard->font());
    p.setPen(kRowColour);
    QStringList read; // each row as a screen reader says it
    if (!boardRows_) {
        TextOutCentred(QStringLiteral("No Connect"), 0, kBoardSize.width(), 200, p);
        read << QStringLiteral("No Connect");
    } else {
        const int board = Board();
        for (int k = 1; k <= 10; ++k) {
            const TTevRecord& row = (*boardRows_)[static_cast<std::size_t>(k - 1)];
            if (row.Empty())
                continue;
            const int y = 20 * k + 50;
            TextOutAt(Placed(row.Place), kPlaceX, y, p);
            if (board == 1)
                DrawCountryFlag(row.Country, kFlagX, y + 2, p);
            if (board != 2)
                DrawSexIcon(row.R07, kSexX, y, p);
            TextOutAt(ToQString(row.Nick), kNickX, y, p);
            if (board == 1)
                TextOutAt(ToQString(row.City), kCityX, y, p);
            else if (board == 3)
                TextOutAt(ToQString(row.City + ", " + row.Country), kCityX, y, p);
            TextOutRight(QString::number(row.Score), kScoreRight, y, p);
            QString city;
            if (board == 1)
                city = ToQString(row.City);
            else if (board == 3)
                city = ToQString(row.City + ", " + row.Country);
            read << RowText(row.Place, ToQString(row.Nick), city, row.Score);
        }
    }
    p.end();
    ImageBoard->update();
    AppendAccessibleItems(ImageBoard, read);
}

void TFormServerRead::DrawGameCount()
{
    if (!gameCount_)
        return;
    QPainter p(&ImageBoard->Canvas());
    p.setFont(ImageBoard->font());
    p.setPen(kCountColour);
    TextOutCentred(UiText(Msg::TotalGames) + QString::number(*gameCount_), 0, kBoardSize.width(), 290, p);
    p.end();
    ImageBoard->update();
    AppendAccessibleItems(ImageBoard, {UiText(Msg::TotalGames) + QString::number(*gameCount_)});
}

void TFormServerRead::DrawOwnRows(const std::string& nick, const std::string& city)
{
    QPainter p(&ImageBoard->Canvas());
    p.setFont(ImageBoard->font());
    p.setPen(kOwnColour);
    QStringList read;
    if (!ownRows_) {
        // The board above already says it when nothing came.
        if (boardRows_) {
            TextOutCentred(QStringLiteral("No Connect"), 0, kBoardSize.width(), 380, p);
            read << QStringLiteral("No Connect");
        }
    } else {
        for (int k = 1; k <= kOwnRowsShown; ++k) {
            const TTevRecord& row = (*ownRows_)[static_cast<std::size_t>(k - 1)];
            if (row.Empty())
                continue;
            const int y = 20 * k + 320;
            TextOutAt(Placed(row.Place), kPlaceX, y, p);
            TextOutAt(ToQString(nick), kNickX, y, p);
            if (!city.empty())
                TextOutAt(ToQString(city), kCityX, y, p);
            TextOutRight(QString::number(row.Score), kScoreRight, y, p);
            read << RowText(row.Place, ToQString(nick), ToQString(city), row.Score);
        }
    }
    p.end();
    ImageBoard->update();
    AppendAccessibleItems(ImageBoard, read);
}

int TFormServerRead::TabAt(QPoint pos) const
{
    for (int board = 1; board <= 3; ++board)
        if (TabRect(board).contains(pos))
            return board;
    return 0;
}

bool TFormServerRead::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ImageBoard) {
        if (event->type() == QEvent::MouseMove) {
            const int tab = TabAt(static_cast<QMouseEvent*>(event)->position().toPoint());
            ImageBoard->setCursor(tab != 0 && tab != Board() ? Qt::PointingHandCursor : Qt::ArrowCursor);
        } else if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton)
                SelectBoard(TabAt(mouse->position().toPoint()));
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Left || key == Qt::Key_Right) {
                SelectBoard(Board() + (key == Qt::Key_Left ? -1 : 1));
                return true;
            }
        }
    }
    return LocalDialog::eventFilter(watched, event);
}

void TFormServerRead::SelectBoard(int board)
{
    if (board < 1 || board > 3 || board == Board())
        return;
    ClickSound();
    club_.WorldTopTenTable = board;
    ImageBoard->setCursor(Qt::ArrowCursor);
    PaintBoard();
}

void TFormServerRead::ButtonRefreshClick()
{
    ClickSound();
    ButtonRefresh->hide();
    PaintBoard();
}

void TFormServerRead::ButtonPassportClick()
{
    ClickSound();
    ShowPassport(Prefs(), Background(), this);
    PaintBoard();
}

void ShowWorldTopTen(Settings& prefs, const QImage& background, const HttpClient& http, ClubStateData& club,
                     QWidget* parent)
{
    TFormServerRead window(prefs, background, http, club, parent);
    window.exec();
}

} // namespace vk
