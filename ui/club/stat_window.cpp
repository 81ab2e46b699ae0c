#include "ui/club/stat_window.h"

#include <QInputDialog>
#include <QLabel>
#include <QPainter>

#include "logic/club/passport_text.h"
#include "net/statistics.h"
#include "ui/club/club_window_parts.h"
#include "ui/localdata/apply_fonts.h"
#include "ui/localdata/options_window.h"
#include "ui/kit/dressing.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/text_codec.h"
#include "ui/kit/window_busy.h"

namespace vk {
namespace {

struct FigureRow {
    int Y;
    Msg Label;
    QColor Colour;
};
const QColor kYellow(255, 255, 0);
const QColor kLightGreen(100, 255, 100);
const QColor kAqua(0, 255, 255);
const FigureRow kRows[6] = {
    {65, Msg::StatStarts, kYellow},        {89, Msg::StatUniqueStarts, kYellow}, {113, Msg::StatLikes, kLightGreen},
    {137, Msg::StatLastLike, kLightGreen}, {161, Msg::StatPlayedDeals, kAqua},   {185, Msg::StatPlayedGames, kAqua},
};
constexpr int kLabelX = 70;
constexpr int kValueRight = 410;

std::optional<QString> AskNickInBox(QWidget* parent, const QString& current)
{
    bool ok = false;
    const QString caption = UiText(Msg::Nick);
    const QString answer = QInputDialog::getText(parent, caption, caption, QLineEdit::Normal, current, &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

} // namespace

TFStat::TFStat(Settings& prefs, const QImage& background, HttpClient http, std::string programDir, QWidget* parent)
    : LocalDialog(prefs, background, QSize(500, 530), parent), http_(std::move(http)),
      programDir_(std::move(programDir))
{
    setObjectName(QStringLiteral("FStat"));
    setWindowTitle(UiText(Msg::HintStatistics));
    setAttribute(Qt::WA_DeleteOnClose, false);
    busy_ = new WindowBusy(this);
    ImageTitle = MakePictureArea(this, "ImageTitle", QRect(0, 0, 500, 100));
    ImageFigures = MakePictureArea(this, "ImageFigures", QRect(10, 100, 480, 255));
    ImageNote = MakePictureArea(this, "ImageNote", QRect(30, 360, 440, 85));

    LabelNote = new QLabel(this);
    LabelNote->setObjectName(QStringLiteral("LabelNote"));
    LabelNote->setTextFormat(Qt::PlainText);
    LabelNote->setAlignment(Qt::AlignCenter);
    LabelNote->setText(UiText(Msg::StatNote));
    QPalette pal = LabelNote->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    LabelNote->setPalette(pal);

    ButtonLike = new TTevQuizButton(this);
    ButtonLike->setObjectName(QStringLiteral("ButtonLike"));
    ButtonLike->setGeometry(50, 455, 400, 30);
    ButtonLike->setText(UiText(Msg::ILikeThisGame));
    ButtonLike->SetColorSB(DNavy);
    ButtonLike->SetFontColor(0xFFFF00);
    ButtonLike->SetColorMouse(0x00FFFF);
    ButtonLike->SetGrayDis(true);
    connect(ButtonLike, &QPushButton::clicked, this, &TFStat::ButtonLikeClick);
    okButton = MakeOkButton(QRect(50, 495, 400, 30));

    setFont(MakeFont(prefs.DisplayFontName, 16, false));
    const QFont bold = MakeFont(prefs.DisplayFontName, 20, true);
    ButtonLike->setFont(bold);
    okButton->setFont(bold);
    LabelNote->setFont(bold);
    FitLabelInBox(LabelNote, QRect(50, 390, 400, 25));

    problemLine = MakeProblemLabel(this, "LabelProblem", QRect(20, 306, 460, 20));
    // Light on the panel's dark blue.
    QPalette light = problemLine->palette();
    light.setColor(QPalette::WindowText, QColor(255, 170, 170));
    problemLine->setPalette(light);
    retryButton = MakeSharedButton(this, "ButtonRetry", UiText(Msg::Refresh), QRect(175, 326, 150, 24));
    retryButton->setFont(MakeFont(prefs.DisplayFontName, 14, true));
    retryButton->hide();
    connect(retryButton, &QPushButton::clicked, this, [this] {
        ClickSound();
        ReadFigures();
    });

    AskNick = [this](const QString& current) { return AskNickInBox(this, current); };
}

void TFStat::showEvent(QShowEvent* event)
{
    LocalDialog::showEvent(event);
    DressArea(*ImageTitle, {{"G_WS", 50, 0}, {"G_Zav2", 95, 64}, {"GStat048", 10, 6}, {"GStat048", 442, 6}});
    DressArea(*ImageNote, {{"G_Panel5", 0, 0}});
    ButtonLike->setEnabled(false);
    DrawFigures(true);
    ReadFigures();
}

void TFStat::done(int result)
{
    // Nothing that comes back after the window has closed is wanted.
    AbandonRequests(this);
    LocalDialog::done(result);
}

void TFStat::ReadFigures()
{
    if (read_.Running())
        return;
    busy_->Begin();
    TellProblem(ClubOutcome::Done, Msg::ReadRefused);
    read_ = RunRequest(
        this,
        [http = http_, statPath = Prefs().StatPath]() mutable {
            FiguresRead read;
            read.Figures = ReadStats(http, statPath, &read.Outcome);
            return read;
        },
        [this](FiguresRead read) {
            busy_->End();
            figures_ = std::move(read.Figures);
            DrawFigures(figures_.has_value());
            TellProblem(read.Outcome, Msg::ReadRefused);
            ButtonLike->setEnabled(!Prefs().LikeSent);
        });
}

void TFStat::TellProblem(ClubOutcome outcome, Msg refused)
{
    ShowProblem(problemLine, outcome, refused);
    retryButton->setVisible(outcome == ClubOutcome::Unreachable);
}

void TFStat::DrawFigures(bool connected)
{
    PaintAreaBackground(*ImageFigures);
    QPainter p(&ImageFigures->Canvas());
    DrawResPicture(QStringLiteral("G_Panel4"), p, 0, 0, 0, 0, false);
    p.setFont(MakeFont(Prefs().DisplayFontName, 20, false));
    for (const FigureRow& row : kRows) {
        p.setPen(row.Colour);
        TextOutAt(UiText(row.Label) + QLatin1Char(':'), kLabelX, row.Y, p);
    }
    if (!connected) {
        p.setPen(kYellow);
        TextOutRight(QStringLiteral("No Connect"), kValueRight, kRows[0].Y, p);
    } else if (figures_) {
        // Drawn as they came: the last like is the server's text.
        const QString values[6] = {
            QString::number(figures_->Stat1), QString::number(figures_->Stat2),    QString::number(figures_->Stat3),
            ToQString(figures_->Stat4),       QString::number(figures_->StatX[0]), QString::number(figures_->StatX[1]),
        };
        for (int i = 0; i < 6; ++i) {
            p.setPen(kRows[i].Colour);
            TextOutRight(values[i], kValueRight, kRows[i].Y, p);
        }
    }
    p.end();
    ImageFigures->update();
}

void TFStat::ButtonLikeClick()
{
    if (like_.Running() || Prefs().LikeSent)
        return;
    ClickSound();
    if (Prefs().ServerNick == "Incognito") {
        // Asked until the nick may stand on the club's boards; Cancel gives
        // the like up.
        for (;;) {
            const auto answer = AskNick ? AskNick(ToQString(Prefs().ServerNick)) : std::nullopt;
            if (!answer)
                return;
            const std::u32string text = answer->toStdU32String();
            if (CheckPassportTextUnicode(text, PassportNick) != 1) {
                Prefs().ServerNick = ToCp1251(*answer).substr(0, 12);
                break;
            }
        }
    }
    ButtonLike->setEnabled(false);
    busy_->Begin();
    like_ = RunRequest(
        this,
        [http = http_, statPath = Prefs().StatPath, nick = Prefs().ServerNick]() mutable {
            LikeSent like;
            like.Sent = SendLike(http, statPath, nick, &like.Outcome);
            return like;
        },
        [this](LikeSent like) {
            busy_->End();
            if (!like.Sent) {
                TellProblem(like.Outcome, Msg::LikeRefused);
                ButtonLike->setEnabled(true);
                return;
            }
            Prefs().LikeSent = true;
            SaveSettings(this, programDir_, Prefs());
            ReadFigures();
        });
}

void ShowStatistics(Settings& prefs, const QImage& background, const HttpClient& http, const std::string& programDir,
                    QWidget* parent)
{
    TFStat window(prefs, background, http, programDir, parent);
    window.exec();
}

} // namespace vk
