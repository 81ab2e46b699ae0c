#include "ui/club/account_tab_cards.h"

#include <QApplication>
#include <QClipboard>
#include <QHash>
#include <QMouseEvent>
#include <QPainter>

#include "logic/club/account_fields.h"
#include "logic/club/club_state.h"
#include "ui/kit/accessibility.h"
#include "ui/kit/dressing.h"
#include "ui/kit/link_opener.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/picture_scaling.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/resource_store.h"
#include "ui/kit/text_codec.h"

namespace vk {
namespace {

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
    DrawBand(p, 260, 700, top, top + 30, k % 2 == 1 ? kTabLightYellow : kTabLightRed);
    p.drawImage(265, top + 2, SmallIcon(field.Icon));
    if (!text.isEmpty())
        TextOutShadow(text, 300, 0, top + 4, p, kTabRed, 'l');
}

// A card's photo in its frame, or the picture of a member without one.
void DrawPhotoArea(QPainter& p, int x, int y, bool loaded, const std::string& photo, char sex)
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

// The chairman's rows 1 .. 12 on his tab.
constexpr int kRowsLeft = 260;
constexpr int kRowsRight = 700;
constexpr int kRowsTop = 40;
constexpr int kRowHeight = 31;

} // namespace

AccountAboutTab::AccountAboutTab(ClubStateData& club, int& clubState) : AccountTab(5, club, clubState)
{
    ButtonAva1 = MakeTabButton(this, "ButtonAva1", QRect(10, 364, 240, 45));
    ButtonAva1->setText(UiText(Msg::Refresh));
    connect(ButtonAva1, &QPushButton::clicked, this, &AccountAboutTab::editCardClicked);
}

void AccountAboutTab::PaintAboutTab()
{
    const ClubStateData& c = Club();
    ButtonAva1->setEnabled(State() > 1);
    QPainter p(&Canvas());
    StartPicture(p);
    DrawPhotoArea(p, 30, 50, c.OwnPhotoLoaded, c.OwnPhoto, c.ClubUser.Sex);
    p.setFont(TabFont(22));
    // A screen reader reads the rows as a list, each under the name of its
    // icon.
    QStringList rows;
    for (int k = 1; k <= CardFieldCount; ++k) {
        const CardFieldInfo& field = CardField(k - 1);
        const QString text = State() > 1 ? ToQString(c.ClubUser.Info.*(field.Field)) : QString();
        CardRow(p, k, 31 * k - 21, field, text);
        rows << (text.isEmpty() ? UiText(field.Hint) : UiText(field.Hint) + QStringLiteral(": ") + text);
    }
    p.end();
    CanvasArea().update();
    SetAccessibleItems(&CanvasArea(), rows);
}

AccountChairmanTab::AccountChairmanTab(ClubStateData& club, int& clubState) : AccountTab(6, club, clubState)
{
    CanvasArea().setMouseTracking(true);
    CanvasArea().installEventFilter(this);
}

bool AccountChairmanTab::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &CanvasArea() && event->type() == QEvent::MouseMove) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        const bool overRows = at.x() >= kRowsLeft && at.x() <= kRowsRight && at.y() >= kRowsTop && at.y() <= 412;
        CanvasArea().setCursor(overRows ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }
    if (watched == &CanvasArea() && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        ImageN6MouseUp(static_cast<QMouseEvent*>(event)->position().toPoint());
    return AccountTab::eventFilter(watched, event);
}

void AccountChairmanTab::PaintChairmanTab()
{
    const ClubStateData& c = Club();
    const TTevTop10& first = c.ClubTopTen[0];
    QPainter p(&Canvas());
    StartPicture(p);
    p.setFont(TabFont(24));
    const QString title =
        QStringLiteral("%1 \"%2\" %3 \"%4\"")
            .arg(UiText(Msg::ChairmanOfClub), UiText(Msg::ClubName), UiText(Msg::OnTheGame), UiProductName());
    TextOutShadow(title, 0, 700, 10, p, kTabYellow, 'c');
    // A screen reader reads what the eye sees, top to bottom: the title, the
    // names under the photo, the rows that hold a text.
    QStringList read{title};
    DrawPhotoArea(p, 30, 60, c.ChairmanPhotoLoaded, c.ChairmanPhoto, first.Sex);
    p.setFont(TabFont(22));
    const std::string* lines[4] = {&c.ChairmanInfo.Name1, &c.ChairmanInfo.Name2, &first.Nick, &first.City};
    for (int i = 0; i < 4; ++i) {
        TextOutShadow(ToQString(*lines[i]), 10, 250, 331 + 20 * i, p, kTabRed, 'c');
        if (!lines[i]->empty())
            read << ToQString(*lines[i]);
    }
    for (int k = 1; k <= 12; ++k) {
        const CardFieldInfo& field = CardField(k + 1);
        const QString text = ToQString(c.ChairmanInfo.*(field.Field));
        CardRow(p, k, kRowsTop + kRowHeight * (k - 1), field, text);
        if (!text.isEmpty())
            read << text;
    }
    p.end();
    CanvasArea().update();
    SetAccessibleItems(&CanvasArea(), read);
}

void AccountChairmanTab::ImageN6MouseUp(QPoint at)
{
    if (at.x() < kRowsLeft || at.x() > kRowsRight)
        return;
    for (int k = 1; k <= 12; ++k) {
        if (!(at.y() > kRowsTop + kRowHeight * (k - 1) && at.y() < kRowsTop + kRowHeight * k))
            continue;
        const CardFieldInfo& field = CardField(k + 1);
        const std::string& text = Club().ChairmanInfo.*(field.Field);
        switch (CardRowAction(field, text)) {
        case RowAction::Nothing: break;
        case RowAction::Copy:
            QApplication::clipboard()->setText(ToQString(text));
            emit notice(UiText(Msg::CopiedToClipboard));
            break;
        case RowAction::Open: OpenOutsideLink(window(), ToQString(text)); break;
        }
        return;
    }
}

} // namespace vk
