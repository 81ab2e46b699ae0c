#include "ui/game/menu_view.h"

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

#include "common/messages.h"
#include "common/product.h"
#include "logic/game/game_state.h"
#include "logic/localdata/settings.h"
#include "ui/game/window_pictures.h"
#include "logic/localdata/club_file.h"
#include "ui/kit/accessibility.h"
#include "ui/kit/animation_player.h"
#include "ui/kit/colour.h"
#include "ui/kit/dialog_base.h"
#include "ui/kit/dressing.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/picture_scaling.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/resource_store.h"
#include "ui/kit/text_codec.h"
#include "ui/localdata/apply_fonts.h"

namespace vk {
namespace {

constexpr unsigned int kNavy = 0x800000;
constexpr unsigned int kAqua = 0xFFFF00;
constexpr unsigned int kYellow = 0x00FFFF;

QRect ToRect(const ControlRect& r) { return QRect(r.Left, r.Top, r.Width, r.Height); }

// A member line as a screen reader says it: the name, then each figure
// under its column's heading.
QString MemberLineName(std::string_view name, int deals, int score)
{
    return ToQString(name).trimmed() + QStringLiteral(", ") + UiText(Msg::GamesColumn) + QStringLiteral(": ")
           + QString::number(deals) + QStringLiteral(", ") + UiText(Msg::ScoreColumn) + QStringLiteral(": ")
           + QString::number(score);
}

} // namespace

MenuView::MenuView(QWidget* window, const Settings& prefs, const Layout& lay)
    : QObject(window), window_(window), prefs_(prefs), lay_(lay)
{
    title = new PictureBox(window);
    title->setObjectName(QStringLiteral("ImageCa"));
    title->hide();
    const char* const animationNames[] = {"RxGIFAnSvLeft", "RxGIFAnSvRight", "RxGIFAnMan", "RxGIFAnClock"};
    for (std::size_t i = 0; i < animations.size(); ++i) {
        animations[i] = new AnimationPlayer(window);
        animations[i]->setObjectName(QLatin1String(animationNames[i]));
        animations[i]->hide();
    }

    // The colour scheme: aqua captions on navy, navy captions on blue for the
    // member lines, yellow under the mouse.  The lines sit in a list of
    // their own, which a screen reader reads as the club's members.
    memberList = NewAccessibleList(window, UiText(Msg::MembersOfClub));
    memberList->hide();
    for (std::size_t i = 0; i < memberLines.size(); ++i) {
        memberLines[i] = NewWindowButton(memberList, DBlue, kNavy, qPrintable(QStringLiteral("Button%1").arg(i + 1)));
        connect(memberLines[i], &QPushButton::clicked, this,
                [this, i] { emit memberClicked(static_cast<int>(i) + 1); });
        MarkAsListItem(memberLines[i]);
    }
    // The column headings are disabled buttons with silver captions.
    for (std::size_t i = 0; i < headings.size(); ++i) {
        headings[i] = NewWindowButton(window, DNavy, kAqua, qPrintable(QStringLiteral("Panel%1").arg(i + 1)));
        headings[i]->setEnabled(false);
        headings[i]->SetGrayDis(true);
    }
    newPlayerButton = NewWindowButton(window, DNavy, kAqua, "Button6");
    topTenButton = NewWindowButton(window, DNavy, kAqua, "Button9");
    optionsButton = NewWindowButton(window, DNavy, kAqua, "Button10");
    exitButton = NewWindowButton(window, DNavy, kAqua, "Button11");
    connect(newPlayerButton, &QPushButton::clicked, this, &MenuView::newPlayerClicked);
    connect(topTenButton, &QPushButton::clicked, this, &MenuView::topTenClicked);
    connect(optionsButton, &QPushButton::clicked, this, &MenuView::optionsClicked);
    connect(exitButton, &QPushButton::clicked, this, &MenuView::exitClicked);

    const char* const iconNames[MenuIconCount] = {"ImOnLineL", "ImageAn", "ImAc", "ImOnLineR",
                                                  "ImHp",      "ImSt",    "ImCh", "ImWT"};
    for (int i = 0; i < MenuIconCount; ++i) {
        auto* icon = new PictureBox(window);
        icon->setObjectName(QLatin1String(iconNames[i]));
        icon->setCursor(Qt::PointingHandCursor);
        // Reached by Tab like the buttons, clicked by Return or Space.
        icon->setFocusPolicy(Qt::StrongFocus);
        icon->resize(MenuIconSize, MenuIconSize);
        icon->hide();
        connect(icon, &PictureBox::clicked, this, [this, i] { emit iconClicked(static_cast<MenuIcon>(i)); });
        icons[static_cast<std::size_t>(i)] = icon;
    }
}

void MenuView::SetButtonCaptions()
{
    newPlayerButton->setText(UiText(Msg::NewPlayer));
    topTenButton->setText(UiText(Msg::TopTen));
    optionsButton->setText(UiText(Msg::Options));
    exitButton->setText(UiText(Msg::Exit));
}

void MenuView::AddFontTargets(FontTargets& targets) const
{
    for (QWidget* b : {newPlayerButton, topTenButton, optionsButton, exitButton})
        targets.MainButtons.push_back(b);
    targets.MainButtons.insert(targets.MainButtons.end(), headings.begin(), headings.end());
    targets.MemberButtons.assign(memberLines.begin(), memberLines.end());
}

void MenuView::Show(int clubState, bool storeLink)
{
    layout_ = LayOutMainMenu(lay_);
    Place();
    // Let go before the next is read, so that only one picture of the
    // window's size is held at a time.
    picture_ = QImage();
    picture_ = MenuBackground(QSize(lay_.ClientW, lay_.ClientH));

    // The title over its piece of the menu picture.
    title->setGeometry(ToRect(layout_.ImageCa));
    title->ResizeCanvas(title->width(), title->height());
    {
        QPainter p(&title->Canvas());
        p.drawImage(0, 0, picture_, title->x(), title->y(), title->width(), title->height());
        DrawSmoothPicture(QStringLiteral("Caption"), p, 0, 0, title->width(), title->height());
    }
    title->show();
    title->update();

    for (TTevQuizButton* p : headings)
        p->show();
    const char* const names[4] = {"GSv", "GSv", "GMenu160", "GMenu160"};
    for (std::size_t i = 0; i < animations.size(); ++i) {
        AnimationPlayer* a = animations[i];
        LoadGifRes(QLatin1String(names[i]), *a);
        a->setGeometry(ToRect(layout_.Animations[i]));
        a->show();
    }

    const std::pair<MenuIcon, const char*> dressed[] = {
        {IconMoreGames, "AdvR"},      {IconPackage, "Android"}, {IconStore, "GRuStore"},      {IconHelp, "GHelp048"},
        {IconStatistics, "GStat048"}, {IconChat, "GChat048"},   {IconWorldTopTen, "Earth48"},
    };
    for (const auto& [which, picture] : dressed)
        DressIcon(icons[which], QLatin1String(picture));
    const QString product = FromUtf8(ProductNames[0]);
    icons[IconMoreGames]->setToolTip(UiText(Msg::HintMoreGames));
    icons[IconPackage]->setToolTip(UiText(Msg::HintDownload).arg(product));
    icons[IconStore]->setToolTip(UiText(Msg::HintStore).arg(product));
    icons[IconHelp]->setToolTip(UiText(Msg::Help));
    icons[IconStatistics]->setToolTip(UiText(Msg::HintStatistics));
    icons[IconChat]->setToolTip(UiText(Msg::HintChat));
    icons[IconWorldTopTen]->setToolTip(UiText(Msg::HintWorldTopTen));
    for (MenuIcon which : {IconMoreGames, IconPackage, IconStore, IconHelp, IconStatistics, IconChat, IconWorldTopTen})
        icons[which]->setAccessibleName(icons[which]->toolTip());
    for (MenuIcon which : {IconMoreGames, IconPackage, IconHelp, IconStatistics, IconChat, IconWorldTopTen})
        icons[which]->show();
    ShowAccountLamp(clubState);
    ShowStoreIcon(storeLink);

    newPlayerButton->setText(UiText(Msg::NewPlayer));
}

void MenuView::ShowStoreIcon(bool storeLink) { icons[IconStore]->setVisible(storeLink); }

void MenuView::Place()
{
    const Msg captions[3] = {Msg::MembersOfClub, Msg::GamesColumn, Msg::ScoreColumn};
    for (std::size_t i = 0; i < headings.size(); ++i) {
        headings[i]->setGeometry(ToRect(layout_.Panels[i]));
        headings[i]->setText(UiText(captions[i]));
    }
    QRect lines;
    for (const ControlRect& r : layout_.MemberButtons)
        lines |= ToRect(r);
    memberList->setGeometry(lines);
    for (std::size_t i = 0; i < memberLines.size(); ++i)
        memberLines[i]->setGeometry(ToRect(layout_.MemberButtons[i]).translated(-lines.topLeft()));
    memberList->show();
    newPlayerButton->setGeometry(ToRect(layout_.Button6));
    topTenButton->setGeometry(ToRect(layout_.Button9));
    optionsButton->setGeometry(ToRect(layout_.Button10));
    exitButton->setGeometry(ToRect(layout_.Button11));
    for (int i = 0; i < MenuIconCount; ++i)
        icons[static_cast<std::size_t>(i)]->setGeometry(ToRect(layout_.Icons[static_cast<std::size_t>(i)]));
    for (TTevQuizButton* b : memberLines)
        b->show();
    for (TTevQuizButton* b : {newPlayerButton, topTenButton, optionsButton, exitButton})
        b->show();
}

void MenuView::DressIcon(PictureBox* icon, const QString& picture)
{
    // The icon's transparent parts show the menu picture under it.
    icon->ResizeCanvas(MenuIconSize, MenuIconSize);
    QPainter p(&icon->Canvas());
    p.drawImage(0, 0, picture_, icon->x(), icon->y(), MenuIconSize, MenuIconSize);
    DrawResPicture(picture, p, 0, 0, 0, 0, false);
    p.end();
    icon->update();
}

void MenuView::ShowAccountLamp(int state)
{
    PictureBox* account = icons[IconAccount];
    const AccountLamp lamp = AccountLampFor(state);
    DressIcon(account, QStringLiteral("Account48"));
    {
        QPainter p(&account->Canvas());
        DrawResPicture(QLatin1String(lamp.Picture), p, 24, 0, 0, 0, false);
    }
    accountState_ = state;
    account->setToolTip(accountNote_.isEmpty() || state > ClubLoggedOut
                            ? UiText(lamp.Hint)
                            : UiText(lamp.Hint) + QLatin1Char('\n') + accountNote_);
    account->setAccessibleName(account->toolTip());
    account->show();
    account->update();
}

void MenuView::SetAccountNote(const QString& note)
{
    accountNote_ = note;
    if (icons[IconAccount]->isVisible())
        ShowAccountLamp(accountState_);
}

void MenuView::ShowMemberLines(const std::array<std::string, 5>& lines)
{
    // Fitted in the list font of the small window, whatever the size.
    const QFontMetrics list(MakeFont(prefs_.MenuListFontName, 11, false));
    const auto width = [&list](std::string_view text) { return list.horizontalAdvance(ToQString(text)); };
    const auto caption = [&](std::size_t r) { return ToQString(FitMemberCaption(MemberCaption(lines[r]), width)); };
    for (std::size_t r = 0; r < 4; ++r)
        memberLines[r]->setText(caption(r));
    // The caption may be cut to fit: a screen reader gets the whole line.
    for (std::size_t r = 0; r < 5; ++r)
        memberLines[r]->setAccessibleName(
            IsEmptyMemberLine(lines[r])
                ? UiText(Msg::A11yFreeSlot)
                : MemberLineName(MemberName(lines[r]), MemberDeals(lines[r]), MemberScore(lines[r])));

    TTevQuizButton* fifth = memberLines[4];
    fifth->SetColorSB(DBlue);
    fifth->SetFontColor(kNavy);
    fifth->SetColorMouse(kYellow);
    fifth->setText(caption(4));
}

void MenuView::ShowClubMemberLine(const std::string& nick, int dealReached, int score)
{
    TTevQuizButton* fifth = memberLines[4];
    fifth->SetColorSB(DRed);
    fifth->SetFontColor(kAqua);
    fifth->SetColorMouse(kYellow);
    fifth->setText(ToQString(ClubMemberCaption(nick, dealReached, score)));
    fifth->setAccessibleName(MemberLineName(nick, dealReached, score));
}

void MenuView::Hide()
{
    ClearAnimations();
    title->hide();
    for (TTevQuizButton* b : memberLines)
        b->hide();
    memberList->hide();
    for (TTevQuizButton* p : headings)
        p->hide();
    for (TTevQuizButton* b : {newPlayerButton, topTenButton, optionsButton, exitButton})
        b->hide();
    for (PictureBox* icon : icons)
        icon->hide();
}

void MenuView::ClearAnimations()
{
    for (AnimationPlayer* a : animations) {
        a->Clear();
        a->hide();
    }
}

void MenuView::Repaint()
{
    for (TTevQuizButton* b : memberLines)
        b->repaint();
    for (TTevQuizButton* b : {newPlayerButton, topTenButton, optionsButton, exitButton})
        b->repaint();
    for (TTevQuizButton* p : headings)
        p->repaint();
}

} // namespace vk
