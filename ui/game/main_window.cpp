#include "ui/game/main_window.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDir>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QPixmap>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "common/builtin_addresses.h"
#include "common/messages.h"
#include "common/rounding.h"
#include "ui/game/folders.h"
#include "logic/game/intro_flow.h"
#include "ui/club/adv_window.h"
#include "ui/localdata/apply_fonts.h"
#include "ui/localdata/club_file_messages.h"
#include "ui/localdata/count_window.h"
#include "ui/localdata/end_game_window.h"
#include "ui/localdata/font_window.h"
#include "ui/localdata/options_window.h"
#include "ui/localdata/password_window.h"
#include "ui/localdata/top_ten_window.h"
#include "ui/kit/animation_player.h"
#include "ui/kit/audio.h"
#include "ui/kit/colour.h"
#include "ui/kit/dressing.h"
#include "ui/kit/intro.h"
#include "ui/kit/message_box.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/picture_scaling.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/resource_store.h"
#include "ui/kit/text_codec.h"

namespace vk {
namespace {

constexpr unsigned int kMenuColour = 0x646400; // dark teal

// The window's picture list, as the popup items name their pictures.
constexpr const char* kPictureList[] = {"GMenu0", "GMenu1", "GMenu2", "GMenu3", "GMenu4", "GMenu5", "GMenu6"};

} // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form1"));
    FormCreate();
}

TForm1::~TForm1()
{
    if (screenCursorSet_)
        QApplication::restoreOverrideCursor();
}

void TForm1::FormCreate()
{
    InitMainWindow();
    CreateMenuControls();
    CreateLetterKeys();
    CreateGameControls();
    LoadPuzzleBases();
    CreateDialogs();
}

void TForm1::CreateDialogs()
{
    FormPassword = new TFormPassword(Prefs, BackgroundPicture, this);
    FormOptions = new TFormOptions(Prefs, BackgroundPicture, this);
    FormTopTen = new TFormTopTen(Prefs, BackgroundPicture, this);
    FormEndGame = new TFormEndGame(Prefs, BackgroundPicture, this);
    FormCount = new TFormCount(Prefs, BackgroundPicture, this);
    FormFont = new TFormFont(Prefs, this);
    FormAdv = new TFormAdv(Prefs, BackgroundPicture, this);
    FormOptions->OnFontsChanged = [this] { ApplyFonts(); };
    FormOptions->OnWindowSizeChanged = [this] { ApplyWindowSize(); };
}

std::string TForm1::ClubFilePath() const
{
    return Game.ProgramDir + ClubFileName;
}

void TForm1::ApplyFonts()
{
    FontTargets targets;
    targets.MainButtons = {Button6, Button8, Button9, Button10, Button11, Panels[0], Panels[1], Panels[2]};
    targets.ButtonN = ButtonN;
    targets.MemberButtons.assign(MemberButtons.begin(), MemberButtons.end());
    targets.TopTen = FormTopTen;
    targets.Options = FormOptions;
    targets.Password = FormPassword;
    targets.EndGame = FormEndGame;
    targets.Count = FormCount;
    vk::ApplyFonts(Prefs, Lay, targets);
    if (FormAdv)
        FormAdv->SetFonts(Prefs.DisplayFontName);
}

void TForm1::InitMainWindow()
{
    Image1 = new PictureBox(this);
    Image1->hide();
    RxGIFAn1 = new AnimationPlayer(this);
    RxGIFAn2 = new AnimationPlayer(this);
    RxGIFAn3 = new AnimationPlayer(this);
    for (AnimationPlayer* a : {RxGIFAn1, RxGIFAn2, RxGIFAn3}) {
        a->resize(70, 70);
        a->hide();
    }
    connect(RxGIFAn1, &AnimationPlayer::frameChanged, this, &TForm1::RxGIFAn1FrameChanged);
    connect(Image1, &PictureBox::clicked, this, &TForm1::EndIntro);
    ImageCa = new PictureBox(this);
    for (auto& a : MenuAnimations) {
        a = new AnimationPlayer(this);
        a->hide();
    }
    const char* const animationNames[] = {"RxGIFAnSvLeft", "RxGIFAnSvRight", "RxGIFAnMan", "RxGIFAnClock"};
    for (std::size_t i = 0; i < MenuAnimations.size(); ++i)
        MenuAnimations[i]->setObjectName(QLatin1String(animationNames[i]));

    auto makeButton = [this](TColorSB variant, unsigned int caption) {
        auto* b = new TTevQuizButton(this);
        b->SetColorSB(variant);
        b->SetFontColor(caption);
        b->SetColorMouse(0x00FFFF);
        b->hide();
        return b;
    };
    // The colour scheme: aqua captions on navy, navy captions on blue for the
    // member lines, yellow under the mouse.
    for (auto& b : MemberButtons)
        b = makeButton(DBlue, 0x800000);
    for (auto& p : Panels) {
        p = makeButton(DNavy, 0xFFFF00);
        p->setEnabled(false);
    }
    Button6 = makeButton(DNavy, 0xFFFF00);
    Button8 = makeButton(DNavy, 0xFFFF00);
    Button9 = makeButton(DNavy, 0xFFFF00);
    Button10 = makeButton(DNavy, 0xFFFF00);
    Button11 = makeButton(DNavy, 0xFFFF00);
    ButtonN = makeButton(DNavy, 0xFFFF00);
    Button8->SetGrayDis(true);
    ButtonN->SetGrayDis(true);
    for (std::size_t i = 0; i < MemberButtons.size(); ++i)
        MemberButtons[i]->setObjectName(QStringLiteral("Button%1").arg(i + 1));
    for (std::size_t i = 0; i < Panels.size(); ++i)
        Panels[i]->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
    const std::pair<QWidget*, const char*> named[] = {
        {Image1, "Image1"}, {RxGIFAn1, "RxGIFAn1"}, {RxGIFAn2, "RxGIFAn2"}, {RxGIFAn3, "RxGIFAn3"},
        {ImageCa, "ImageCa"}, {Button6, "Button6"}, {Button8, "Button8"}, {Button9, "Button9"},
        {Button10, "Button10"}, {Button11, "Button11"}, {ButtonN, "ButtonN"},
    };
    for (const auto& [widget, name] : named)
        widget->setObjectName(QLatin1String(name));

    Game.ProgramDir = FindProgramDir().toStdString();
    Game.TempDir = FindTempDir(QString::fromStdString(Game.ProgramDir)).toStdString();

    SetUiLanguage(1);
    // Without a settings file the start values stay and everything else
    // runs all the same.
    ReadStartSettings(Game.ProgramDir, Prefs);

    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    SetWindowSize();

    Game.StartupPhase = 0;
    InstallOwnFont(Game.TempDir);

    ImageCa->hide();

    Game.IntroActive = true;
    Game.MenuActive = false;
    Game.DealActive = false;
    Game.Closing = false;

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    // Each item shows its picture from the window's picture list.
    const auto addItem = [this](const char* name, const QString& text, int picture) {
        QImage image;
        if (const auto bytes = ResourceBytes(ResourceKind::Raw, QLatin1String(kPictureList[picture])))
            image = DecodePng(*bytes);
        QAction* item = PopupMenu1->addAction(QIcon(QPixmap::fromImage(image)), text);
        item->setObjectName(QLatin1String(name));
        return item;
    };
    GenCount = addItem("GenCount", QStringLiteral("Общий Счёт"), 0);
    Quit = addItem("Quit", QStringLiteral("Выход в меню"), 1);
    ChangeName = addItem("ChangeName", QStringLiteral("Изменить имя"), 2);
    PopupMenu1->addSeparator();
    Help = addItem("Help", QStringLiteral("Помощь"), 3);
    About = addItem("About", QStringLiteral("О программе"), 5);
    PopupMenu1->addSeparator();
    N3 = addItem("N3", QStringLiteral("Чат"), 6);
    for (QAction* item : {Quit, GenCount, ChangeName, About, N3})
        item->setEnabled(false);

    SetWindowColour(Qt::black);
    BackgroundPicture = QImage();

    Game.RatingGameActive = false;
    Game.RatingGameRegistered = false;

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(1000);
    connect(Timer2, &QTimer::timeout, this, &TForm1::Timer2Timer);
    Timer2->start();

    // Key preview: the window sees key releases before its controls do.
    qApp->installEventFilter(this);
}

void TForm1::SetWindowColour(QColor colour)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, colour);
    setPalette(pal);
    setAutoFillBackground(true);
}

void TForm1::CreateLetterKeys()
{
    for (int k = 1; k <= 32; ++k) {
        auto* key = new TTevQuizButton(this);
        key->setObjectName(QStringLiteral("BLetters%1").arg(k));
        key->setCursor(Qt::PointingHandCursor);
        // The keys answer the mouse and typed letters only: a key holding
        // the focus would be pressed by Space or Enter.
        key->setFocusPolicy(Qt::NoFocus);
        key->SetLightRect(true);
        key->hide();
        connect(key, &QPushButton::clicked, this, [this, k] { LetterKeyClick(k); });
        BLetters[static_cast<std::size_t>(k - 1)] = key;
    }
}

void TForm1::LoadPuzzleBases()
{
    const QString names[2] = {QStringLiteral("DATA01"), QStringLiteral("DATA02")};
    std::vector<std::string>* memos[2] = {&Game.Memo1, &Game.Memo2};
    for (int i = 0; i < 2; ++i) {
        const auto bytes = ResourceBytes(ResourceKind::Raw, names[i]);
        LoadPuzzleBase(bytes ? std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size()))
                             : std::string_view(),
                       *memos[i]);
    }
}

void TForm1::SetWindowSize()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect work = screen ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
    if (Prefs.WindowSize == SizeFullScreen) {
        // The window fills the work area as a maximised window.  Its client
        // size is what is left of the work area inside the frame, so it is
        // read back from the window once the maximise has taken effect
        // (resizeEvent); until then the current size stands in.
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        const QSize frameExtra = frameGeometry().size() - size();
        resize(work.size() - frameExtra);
        move(work.topLeft()); // the frame's corner
        setWindowState(windowState() | Qt::WindowMaximized);
        vk::SetWindowSize(SizeFullScreen, width(), height(), Lay);
        return;
    }
    setWindowState(windowState() & ~Qt::WindowMaximized);
    vk::SetWindowSize(Prefs.WindowSize, 0, 0, Lay);
    setFixedSize(Lay.ClientW, Lay.ClientH);
    CentreOnScreen();
}

void TForm1::CentreOnScreen()
{
    // Centred by the whole window, frame included, on the whole screen.
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1920, 1080);
    const QSize outer = frameGeometry().size();
    move(area.x() + RoundInt((area.width() - outer.width()) / 2.0),
         area.y() + RoundInt((area.height() - outer.height()) / 2.0));
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (Prefs.WindowSize != SizeFullScreen || !isMaximized())
        return;
    vk::SetWindowSize(SizeFullScreen, width(), height(), Lay);
    if (Game.IntroActive && Image1->isVisible()) {
        Image1->setGeometry(0, 0, Lay.ClientW, Lay.ClientH);
        FillBlack(*Image1, Lay.ClientW, Lay.ClientH);
    }
    if (Game.MenuActive)
        RebuildMenuAfterResize();
}

void TForm1::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    FormPaint(&painter);
}

void TForm1::FormPaint(QPainter* painter)
{
    // Work that a phase starts may open windows or wait for the network, so
    // it runs right after the paint instead of inside it.
    const IntroSurfaces surfaces{Image1, RxGIFAn1, RxGIFAn2, RxGIFAn3};
    switch (OnPaint(Game)) {
    case PaintStep::StartStep1:
        setWindowTitle(FromUtf8(ProductNames[0]));
        setCursor(Qt::WaitCursor);
        // The frame is known once the window is on the screen.
        if (Prefs.WindowSize != SizeFullScreen)
            CentreOnScreen();
        QTimer::singleShot(0, this, [this, surfaces] {
            if (!IntroStep1(surfaces, Lay, Prefs.SoundOn))
                RxGIFAn1FrameChanged(0);
        });
        return;
    case PaintStep::StartStep2:
        QTimer::singleShot(0, this, [this, surfaces] {
            if (!IntroStep2(surfaces, Lay, Prefs.SoundOn))
                RxGIFAn1FrameChanged(0);
        });
        return;
    case PaintStep::RunPhaseFour:
        QTimer::singleShot(0, this, &TForm1::RunPhaseFour);
        return;
    case PaintStep::DrawScreen:
        break;
    }
    if (!painter)
        return;
    if (Game.MenuActive && !MenuPicture.isNull())
        painter->drawImage(0, 0, MenuPicture);
    if (Game.DealActive && !Game.Closing && !BackgroundPicture.isNull())
        painter->drawImage(0, 0, BackgroundPicture);
}

void TForm1::RxGIFAn1FrameChanged(int frameIndex)
{
    if (OnIntroFrame(Game, frameIndex, RxGIFAn1->FrameCount()))
        AdvancePastAnimation();
}

void TForm1::AdvancePastAnimation()
{
    // Only hidden and stopped here: this runs inside the animation's own
    // frame report, and the next step loads the player again.
    RxGIFAn1->hide();
    RxGIFAn1->Stop();
    Image1->repaint();
    FormPaint(nullptr);
}

void TForm1::RunPhaseFour()
{
    if (!MayRunPhaseFour(Game))
        return;
    const IntroSurfaces surfaces{Image1, RxGIFAn1, RxGIFAn2, RxGIFAn3};
    const QFont display(FromUtf8(Prefs.DisplayFontName));
    IntroStep3(surfaces, Lay, {display.family(), UiText(Msg::ReleaseDate), UiText(Msg::Credit), FromUtf8(VersionText)});
    settingsRead_ = ReadSettings(Game.ProgramDir, Prefs);
    StartClubSteps();
    if (!Prefs.NoFontWindow)
        FormFont->ShowModal();
    if (!StartupSequence())
        return;
    setCursor(Qt::PointingHandCursor);
    if (!screenCursorSet_) {
        QApplication::setOverrideCursor(Qt::PointingHandCursor);
        screenCursorSet_ = true;
    }
    IntroStep4(surfaces, Lay);
    OnPhaseFourDone(Game);
    emit introWaiting();
}

void TForm1::ShowMenuWithoutIntro()
{
    if (!Game.IntroActive || Game.StartupPhase != 0)
        return;
    Game.StartupPhase = 5;
    setWindowTitle(FromUtf8(ProductNames[0]));
    settingsRead_ = ReadSettings(Game.ProgramDir, Prefs);
    StartClubSteps();
    if (!StartupSequence())
        return;
    OnPhaseFourDone(Game);
    EndIntro();
}

bool TForm1::StartupSequence()
{
    // The application's title too; not earlier, since the platform adds it
    // to every window caption and the intro's first caption is the Latin
    // name alone.
    QGuiApplication::setApplicationDisplayName(UiProductName());
    setWindowTitle(UiProductName());
    UpdateFontNames(Prefs);
    ApplyFonts();
    Image1->update();

    // A system-wide install keeps the club file in the player's own folder.
    SeedClubFile(Game.ProgramDir);
    if (!vk::CheckClubFile(this, ClubFilePath(), true, Game.Local)) {
        close();
        return false;
    }

    if (QScreen* screen = QGuiApplication::primaryScreen())
        Limits = ComputeScreenLimits(screen->size().width(), screen->size().height());
    FormOptions->SetScreenLimits(Limits);

    Button6->setText(UiText(Msg::NewPlayer));
    Button9->setText(UiText(Msg::TopTen));
    Button10->setText(UiText(Msg::Options));
    Button11->setText(UiText(Msg::Exit));
    Quit->setText(UiText(Msg::ExitToMenu));
    Help->setText(UiText(Msg::Help));
    About->setText(UiText(Msg::About));
    GenCount->setText(UiText(Msg::GeneralScore));
    ChangeName->setText(UiText(Msg::ChangeName));
    setWindowTitle(UiProductName());

    SaveSettings(this, Game.ProgramDir, Prefs);

    // The news, the launch report and the login come in the background
    // when their answers are there.
    Game.ClubState = ClubLoggedOut;
    clubFileChecked_ = true;
    ContinueClubStartup();

    PrepareMusic(Game.TempDir);
    if (Prefs.MusicOn)
        PlayMusic(true);
    return true;
}

void TForm1::EndIntro()
{
    if (!MayEndIntro(Game))
        return;
    Game.IntroActive = false;
    setCursor(Qt::ArrowCursor);
    if (screenCursorSet_) {
        QApplication::restoreOverrideCursor();
        screenCursorSet_ = false;
    }
    for (AnimationPlayer* a : {RxGIFAn1, RxGIFAn2, RxGIFAn3}) {
        a->hide();
        a->Clear();
    }
    // The intro's surface is as large as the window and is not shown again.
    Image1->hide();
    Image1->ReleaseCanvas();
    ScaleBackground();
    ShowMainMenu();
    Game.MenuActive = true;
    About->setEnabled(true);
    N3->setEnabled(true);
    update();
    ShowNewsWhenFree();
}

void TForm1::ScaleBackground()
{
    // "BG" is decoded and made ready once; every window size resamples it
    // from there.
    if (backgroundSource_.IsNull()) {
        QImage bg;
        if (LoadJpegRes(QStringLiteral("BG"), bg))
            backgroundSource_.Load(bg);
    }
    if (backgroundSource_.IsNull()) {
        BackgroundPicture = QImage(Lay.ClientW, Lay.ClientH, QImage::Format_RGB32);
        BackgroundPicture.fill(ToQColor(kMenuColour));
        return;
    }
    QImage bg = backgroundSource_.ScaledTo(Lay.ClientW, Lay.ClientH);
    if (backgroundSource_.Size() == QSize(Lay.ClientW, Lay.ClientH)) {
        BackgroundPicture = bg;
        return;
    }
    // The background stays a JPEG picture: the resampled pixels are stored
    // encoded again, as every window then shows them.
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    if (!bg.save(&buffer, "JPG", 90)) {
        BackgroundPicture = bg;
        return;
    }
    // The old picture and the resampled one go before the decoding, so
    // that only one picture of the window's size is held at a time.
    bg = QImage();
    BackgroundPicture = QImage();
    BackgroundPicture = QImage::fromData(jpeg, "JPG");
    if (BackgroundPicture.isNull())
        BackgroundPicture = backgroundSource_.ScaledTo(Lay.ClientW, Lay.ClientH);
}

void TForm1::Timer2Timer()
{
    if (Prefs.MusicOn && MusicStopped() && (Game.IntroActive || Game.MenuActive))
        PlayMusic(true);
}

void TForm1::closeEvent(QCloseEvent* event)
{
    const CloseDecision decision = OnCloseRequest(Game);
    if (decision.AskToLeaveGame) {
        const QString question = UiText(Msg::LeaveTheGame) + QLatin1Char(' ') + UiText(Msg::AllDataLost);
        // "Да" loses the game on the board: Enter must not answer it.
        if (!AskYesNo(this, question, DefaultAnswer::No)) {
            event->ignore();
            return;
        }
    }
    if (decision.WriteSettings)
        SaveSettings(this, Game.ProgramDir, Prefs);
    // Nothing that comes back from the club after this is wanted.
    AbandonRequests(this);

    for (auto& key : BLetters) {
        delete key;
        key = nullptr;
    }
    RemoveOwnFont();
    for (AnimationPlayer* a : MenuAnimations) {
        a->hide();
        a->Clear();
    }
    Game.Closing = true;
    BackgroundPicture = QImage();
    PlayMusic(false);
    RemoveMusicFile();
    if (!Game.TempDir.empty())
        QDir().rmdir(QString::fromStdString(Game.TempDir));
    qApp->removeEventFilter(this);
    event->accept();
}

void TForm1::contextMenuEvent(QContextMenuEvent* event)
{
    PopupMenu1->popup(event->globalPos());
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    // Key preview in a game: a typed letter picks its key wherever the focus
    // is in this window.
    if (event->type() == QEvent::KeyPress && Game.DealActive) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && DealKeyPress(*static_cast<QKeyEvent*>(event)))
            return true;
    }
    // Key preview: a key released anywhere in this window ends the intro once
    // it waits for the player.
    if (event->type() == QEvent::KeyRelease && MayEndIntro(Game)) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this) {
            EndIntro();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vk
