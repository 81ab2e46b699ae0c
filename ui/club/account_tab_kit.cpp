#include "ui/club/account_tab_kit.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>

#include "common/codepage.h"
#include "common/rounding.h"
#include "logic/club/account_fields.h"
#include "ui/localdata/apply_fonts.h"
#include "ui/kit/dialog_base.h"
#include "ui/kit/dressing.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/picture_scaling.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/resource_store.h"
#include "ui/kit/text_codec.h"

namespace vk {
namespace {

constexpr unsigned int kWhite = 0x00FFFFFF;
const QColor kMaroon(128, 0, 0);

int Channel(unsigned int colour, int shift) { return static_cast<int>((colour >> shift) & 0xFF); }

} // namespace

QFont TabFont(int height) { return MakeFont("Comic Sans MS", height, true); }

void DrawGradient(QPainter& canvas, const QRect& box, unsigned int topColour, unsigned int bottomColour,
                  const QRect& clip)
{
    const int n = box.height();
    const QRect area = clip.isNull() ? box : box.intersected(clip);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const int i = y - box.top();
        int rgb[3];
        for (int c = 0; c < 3; ++c) {
            const int top = Channel(topColour, 8 * c);
            const int bottom = Channel(bottomColour, 8 * c);
            rgb[c] = n > 1 ? RoundInt(top - (top - bottom) * static_cast<double>(i) / (n - 1)) : top;
        }
        canvas.setPen(QColor(rgb[0], rgb[1], rgb[2]));
        canvas.drawLine(area.left(), y, area.right(), y);
    }
}

void DrawTabTitle(QPainter& canvas, const QString& title)
{
    canvas.setFont(TabFont(36));
    TextOutShadow(title, 10, 692, 10, canvas, kTabYellow, 'c');
}

void DrawBand(QPainter& canvas, int x1, int x2, int y1, int y2, unsigned int colour)
{
    DrawGradient(canvas, QRect(x1, y1, x2 - x1, y2 - y1), colour, kWhite);
}

void DrawCellOutline(QPainter& canvas, int x1, int y1, int x2, int y2)
{
    canvas.setPen(kMaroon);
    canvas.setBrush(Qt::NoBrush);
    canvas.drawRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
}

void DrawPlatformPictures(QPainter& canvas)
{
    DrawResPicture(QStringLiteral("Windows"), canvas, 30, 400, 0, 0, false);
    DrawResPicture(QStringLiteral("Android"), canvas, 622, 400, 0, 0, false);
    canvas.setPen(QPen(QColor(255, 0, 0), 2));
    canvas.setBrush(Qt::NoBrush);
    canvas.drawRoundedRect(QRect(28, 398, 52, 52), 3.5, 3.5);
    canvas.drawRoundedRect(QRect(620, 398, 52, 52), 3.5, 3.5);
}

const char* LampPicture(int cls)
{
    switch (cls) {
    case FieldReserved: return "LampY24";
    case FieldAccepted: return "LampG24";
    default: return "LampR24";
    }
}

TTevQuizButton* MakeTabButton(QWidget* page, const char* name, const QRect& box)
{
    auto* b = new TTevQuizButton(page);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(box);
    b->SetColorSB(DRed);
    b->SetFontColor(kTabYellow);
    b->SetGrayDis(true);
    b->setFont(TabFont(16));
    return b;
}

TTevQuizButton* MakeRefreshButton(QWidget* page, const char* name, QPoint at)
{
    QPixmap refresh;
    if (const auto bytes = ResourceBytes(ResourceKind::Raw, QStringLiteral("GRefresh24")))
        refresh = QPixmap::fromImage(DecodePng(*bytes));
    auto* b = new TTevQuizButton(page);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(at.x(), at.y(), 54, 45);
    b->SetColorSB(DRed);
    b->SetGrayDis(true);
    b->SetGlyph(refresh);
    // A picture alone: a screen reader needs its word.
    b->setAccessibleName(UiText(Msg::Refresh));
    return b;
}

bool RefusedKey(const QEvent& event, const std::function<bool(unsigned char)>& accepts)
{
    if (event.type() != QEvent::KeyPress)
        return false;
    const QString typed = static_cast<const QKeyEvent&>(event).text();
    if (typed.size() != 1 || typed[0].unicode() < 0x20 || typed[0].unicode() == 0x7F)
        return false;
    const auto byte = UnicodeToCp1251(typed[0].unicode());
    return !byte || !accepts(*byte);
}

AccountTab::AccountTab(int number, ClubStateData& club, int& clubState) : club_(club), state_(clubState)
{
    setObjectName(QStringLiteral("TabSheet%1").arg(number));
    canvas_ =
        MakePictureArea(this, QStringLiteral("ImageN%1").arg(number).toLatin1().constData(), QRect(0, 0, 702, 452));
}

QImage& AccountTab::Canvas() const { return canvas_->Canvas(); }

void AccountTab::StartPicture(QPainter& canvas) const
{
    DrawGradient(canvas, canvas_->Canvas().rect(), kTabTop, kTabBottom);
}

} // namespace vk
