#include "ui/game/main_window.h"
#include "ui/kit/qt_translations.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDir>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QPixmap>
#include <QPointer>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "common/builtin_addresses.h"
#include "common/messages.h"
#include "common/rounding.h"
#include "ui/game/deal_view.h"
#include "ui/game/folders.h"
#include "ui/game/help_window.h"
#include "ui/game/intro_view.h"
#include "ui/game/menu_view.h"
#include "ui/game/window_pictures.h"
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
#include "ui/kit/link_opener.h"
#include "ui/kit/message_box.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/picture_scaling.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/resource_store.h"
#include "ui/kit/text_codec.h"

namespace vk {
namespace {

// The window's picture list, as the popup items name their pictures.
constexpr const char* kPictureList[] = {"GMenu0", "GMenu1", "GMenu2", "GMenu3", "GMenu4", "GMenu5", "GMenu6"};

} // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form1"));
    // Qt's own boxes and menus speak the program's language.
    InstallQtTranslations();
    FormCreate();
}

TForm1::~TForm1()
{
    if (screenCursorSet_)
        QApplication::restoreOverrideCursor();
}

void TForm1::FormCreate()
{
    introView = new IntroView(this);
    menuView = new MenuView(this, Prefs, Lay);
    dealView = new DealView(this, Prefs, Lay, BackgroundPicture);
    InitMainWindow();
    ConnectMenuView();
    ConnectDealView();
    SetHelpPageShower(
        [self = QPointer<TForm1>(this)](const QString& address) { return self && self->ShowClubHelpPage(address); });
    LoadPuzzleBases();
    CreateDialogs();
}

const QImage& TForm1::MenuPicture() const { return menuView->Picture(); }

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

std::string TForm1::ClubFilePath() const { return Game.ProgramDir + ClubFileName; }

void TForm1::ApplyFonts()
{
    FontTargets targets;
    menuView->AddFontTargets(targets);
    targets.MainButtons.push_back(dealView->ExitButton());
    targets.ButtonN = dealView->NextButton();
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
    connect(introView, &IntroView::frameChanged, this, &TForm1::RxGIFAn1FrameChanged);
    connect(introView, &IntroView::clicked, this, &TForm1::EndIntro);

    Game.ProgramDir = FindProgramDir().toStdString();
    Game.TempDir = FindTempDir(QString::fromStdString(Game.ProgramDir)).toStdString();

    SetUiLanguage(1);
    // Without a settings file the start values stay and everything else
    // runs all the same.
    ReadStartSettings(Game.ProgramDir, Prefs);

    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    SetWindowSize();

    Game.StartupPhase = 0;
    InstallOwnFont(Game.TempDir);

    Game.IntroActive = true;
    Game.MenuActive = false;
    Game.DealActive = false;
    Game.Closing = false;

    CreatePopupMenu();

    SetWindowColour(Qt::black);
    BackgroundPicture = QImage();

    Game.RatingGameActive = false;
    Game.RatingGameRegistered = false;

    musicTimer = new QTimer(this);
    musicTimer->setObjectName(QStringLiteral("Timer2"));
    musicTimer->setInterval(1000);
    connect(musicTimer, &QTimer::timeout, this, &TForm1::Timer2Timer);
    musicTimer->start();

    // Key preview: the window sees key releases before its controls do.
    qApp->installEventFilter(this);
}

void TForm1::CreatePopupMenu()
{
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
    scoreItem = addItem("GenCount", QStringLiteral("Общий Счёт"), 0);
    leaveItem = addItem("Quit", QStringLiteral("Выход в меню"), 1);
    changeNameItem = addItem("ChangeName", QStringLiteral("Изменить имя"), 2);
    PopupMenu1->addSeparator();
    helpItem = addItem("Help", QStringLiteral("Помощь"), 3);
    aboutItem = addItem("About", QStringLiteral("О программе"), 5);
    PopupMenu1->addSeparator();
    chatItem = addItem("N3", QStringLiteral("Чат"), 6);
    for (QAction* item : {leaveItem, scoreItem, changeNameItem, aboutItem, chatItem})
        item->setEnabled(false);

    connect(scoreItem, &QAction::triggered, this, &TForm1::GenCountClick);
    connect(leaveItem, &QAction::triggered, this, &TForm1::QuitClick);
    connect(changeNameItem, &QAction::triggered, this, &TForm1::ChangeNameClick);
    connect(helpItem, &QAction::triggered, this, &TForm1::HelpClick);
    connect(aboutItem, &QAction::triggered, this, &TForm1::AboutClick);
    connect(chatItem, &QAction::triggered, this, &TForm1::N3Click);
}

void TForm1::SetWindowColour(QColor colour)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, colour);
    setPalette(pal);
    setAutoFillBackground(true);
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
    if (Game.IntroActive)
        introView->FitSurface(Lay);
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
    switch (OnPaint(Game)) {
    case PaintStep::StartStep1:
        PrepareWindowPicturesInBackground(false);
        setWindowTitle(FromUtf8(ProductNames[0]));
        setCursor(Qt::WaitCursor);
        // The frame is known once the window is on the screen.
        if (Prefs.WindowSize != SizeFullScreen)
            CentreOnScreen();
        QTimer::singleShot(0, this, [this] {
            if (!introView->Step1(Lay, Prefs.SoundOn))
                RxGIFAn1FrameChanged(0);
        });
        return;
    case PaintStep::StartStep2:
        QTimer::singleShot(0, this, [this] {
            if (!introView->Step2(Lay, Prefs.SoundOn))
                RxGIFAn1FrameChanged(0);
        });
        return;
    case PaintStep::RunPhaseFour: QTimer::singleShot(0, this, &TForm1::RunPhaseFour); return;
    case PaintStep::DrawScreen: break;
    }
    if (!painter)
        return;
    if (Game.MenuActive && !MenuPicture().isNull())
        painter->drawImage(0, 0, MenuPicture());
    if (Game.DealActive && !Game.Closing && !BackgroundPicture.isNull())
        painter->drawImage(0, 0, BackgroundPicture);
}

void TForm1::RxGIFAn1FrameChanged(int frameIndex)
{
    if (OnIntroFrame(Game, frameIndex, introView->FirstAnimationFrames()))
        AdvancePastAnimation();
}

void TForm1::AdvancePastAnimation()
{
    introView->StopFirstAnimation();
    FormPaint(nullptr);
}

void TForm1::RunPhaseFour()
{
    if (!MayRunPhaseFour(Game) || phaseFourRunning_)
        return;
    phaseFourRunning_ = true;
    const QFont display(FromUtf8(Prefs.DisplayFontName));
    introView->Step3(Lay, {display.family(), UiText(Msg::ReleaseDate), UiText(Msg::Credit), FromUtf8(VersionText)},
                     [this] { FinishPhaseFour(); });
}

void TForm1::FinishPhaseFour()
{
    phaseFourRunning_ = false;
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
    introView->Step4(Lay);
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
    introView->UpdateSurface();

    // A system-wide install keeps the club file in the player's own folder.
    SeedClubFile(Game.ProgramDir);
    if (!vk::CheckClubFile(this, ClubFilePath(), true, Game.Local)) {
        close();
        return false;
    }

    if (QScreen* screen = QGuiApplication::primaryScreen())
        Limits = ComputeScreenLimits(screen->size().width(), screen->size().height());
    FormOptions->SetScreenLimits(Limits);

    menuView->SetButtonCaptions();
    leaveItem->setText(UiText(Msg::ExitToMenu));
    helpItem->setText(UiText(Msg::Help));
    aboutItem->setText(UiText(Msg::About));
    scoreItem->setText(UiText(Msg::GeneralScore));
    changeNameItem->setText(UiText(Msg::ChangeName));
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
    introView->End();
    ScaleBackground();
    ShowMainMenu();
    Game.MenuActive = true;
    aboutItem->setEnabled(true);
    chatItem->setEnabled(true);
    update();
    ShowNewsWhenFree();
    PrepareWindowPicturesInBackground(true);
}

void TForm1::ScaleBackground()
{
    // The old picture goes before the next is read, so that only one
    // picture of the window's size is held at a time.
    BackgroundPicture = QImage();
    BackgroundPicture = WindowBackground(QSize(Lay.ClientW, Lay.ClientH));
}

void TForm1::PrepareWindowPicturesInBackground(bool otherSizes)
{
    // The pictures of this size are built while the intro runs; once the
    // menu is up, those of the other sizes the player may choose, so that
    // a change of size reads them too.
    std::vector<QSize> sizes{QSize(Lay.ClientW, Lay.ClientH)};
    if (otherSizes) {
        sizes.clear();
        for (int size : {SizeSmall, SizeMedium1, SizeMedium2, SizeLarge}) {
            if (size == Prefs.WindowSize || Limits.Refuses(size))
                continue;
            Layout other;
            vk::SetWindowSize(size, 0, 0, other);
            sizes.emplace_back(other.ClientW, other.ClientH);
        }
    }
    RunRequest(
        this,
        [sizes] {
            PrepareWindowPictures(sizes);
            return true;
        },
        [](bool) {});
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

    dealView->ReleaseLetterKeys();
    RemoveOwnFont();
    menuView->ClearAnimations();
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
    if (!PopupMenu1->isVisible())
        PopupMenu1->popup(event->globalPos());
}

// The popup from the keyboard (the Menu key, Shift+F10) opens by the
// control that has the focus, or in the window's middle.
static bool IsPopupKey(const QKeyEvent& key)
{
    return (key.key() == Qt::Key_Menu && key.modifiers() == Qt::NoModifier)
           || (key.key() == Qt::Key_F10 && key.modifiers() == Qt::ShiftModifier);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && IsPopupKey(*static_cast<QKeyEvent*>(event))) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && !Game.IntroActive) {
            const QWidget* at = QApplication::focusWidget();
            const QPoint place =
                at && at->window() == this ? at->mapToGlobal(at->rect().center()) : mapToGlobal(rect().center());
            if (!PopupMenu1->isVisible())
                PopupMenu1->popup(place);
            return true;
        }
    }
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
