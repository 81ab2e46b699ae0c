// The game screen of the main window: setting up deals, the board, picking
// letters, and leaving the game.
#include <QAction>
#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>

#include "common/messages.h"
#include "common/product.h"
#include "logic/game/keyboard_layout.h"
#include "ui/game/main_window.h"
#include "logic/game/scoring.h"
#include "logic/localdata/club_file.h"
#include "ui/localdata/club_file_messages.h"
#include "ui/localdata/count_window.h"
#include "ui/localdata/end_game_window.h"
#include "ui/localdata/password_window.h"
#include "common/text_lines.h"
#include "ui/kit/animation_player.h"
#include "ui/kit/audio.h"
#include "ui/kit/colour.h"
#include "ui/kit/dressing.h"
#include "ui/kit/message_box.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/picture_scaling.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/resource_store.h"
#include "ui/kit/text_codec.h"

namespace vk {
namespace {

constexpr unsigned int kYellow = 0x00FFFF;
constexpr unsigned int kAqua = 0xFFFF00;
constexpr unsigned int kRed = 0x0000FF;
constexpr unsigned int kCellTextColour = 0x400000;

// A PNG resource resized smoothly to width x height.  The pictures of a deal
// come back at the same few sizes again and again (every cell, every step of
// an opening), so each size is resized once per run.
const QImage& SizedPicture(const QString& name, int width, int height)
{
    static QHash<QString, QImage> originals;
    static QHash<QString, QImage> sized;
    static const QImage none;
    if (width <= 0 || height <= 0)
        return none;
    const QString key = name + QLatin1Char('@') + QString::number(width) + QLatin1Char('x') + QString::number(height);
    if (auto it = sized.constFind(key); it != sized.constEnd())
        return *it;
    auto original = originals.find(name);
    if (original == originals.end()) {
        QImage decoded;
        if (const auto bytes = ResourceBytes(ResourceKind::Raw, name))
            decoded = QImage::fromData(*bytes, "PNG");
        original = originals.insert(name, decoded);
    }
    QImage picture = *original;
    if (picture.isNull())
        return none;
    if (picture.size() != QSize(width, height)) {
        if (const auto error = ResizePngSmooth(picture, width, height)) {
            qWarning("%s: %s", qUtf8Printable(name), qUtf8Printable(*error));
            return none;
        }
    }
    return *sized.insert(key, picture.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

QImage PictureOverBackground(const QString& name, const QRect& place, const QImage& background, const Layout& lay)
{
    // The board's frame, the score frames and the stars come back at every
    // deal on the same piece of the same background: each is composed once
    // for as long as the background stays.
    static QHash<QString, QImage> composed;
    static qint64 composedOn = 0;
    if (composedOn != background.cacheKey()) {
        composed.clear();
        composedOn = background.cacheKey();
    }
    const QString key = QStringLiteral("%1@%2,%3,%4x%5")
                            .arg(name)
                            .arg(place.x())
                            .arg(place.y())
                            .arg(place.width())
                            .arg(place.height());
    if (auto it = composed.constFind(key); it != composed.constEnd())
        return *it;
    QImage piece(place.size(), QImage::Format_ARGB32_Premultiplied);
    piece.fill(Qt::black);
    {
        QPainter p(&piece);
        PaintFormBackground(p, background, place.x(), place.y(), lay.ClientW, lay.ClientH);
        p.drawImage(0, 0, SizedPicture(name, place.width(), place.height()));
    }
    return *composed.insert(key, piece);
}

QPixmap LetterGlyph(int k, int side)
{
    // The same 32 faces at every deal of a window size.  Kept as pictures:
    // pixmaps must not outlive the application.
    static QHash<int, QImage> glyphs;
    const int key = side * 100 + k;
    if (auto it = glyphs.constFind(key); it != glyphs.constEnd())
        return QPixmap::fromImage(*it);
    QImage glyph(side, side, QImage::Format_ARGB32_Premultiplied);
    glyph.fill(Qt::transparent);
    {
        QPainter p(&glyph);
        p.drawImage(0, 0, SizedPicture(FromUtf8(LetterPictureName(k)), side, side));
    }
    return QPixmap::fromImage(*glyphs.insert(key, glyph));
}

QFont DisplayFont(const Settings& prefs, int pixelSize)
{
    QFont font(FromUtf8(prefs.DisplayFontName));
    font.setPixelSize(std::max(1, pixelSize));
    return font;
}

QRect ToQRect(const ControlRect& r)
{
    return QRect(r.Left, r.Top, r.Width, r.Height);
}

} // namespace

void TForm1::CreateGameControls()
{
    LabelType = new QLabel(this);
    LabelType->setObjectName(QStringLiteral("LabelType"));
    LabelType->setAlignment(Qt::AlignCenter);
    LabelType->setAttribute(Qt::WA_TranslucentBackground);
    LabelType->hide();
    ImageRamka = new PictureBox(this);
    ImageRamka->setObjectName(QStringLiteral("ImageRamka"));
    ImageBase = new PictureBox(this);
    ImageBase->setObjectName(QStringLiteral("ImageBase"));
    ImGeld = new PictureBox(this);
    ImGeld->setObjectName(QStringLiteral("ImGeld"));
    ImTick = new PictureBox(this);
    ImTick->setObjectName(QStringLiteral("ImTick"));
    for (PictureBox* box : {ImageRamka, ImageBase, ImGeld, ImTick})
        box->hide();

    Button8->setObjectName(QStringLiteral("Button8"));
    ButtonN->setObjectName(QStringLiteral("ButtonN"));
    connect(ButtonN, &QPushButton::clicked, this, &TForm1::ButtonNClick);
    connect(Button8, &QPushButton::clicked, this, &TForm1::Button8Click);
    connect(Quit, &QAction::triggered, this, &TForm1::QuitClick);
    connect(GenCount, &QAction::triggered, this, &TForm1::GenCountClick);
    connect(ChangeName, &QAction::triggered, this, &TForm1::ChangeNameClick);
}

void TForm1::StartGame()
{
    gameStartedThisRun_ = true;
    MenuPicture = QImage();
    Game.MenuActive = false;
    Game.DealActive = true;
    BeginDeal(false);
    update();
}

void TForm1::StartNewPlayerGame()
{
    Game.MemberSlot = 6;
    StartGame();
}

void TForm1::BeginDeal(bool continuing)
{
    if (continuing && !NextDealOffered(Game.DealNumber))
        return;
    if (!continuing) {
        if (Prefs.MusicOn)
            PlayMusic(false);
        Quit->setEnabled(true);
        GenCount->setEnabled(true);
        ChangeName->setEnabled(Game.ClubState < ClubRatingGame);
        HideMenuScreen();
        PlaceGameControls();
        SetPlayerAtStart();
    }

    Game.DealNumber += 1;
    Game.DealsThisRun += 1;
    Game.DealSolved = false;
    Game.Local.GameComplete = false;
    Game.DealActive = true;
    HelpContext = 5;

    Button8->setEnabled(false);
    ButtonN->setEnabled(false);

    PickPuzzle(Game.Memo1, Game.Memo2, Game.Puzzle, PuzzleRandom);
    ReadPuzzle(Game.Puzzle);
    LayOutBoard();
    ShowScoreFrames(Game.Score, Game.DealNumber);
    DressLetterKeys();
}

void TForm1::PlaceGameControls()
{
    GameLayout = LayOutGameScreen(Lay);
    const GameScreenLayout& g = GameLayout;

    LabelType->setGeometry(ToQRect(g.LabelType));
    LabelType->setFont(DisplayFont(Prefs, g.ThemeFontHeight));
    QPalette pal = LabelType->palette();
    pal.setColor(QPalette::WindowText, ToQColor(kYellow));
    LabelType->setPalette(pal);

    ImageRamka->setGeometry(ToQRect(g.ImageRamka));
    ImageRamka->ResizeCanvas(g.ImageRamka.Width, g.ImageRamka.Height);
    ImGeld->setGeometry(ToQRect(g.ImGeld));
    ImGeld->ResizeCanvas(g.ImGeld.Width, g.ImGeld.Height);
    ImTick->setGeometry(ToQRect(g.ImTick));
    ImTick->ResizeCanvas(g.ImTick.Width, g.ImTick.Height);

    Button8->setGeometry(ToQRect(g.Button8));
    ButtonN->setGeometry(ToQRect(g.ButtonN));
    Button8->setText(UiText(Msg::Exit));
    ButtonN->setText(UiText(Msg::Next));
    for (TTevQuizButton* b : {Button8, ButtonN})
        b->setAccessibleName(b->text());
    for (QWidget* w : {static_cast<QWidget*>(ImGeld), static_cast<QWidget*>(ImTick),
                       static_cast<QWidget*>(Button8), static_cast<QWidget*>(ButtonN)})
        w->show();

    for (int k = 1; k <= LetterKeys; ++k) {
        TTevQuizButton* key = BLetters[static_cast<std::size_t>(k - 1)];
        key->setGeometry(ToQRect(g.Keys[static_cast<std::size_t>(k - 1)]));
        key->SetColorSB(DNavy);
        key->setAccessibleName(ToQString(std::string(1, KeyLetter(k))));
        key->show();
    }
}

void TForm1::SetPlayerAtStart()
{
    switch (Game.MemberSlot) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5: {
        // The menu offers only lines that hold a game; one that is gone by
        // now starts over rather than resuming nothing.
        Game.DealNumber = 0;
        Game.InitialScore = NewGameScore;
        const std::string path = ClubFilePath();
        const auto lines = ReadClubFile(path);
        if (!lines)
            break;
        const std::string& line = (*lines)[static_cast<std::size_t>(Game.MemberSlot - 1)];
        if (IsEmptyMemberLine(line))
            break;
        Game.Local.CurrentName = MemberName(line);
        Game.DealNumber = MemberDeals(line);
        Game.InitialScore = MemberScore(line);
        ReportClubWrite(this, TakeMemberOut(Game.MemberSlot, path, Game.Local));
        break;
    }
    case 7:
        ClubGameStart();
        break;
    default:
        Game.DealNumber = 0;
        Game.InitialScore = NewGameScore;
        break;
    }
    Game.Local.CurrentName = PadRight(Game.Local.CurrentName, NameLength);
    Game.DealsThisRun = 0;
    Game.Score = Game.InitialScore;
}

void TForm1::HideMenuScreen()
{
    for (AnimationPlayer* a : MenuAnimations) {
        a->Clear();
        a->hide();
    }
    ImageCa->hide();
    for (TTevQuizButton* b : MemberButtons)
        b->hide();
    for (TTevQuizButton* p : Panels)
        p->hide();
    for (TTevQuizButton* b : {Button6, Button9, Button10, Button11})
        b->hide();
    HideMenuIcons();
}

void TForm1::DrawPictureInImage(const QString& name, PictureBox* image, bool overBackground, int left, int top,
                                int right, int bottom)
{
    QImage& canvas = image->Canvas();
    if (overBackground) {
        const int w = image->width();
        const int h = image->height();
        image->ResizeCanvas(w, h);
        QPainter p(&canvas);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, PictureOverBackground(name, QRect(image->pos(), image->size()), BackgroundPicture, Lay));
        return;
    }
    QPainter p(&canvas);
    p.drawImage(left, top, SizedPicture(name, right - left, bottom - top));
}

void TForm1::DrawLetterPicture(int letterCode, int left, int top, int right, int bottom)
{
    DrawPictureInImage(FromUtf8(LetterPictureName(KeyOfTypedChar(static_cast<char32_t>(letterCode)))), ImageRamka,
                       false, left, top, right, bottom);
}

void TForm1::LayOutBoard()
{
    const GameScreenLayout& g = GameLayout;
    ImageBase->setGeometry(ToQRect(g.ImageBase));
    ImageBase->ResizeCanvas(g.ImageBase.Width, g.ImageBase.Height);
    ImageBase->show();
    DrawPictureInImage(Game.Puzzle.PuzzleBase == 2 ? QStringLiteral("Star2") : QStringLiteral("Star1"), ImageBase,
                       true);
    ImageBase->setToolTip(UiText(Msg::BaseNumber));
    ImageBase->setAccessibleName(UiText(Msg::BaseNumber) + QLatin1Char(' ') + QString::number(Game.Puzzle.PuzzleBase));
    ImageBase->update();

    DrawPictureInImage(QStringLiteral("GRamka1"), ImageRamka, true);

    SetUpDeal(Game.Deal, Game.Puzzle.PuzzleAnswer);
    const CellGrid grid = CellGridFor(ImageRamka->width(), ImageRamka->height());
    for (int r = 1; r <= BoardRows; ++r)
        for (int c = 1; c <= BoardColumns; ++c) {
            if (!Game.Deal.Cells.HasCell(r, c))
                continue;
            const ControlRect cell = CellRect(grid, r, c);
            DrawPictureInImage(QStringLiteral("GFrameS"), ImageRamka, false, cell.Left, cell.Top, cell.Right(),
                               cell.Bottom());
            if (Game.Deal.Cells.Mask(r, c) != HiddenCell)
                DrawOpenCellText(cell, Game.Deal.Cells.Mask(r, c));
        }
    ImageRamka->show();
    ImageRamka->update();

    // With no cell at all the player would face a blank board: the caption
    // then tells the whole line.
    if (CellCount(Game.Deal.Cells) == 0)
        setWindowTitle(ToQString(Game.Puzzle.PuzzleLine));
    else
        setWindowTitle(FromUtf8(ProductNames[UiLanguage()]));

    LabelType->setText(ToQString(Game.Puzzle.PuzzleTheme));
    LabelType->show();
    Image1->hide();
}

void TForm1::DrawOpenCellText(const ControlRect& cell, char character)
{
    // Cells that no key opens (a blank inside the last part, a hyphen) are
    // shown open from the start, as plain text.
    QPainter p(&ImageRamka->Canvas());
    p.setFont(DisplayFont(Prefs, RoundInt(cell.Height * 0.6)));
    p.setPen(ToQColor(kCellTextColour));
    p.drawText(ToQRect(cell), Qt::AlignCenter, ToQString(std::string(1, character)));
}

void TForm1::ShowScoreFrames(std::int32_t score, int deal)
{
    DrawPictureInImage(QStringLiteral("GRamka2"), ImGeld, true);
    DrawPictureInImage(QStringLiteral("GRamka2"), ImTick, true);
    const QFont font = DisplayFont(Prefs, GameLayout.ScoreFontHeight);
    const QString texts[2] = {QString::number(score),
                              QString::number(deal) + QStringLiteral(" / ") + QString::number(DealsPerGame)};
    PictureBox* boxes[2] = {ImGeld, ImTick};
    for (int i = 0; i < 2; ++i) {
        {
            QPainter p(&boxes[i]->Canvas());
            p.setFont(font);
            p.setPen(ToQColor(kRed));
            TextOutCentred(texts[i], 0, boxes[i]->width(), GameLayout.ScoreTextTop, p);
        }
        boxes[i]->setAccessibleName(texts[i]);
        boxes[i]->update();
    }
}

void TForm1::DressLetterKeys()
{
    const GameScreenLayout& g = GameLayout;
    const QFont captionFont = DisplayFont(Prefs, g.KeyCaptionHeight);
    for (int k = 1; k <= LetterKeys; ++k) {
        TTevQuizButton* key = BLetters[static_cast<std::size_t>(k - 1)];
        key->SetLayout(blGlyphBottom);
        if (g.Face == KeyFace::Caption) {
            key->SetGlyph(QPixmap());
            key->setText(ToQString(std::string(1, KeyLetter(k))));
            if (key->font() != captionFont)
                key->setFont(captionFont);
            key->SetFontColor(kAqua);
        } else {
            key->setText(QString());
            key->SetGlyph(LetterGlyph(k, g.FacePictureSize));
        }
        key->setEnabled(true);
    }
}

// ---- Picking letters ---------------------------------------------------------

void TForm1::LetterKeyClick(int k)
{
    if (k < 1 || k > LetterKeys || !Game.DealActive)
        return;
    TTevQuizButton* key = BLetters[static_cast<std::size_t>(k - 1)];
    if (!key->isEnabled())
        return;
    // The key is used up before anything else happens, so a second click
    // or a typed repeat can never reach the guess again.
    key->setText(QString());
    key->setEnabled(false);
    key->SetGlyph(QPixmap());
    GuessLetter(0x0410 + k - 1);
}

void TForm1::GuessLetter(int letterCode)
{
    const int k = KeyOfTypedChar(static_cast<char32_t>(letterCode));
    const GuessOutcome outcome = PickLetter(Game.Deal, k, Game.Score);
    if (!outcome.Accepted)
        return;

    const CellGrid grid = CellGridFor(ImageRamka->width(), ImageRamka->height());
    for (const CellPosition& cell : outcome.Opened)
        for (int step = 1; step <= OpeningSteps; ++step)
            DrawOpeningStep(grid, cell, letterCode, step);

    // These three belong to the game itself and sound whatever the sound
    // setting says.
    if (!outcome.Opened.empty())
        PlayWavRes(QStringLiteral("WGGut"), true);
    else if (outcome.Missed)
        PlayWavRes(QStringLiteral("WG_Ai"), true);
    ShowScoreFrames(Game.Score, Game.DealNumber);

    if (outcome.Solved) {
        Game.DealSolved = true;
        PlayWavRes(QStringLiteral("WGMil"), true);
        for (TTevQuizButton* key : BLetters)
            key->setEnabled(false);
        Button8->setEnabled(true);
        ButtonN->setEnabled(NextDealOffered(Game.DealNumber));
    }
}

void TForm1::DrawOpeningStep(const CellGrid& grid, const CellPosition& cell, int letterCode, int step)
{
    const ControlRect frame = CellRect(grid, cell.Row, cell.Column);
    DrawPictureInImage(QStringLiteral("GFrameS"), ImageRamka, false, frame.Left, frame.Top, frame.Right(),
                       frame.Bottom());
    const ControlRect letter = GrowingLetterRect(grid, cell.Row, cell.Column, step);
    DrawLetterPicture(letterCode, letter.Left, letter.Top, letter.Right(), letter.Bottom());
    // Only the cell is shown again, at once: the opening is drawn step by
    // step without giving the event loop a turn.
    ImageRamka->repaint(ToQRect(frame).united(ToQRect(letter)));
}

bool TForm1::FormKeyPress(const QString& typed)
{
    if (!Game.DealActive || typed.size() != 1)
        return false;
    // A player who forgot to switch layouts means the Russian letter on
    // the key.
    const int k = KeyOfTypedChar(RussianOnSameKey(typed.at(0).unicode()));
    if (k == 0)
        return false;
    if (BLetters[static_cast<std::size_t>(k - 1)]->isEnabled())
        LetterKeyClick(k);
    return true;
}

bool TForm1::DealKeyPress(const QKeyEvent& event)
{
    if (FormKeyPress(event.text()))
        return true;
    // Space and Enter would press whatever button has the focus.  In a
    // deal only "Дальше" and "Выход" may take them, once the deal is solved
    // and the player has moved the focus there; a slip of the thumb must
    // never cost a point.
    const int key = event.key();
    if (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    QWidget* focused = QApplication::focusWidget();
    return focused != Button8 && focused != ButtonN;
}

// ---- Between deals and the end of a game --------------------------------------

void TForm1::ButtonNClick()
{
    PlayWavRes(QStringLiteral("WClick"), Prefs.SoundOn);
    BeginDeal(true);
}

void TForm1::Button8Click()
{
    PlayWavRes(QStringLiteral("WClick"), Prefs.SoundOn);
    HideGameScreen();
    ReportPlayedDeals(Game.DealsThisRun, Game.DealNumber == DealsPerGame);
    // A rating game's state is the club's: the club file is not touched,
    // and the menu comes once the club has answered.
    if (Game.ClubState == ClubRatingGame) {
        SendClubResult(Game.Score);
        return;
    }
    const MemberLine record =
        MakeMemberLine(Game.Local.CurrentName, Game.Score, Game.DealNumber, Game.Local.CurrentPasswordCode);
    Game.Local.GameComplete = GameCompleteAfter(Game.DealNumber);
    ReportClubWrite(this, StoreDealResult(record, ClubFilePath(), Game.Local));
    if (Game.Local.GameComplete) {
        ShowEndOfGame();
        if (Game.Score >= WorldTopTenMinScore)
            OfferWorldTopTen(Game.Score);
    }
    ReturnToMenu();
}

void TForm1::QuitClick()
{
    PlayWavRes(QStringLiteral("WClick"), Prefs.SoundOn);
    if (Game.IntroActive || Game.MenuActive)
        return;
    const bool leave = AskYesNo(this, TwoLines(UiText(Msg::LeaveToMenu), UiText(Msg::AllDataLost)));
    PlayWavRes(QStringLiteral("WClick"), Prefs.SoundOn);
    if (!leave)
        return;
    if (Game.ClubState == ClubRatingGame)
        Game.ClubState = ClubLoggedIn;
    Game.RatingGameActive = false;
    Game.RatingGameRegistered = false;
    HideGameScreen();
    ReturnToMenu();
}

void TForm1::ReturnToMenu()
{
    ShowMainMenu();
    Quit->setEnabled(false);
    GenCount->setEnabled(false);
    ChangeName->setEnabled(false);
    Game.MenuActive = true;
    Game.DealActive = false;
    update();
    HelpContext = 1;
    if (Prefs.MusicOn)
        PlayMusic(true);
}

void TForm1::GenCountClick()
{
    PlayWavRes(QStringLiteral("WClick"), Prefs.SoundOn);
    ShowScoreWindow();
}

void TForm1::ChangeNameClick()
{
    PlayWavRes(QStringLiteral("WClick"), Prefs.SoundOn);
    if (!Game.DealActive || Game.ClubState >= ClubRatingGame)
        return;
    Game.Local.PasswordAccepted = false;
    Game.MemberSlot = 6;
    AskNewNameAndPassword();
    if (Game.Local.PasswordAccepted)
        ShowInformation(this, TwoLines(UiText(Msg::NameChanged),
                                       UiText(Msg::NewName) + ToQString(Game.Local.CurrentName)));
}


void TForm1::ShowEndOfGame()
{
    FormEndGame->ShowModal(Game.Local, Game.ClubState);
}

void TForm1::ShowScoreWindow()
{
    GameFigures figures;
    figures.CurrentName = Game.Local.CurrentName;
    figures.DealNumber = Game.DealNumber;
    figures.InitialScore = Game.InitialScore;
    figures.Score = Game.Score;
    figures.ClubState = Game.ClubState;
    FormCount->ShowModal(figures);
}

void TForm1::AskNewNameAndPassword()
{
    FormPassword->ShowModal(PasswordMode::ChangeName, 6, ClubFilePath(), Game.Local);
}

void TForm1::HideGameScreen()
{
    for (QWidget* w : {static_cast<QWidget*>(Button8), static_cast<QWidget*>(ButtonN),
                       static_cast<QWidget*>(LabelType), static_cast<QWidget*>(ImageBase),
                       static_cast<QWidget*>(ImageRamka), static_cast<QWidget*>(ImGeld),
                       static_cast<QWidget*>(ImTick)})
        w->hide();
    for (TTevQuizButton* key : BLetters) {
        key->hide();
        key->SetGlyph(QPixmap());
    }
    HelpContext = 1;
}

} // namespace vk
