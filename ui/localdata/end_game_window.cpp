#include "ui/localdata/end_game_window.h"

#include <QPainter>

#include <algorithm>

#include "common/messages.h"
#include "ui/localdata/apply_fonts.h"
#include "ui/kit/animation_player.h"
#include "ui/kit/audio.h"
#include "ui/kit/dressing.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/text_codec.h"

namespace vk {
namespace {

constexpr int kAreaWidth = 306;
constexpr int kScrollRoll = 28; // each roll of the scroll, at the text area's size
constexpr int kGoodSound = 4;   // "S_FiGut"
constexpr int kPoorSound = 3;   // "S_FiBad"

} // namespace

TFormEndGame::TFormEndGame(Settings& prefs, const QImage& background, QWidget* parent)
    : LocalDialog(prefs, background, QSize(570, 390), parent)
{
    setObjectName(QStringLiteral("FormEndGame"));
    ImageTitle = MakePictureArea(this, "ImageTitle", QRect(0, 0, 570, 100));
    textArea = MakePictureArea(this, "Image1", QRect(130, 105, kAreaWidth, 225));
    leftAnimation = new AnimationPlayer(this);
    leftAnimation->setObjectName(QStringLiteral("RxGIFAn1"));
    leftAnimation->setGeometry(10, 125, 130, 250);
    rightAnimation = new AnimationPlayer(this);
    rightAnimation->setObjectName(QStringLiteral("RxGIFAn2"));
    rightAnimation->setGeometry(426, 125, 130, 250);
    // The text area lies over the players' inner edges; it stays on top.
    textArea->raise();
    okButton = MakeOkButton(QRect(160, 340, 246, 30));
    PlaySound = [](int number) {
        OpenIntroSounds();
        PlayIntroSound(number);
    };
    SetFonts(prefs.DisplayFontName);
}

void TFormEndGame::SetFonts(const std::string& displayFontName)
{
    okButton->setFont(MakeFont(displayFontName, ButtonHeight, false));
    TextFont = MakeFont(displayFontName, ButtonHeight, false);
}

void TFormEndGame::Sound(int number)
{
    if (Prefs().SoundOn && PlaySound)
        PlaySound(number);
}

void TFormEndGame::Prepare(const LocalClubState& state, int clubState)
{
    setWindowTitle(UiText(Msg::GameOver));

    DressArea(*ImageTitle, {{"G_End", 85, 0}, {"G_Zav2", 130, 64}, {"GPFlagF", 10, 6}, {"GPFlagF", 512, 6}});
    LoadGifRes(QStringLiteral("GEndG1"), *leftAnimation);
    LoadGifRes(QStringLiteral("GEndG2"), *rightAnimation);

    PaintAreaBackground(*textArea);
    QPainter p(&textArea->Canvas());
    DrawSmoothPicture(QStringLiteral("SvitokSm"), p, 0, 0, kAreaWidth, 225);
    p.setBackgroundMode(Qt::TransparentMode);

    const bool clubGame = clubState == 3;
    const bool rewarded = clubGame && state.ResultBonus > 0;
    // The two small pictures flank the heading, which is narrowed to the
    // gap between them: our display font runs wider than that gap.
    if (rewarded)
        DrawSmoothPicture(QStringLiteral("GTevs128"), p, 40, 40, 32, 32);
    if (clubGame)
        DrawSmoothPicture(QStringLiteral("Account48"), p, 234, 40, 32, 32);
    written_.clear();
    const int y[4] = {rewarded ? 45 : 50, rewarded ? 80 : 90, rewarded ? 105 : 120, rewarded ? 130 : 150};
    const int place = state.ResultPlace;
    const int headLeft = clubGame ? 76 : 0;
    const int headRight = kAreaWidth - headLeft;
    const QString score = QString::number(state.ResultScore);

    QFont font = TextFont;
    font.setPixelSize(24);
    p.setFont(font);
    p.setPen(QColor(128, 0, 0));
    font.setPixelSize(16);
    // Only places 1 to 10 are in the top ten; a club game can report any
    // other place, and it reads as not placed.
    if (place >= 1 && place <= 10) {
        Sound(kGoodSound);
        Write(p, UiText(Msg::Congratulations), headLeft, headRight, y[0]);
        p.setPen(QColor(255, 0, 0));
        p.setFont(font);
        Write(p, UiText(place == 1 ? Msg::BestResult : Msg::GoodResult), 0, kAreaWidth, y[1]);
        Write(p, UiText(Msg::ResultIs) + score + QStringLiteral(" ;  ") + UiText(Msg::PlaceIs) + QString::number(place),
              0, kAreaWidth, y[2]);
        Write(p, UiText(place == 1 ? Msg::Chairman : Msg::InTopTen), 0, kAreaWidth, y[3]);
    } else {
        Sound(kPoorSound);
        Write(p, UiText(Msg::Regrets), headLeft, headRight, y[0]);
        p.setPen(QColor(0, 0, 255));
        p.setFont(font);
        Write(p, UiText(Msg::PoorResult), 0, kAreaWidth, y[1]);
        if (place > 10)
            Write(p,
                  UiText(Msg::ResultIs) + score + QStringLiteral(" ; ") + UiText(Msg::PlaceIs) + QString::number(place),
                  20, 280, y[2]);
        else
            Write(p, UiText(Msg::ResultIs) + score, 0, kAreaWidth, y[2]);
        Write(p, UiText(Msg::NotInTopTen), 0, kAreaWidth, y[3]);
    }

    if (rewarded) {
        Sound(kGoodSound);
        font.setPixelSize(20);
        p.setFont(font);
        p.setPen(QColor(0, 128, 0));
        Write(p,
              UiText(Msg::YouEarned) + QLatin1Char(' ') + QString::number(state.ResultBonus) + QLatin1Char(' ')
                  + UiText(Msg::Tevs) + QStringLiteral("!!!"),
              20, 280, 160);
    }
    if (clubGame && state.ResultBonus == 0)
        Sound(kPoorSound);
    p.end();
    textArea->update();
}

void TFormEndGame::Write(QPainter& canvas, const QString& text, int x1, int x2, int y)
{
    // The scroll's rolls take the edges of the text area.
    const QFont font = canvas.font();
    NarrowFontToFit(text, std::min(x2 - x1, kAreaWidth - 2 * kScrollRoll), canvas);
    TextOutCentred(text, x1, x2, y, canvas);
    canvas.setFont(font);
    written_.push_back({text, x1, x2, y, canvas.pen().color(), canvas.font().pixelSize()});
}

int TFormEndGame::ShowModal(const LocalClubState& state, int clubState)
{
    Prepare(state, clubState);
    return exec();
}

void TFormEndGame::done(int result)
{
    leftAnimation->Clear();
    rightAnimation->Clear();
    LocalDialog::done(result);
}

} // namespace vk
