// Panels, scrolls, frames, decorations and placeholders of the windows.

#include "art.h"

#include <QRadialGradient>

#include <cmath>

namespace art {

namespace {

void dropShadow(QPainter& p, const QSize& size, const QPainterPath& shape, QPointF offset, int radius, int alpha)
{
    QImage sh = blank(size.width(), size.height());
    {
        QPainter sp(&sh);
        prepare(sp);
        sp.setPen(Qt::NoPen);
        sp.setBrush(QColor(0, 0, 0, alpha));
        sp.drawPath(shape.translated(offset));
    }
    blur(sh, radius);
    p.drawImage(0, 0, sh);
}

// A window panel: gold-rimmed glass over which the windows write their texts.
QImage panel(int W, int H)
{
    QImage img = blank(W, H);
    QPainter p(&img);
    prepare(p);
    const qreal radius = std::min(24.0, std::min(W, H) / 4.0);
    const qreal band = std::clamp(std::min(W, H) / 28.0, 3.0, 6.0);
    const QRectF r(2, 2, W - 5, H - 5);
    QPainterPath shape;
    shape.addRoundedRect(r, radius, radius);
    dropShadow(p, img.size(), shape, QPointF(1.5, 2), 2, 120);
    glassPlate(p, r, radius, 225);
    goldBand(p, r, radius, band);
    p.end();
    dither(img, 1.0, W * 31 + H);
    return img;
}

// The round medallion behind the logo on the About window.
QImage medallion()
{
    const int S = 124;
    return supersampled(S, S, 2, [&](QPainter& p) {
        const QPointF c(S / 2.0, S / 2.0);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 110));
        p.drawEllipse(c + QPointF(1.5, 2), 59, 59);
        QRadialGradient g(c - QPointF(20, 24), 90);
        g.setColorAt(0.0, QColor(40, 140, 160));
        g.setColorAt(0.5, QColor(12, 48, 84));
        g.setColorAt(1.0, QColor(6, 18, 44));
        p.setBrush(g);
        p.drawEllipse(c, 59, 59);
        // Gold ring with a bead row.
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kOutline, 9));
        p.drawEllipse(c, 55, 55);
        QConicalGradient ring(c, 135);
        ring.setColorAt(0.0, QColor(255, 244, 190));
        ring.setColorAt(0.25, QColor(220, 160, 50));
        ring.setColorAt(0.5, QColor(140, 86, 14));
        ring.setColorAt(0.75, QColor(220, 160, 50));
        ring.setColorAt(1.0, QColor(255, 244, 190));
        p.setPen(QPen(QBrush(ring), 7));
        p.drawEllipse(c, 55, 55);
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 36; ++i) {
            const qreal a = i * 10 * M_PI / 180;
            p.setBrush(QColor(255, 226, 140, 200));
            p.drawEllipse(QPointF(c.x() + 46 * std::cos(a), c.y() + 46 * std::sin(a)), 1.3, 1.3);
        }
    });
}

// A head-and-shoulders figure, used by the portrait and the photo placeholders.
void figure(QPainter& p, const QRectF& area, bool female, QColor light, QColor dark)
{
    const qreal w = area.width(), h = area.height();
    const qreal cx = area.center().x();
    QLinearGradient g(area.topLeft(), area.bottomRight());
    g.setColorAt(0.0, light);
    g.setColorAt(1.0, dark);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    // Shoulders.
    QPainterPath body;
    body.moveTo(area.left() + w * 0.08, area.bottom());
    body.cubicTo(area.left() + w * 0.10, area.top() + h * 0.70, area.left() + w * 0.28, area.top() + h * 0.64, cx,
                 area.top() + h * 0.63);
    body.cubicTo(area.right() - w * 0.28, area.top() + h * 0.64, area.right() - w * 0.10, area.top() + h * 0.70,
                 area.right() - w * 0.08, area.bottom());
    body.closeSubpath();
    p.drawPath(body);
    // Neck and head.
    p.drawRoundedRect(QRectF(cx - w * 0.08, area.top() + h * 0.50, w * 0.16, h * 0.16), w * 0.05, w * 0.05);
    if (female) {
        // Long hair behind the head.
        QPainterPath hair;
        hair.moveTo(cx - w * 0.24, area.top() + h * 0.64);
        hair.cubicTo(cx - w * 0.30, area.top() + h * 0.30, cx - w * 0.26, area.top() + h * 0.10, cx,
                     area.top() + h * 0.10);
        hair.cubicTo(cx + w * 0.26, area.top() + h * 0.10, cx + w * 0.30, area.top() + h * 0.30, cx + w * 0.24,
                     area.top() + h * 0.64);
        hair.closeSubpath();
        p.setBrush(withAlpha(dark.darker(130), 255));
        p.drawPath(hair);
        p.setBrush(g);
    }
    p.drawEllipse(QPointF(cx, area.top() + h * 0.36), w * 0.17, h * 0.19);
    // Rim light from the top-left.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 70), std::max(1.0, w * 0.012)));
    p.drawArc(QRectF(cx - w * 0.17, area.top() + h * 0.17, w * 0.34, h * 0.38), 100 * 16, 70 * 16);
}

QImage portrait()
{
    const int W = 170, H = 234;
    return supersampled(W, H, 2, [&](QPainter& p) {
        const QRectF oval(6, 6, W - 12, H - 12);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 110));
        p.drawEllipse(oval.translated(2, 3));
        QRadialGradient bg(oval.center() - QPointF(30, 50), 170);
        bg.setColorAt(0.0, QColor(70, 170, 180));
        bg.setColorAt(1.0, QColor(10, 40, 70));
        p.setBrush(bg);
        p.drawEllipse(oval);
        QPainterPath clip;
        clip.addEllipse(oval);
        p.save();
        p.setClipPath(clip);
        figure(p, oval.adjusted(10, 20, -10, 0), false, QColor(250, 226, 170), QColor(150, 96, 30));
        p.restore();
        QConicalGradient ring(oval.center(), 135);
        ring.setColorAt(0.0, QColor(255, 244, 190));
        ring.setColorAt(0.5, QColor(140, 86, 14));
        ring.setColorAt(1.0, QColor(255, 244, 190));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kOutline, 10));
        p.drawEllipse(oval.adjusted(4, 4, -4, -4));
        p.setPen(QPen(QBrush(ring), 7.5));
        p.drawEllipse(oval.adjusted(4, 4, -4, -4));
    });
}

// A sword standing point down, for the passport window's side areas.
QImage sword()
{
    const int W = 120, H = 200;
    return supersampled(W, H, 3, [&](QPainter& p) {
        const qreal cx = W / 2.0;
        p.setPen(Qt::NoPen);
        // Blade.
        QPainterPath blade;
        blade.moveTo(cx - 8, 58);
        blade.lineTo(cx + 8, 58);
        blade.lineTo(cx + 7, 172);
        blade.lineTo(cx, 194);
        blade.lineTo(cx - 7, 172);
        blade.closeSubpath();
        QLinearGradient steel(cx - 8, 0, cx + 8, 0);
        steel.setColorAt(0.0, QColor(250, 252, 255));
        steel.setColorAt(0.48, QColor(190, 204, 220));
        steel.setColorAt(0.52, QColor(120, 136, 156));
        steel.setColorAt(1.0, QColor(80, 92, 110));
        p.setPen(QPen(QColor(30, 36, 50), 1.2));
        p.setBrush(steel);
        p.drawPath(blade);
        p.setPen(QPen(QColor(255, 255, 255, 160), 1));
        p.drawLine(QPointF(cx, 62), QPointF(cx, 186));
        // Cross-guard.
        QPainterPath guard;
        guard.addRoundedRect(QRectF(cx - 40, 48, 80, 11), 5, 5);
        guard.addEllipse(QPointF(cx - 42, 53.5), 7, 7);
        guard.addEllipse(QPointF(cx + 42, 53.5), 7, 7);
        guard.setFillRule(Qt::WindingFill);
        p.setPen(QPen(kOutline, 1.4));
        p.setBrush(goldGradient(46, 61));
        p.drawPath(guard.simplified());
        // Grip wound with cord.
        QLinearGradient grip(cx - 6, 0, cx + 6, 0);
        grip.setColorAt(0.0, QColor(120, 40, 30));
        grip.setColorAt(0.5, QColor(80, 20, 16));
        grip.setColorAt(1.0, QColor(40, 8, 6));
        p.setBrush(grip);
        p.drawRoundedRect(QRectF(cx - 6, 18, 12, 31), 3, 3);
        p.setPen(QPen(QColor(210, 160, 70), 1.2));
        for (qreal y = 22; y < 48; y += 4)
            p.drawLine(QPointF(cx - 6, y), QPointF(cx + 6, y + 2));
        // Pommel with a jewel.
        p.setPen(QPen(kOutline, 1.4));
        p.setBrush(goldGradient(4, 22));
        p.drawEllipse(QPointF(cx, 13), 10, 10);
        QRadialGradient jewel(QPointF(cx - 2, 11), 6);
        jewel.setColorAt(0.0, QColor(220, 255, 255));
        jewel.setColorAt(1.0, QColor(10, 120, 140));
        p.setBrush(jewel);
        p.drawEllipse(QPointF(cx, 13), 4.5, 4.5);
    });
}

// A tall ornamental column: gold-edged ribbon with three stars, beside the
// world top ten scroll.
QImage sideColumn()
{
    const int W = 80, H = 350;
    QImage img = blank(W, H);
    QPainter p(&img);
    prepare(p);
    const QRectF r(14, 4, W - 28, H - 8);
    QPainterPath shape;
    shape.moveTo(r.topLeft());
    shape.lineTo(r.topRight());
    shape.lineTo(r.right(), r.bottom());
    shape.lineTo(r.center().x(), r.bottom() - 26);
    shape.lineTo(r.left(), r.bottom());
    shape.closeSubpath();
    dropShadow(p, img.size(), shape, QPointF(2, 3), 3, 130);
    QLinearGradient g(r.topLeft(), r.topRight());
    g.setColorAt(0.0, QColor(30, 120, 140));
    g.setColorAt(0.5, QColor(14, 60, 96));
    g.setColorAt(1.0, QColor(6, 26, 56));
    p.setPen(QPen(kGold, 3));
    p.setBrush(g);
    p.drawPath(shape);
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
    for (int i = 0; i < 3; ++i) {
        const QPointF c(r.center().x(), 60 + i * 95);
        glow(p, c, 26, QColor(120, 230, 240, 70));
        p.setPen(QPen(kOutline, 1.2));
        p.setBrush(goldGradient(c.y() - 18, c.y() + 18));
        p.drawPath(starPath(c, 19, 8));
    }
    return img;
}

// A wooden roller with gold caps, along the given axis.
void roller(QPainter& p, const QRectF& r, bool vertical)
{
    QLinearGradient wood =
        vertical ? QLinearGradient(r.left(), 0, r.right(), 0) : QLinearGradient(0, r.top(), 0, r.bottom());
    wood.setColorAt(0.0, QColor(120, 60, 20));
    wood.setColorAt(0.3, QColor(210, 150, 90));
    wood.setColorAt(0.6, QColor(140, 74, 26));
    wood.setColorAt(1.0, QColor(60, 26, 6));
    const qreal thick = vertical ? r.width() : r.height();
    const qreal capLen = thick * 0.45;
    p.setPen(QPen(QColor(50, 24, 4), 1.2));
    p.setBrush(wood);
    p.drawRoundedRect(vertical ? r.adjusted(0, capLen * 0.6, 0, -capLen * 0.6)
                               : r.adjusted(capLen * 0.6, 0, -capLen * 0.6, 0),
                      thick * 0.3, thick * 0.3);
    // Gold knobs at the two ends.
    QLinearGradient gold =
        vertical ? QLinearGradient(r.left(), 0, r.right(), 0) : QLinearGradient(0, r.top(), 0, r.bottom());
    gold.setColorAt(0.0, QColor(140, 90, 16));
    gold.setColorAt(0.3, QColor(255, 240, 170));
    gold.setColorAt(0.6, QColor(220, 160, 50));
    gold.setColorAt(1.0, QColor(110, 66, 10));
    p.setPen(QPen(kOutline, 1.2));
    p.setBrush(gold);
    const QRectF knobA = vertical ? QRectF(r.left() - thick * 0.08, r.top(), thick * 1.16, capLen)
                                  : QRectF(r.left(), r.top() - thick * 0.08, capLen, thick * 1.16);
    const QRectF knobB = vertical ? knobA.translated(0, r.height() - capLen) : knobA.translated(r.width() - capLen, 0);
    p.drawRoundedRect(knobA, thick * 0.25, thick * 0.25);
    p.drawRoundedRect(knobB, thick * 0.25, thick * 0.25);
}

// A parchment scroll. Rollers at the left and right (wide scroll, lists
// written across) or at the top and bottom (tall scroll).
QImage scroll(int W, int H, bool rollersAtSides, std::uint32_t seed)
{
    QImage img = blank(W, H);
    const qreal t = rollersAtSides ? W * 0.075 : H * 0.075; // roller thickness
    QPainterPath sheet;
    if (rollersAtSides) {
        const QRectF s(t * 0.6, H * 0.06, W - 1.2 * t, H * 0.88);
        sheet.moveTo(s.topLeft());
        // Gently wavy upper and lower edges.
        sheet.cubicTo(s.left() + s.width() * 0.3, s.top() - 6, s.left() + s.width() * 0.7, s.top() + 8, s.right(),
                      s.top());
        sheet.lineTo(s.bottomRight());
        sheet.cubicTo(s.left() + s.width() * 0.7, s.bottom() + 6, s.left() + s.width() * 0.3, s.bottom() - 8, s.left(),
                      s.bottom());
        sheet.closeSubpath();
    } else {
        const QRectF s(W * 0.06, t * 0.6, W * 0.88, H - 1.2 * t);
        sheet.moveTo(s.topLeft());
        sheet.lineTo(s.topRight());
        sheet.cubicTo(s.right() + 5, s.top() + s.height() * 0.3, s.right() - 6, s.top() + s.height() * 0.7, s.right(),
                      s.bottom());
        sheet.lineTo(s.bottomLeft());
        sheet.cubicTo(s.left() - 5, s.top() + s.height() * 0.7, s.left() + 6, s.top() + s.height() * 0.3, s.left(),
                      s.top());
        sheet.closeSubpath();
    }
    {
        QPainter p(&img);
        prepare(p);
        dropShadow(p, img.size(), sheet, QPointF(3, 4), 4, 120);
    }
    parchment(img, sheet, seed);
    QPainter p(&img);
    prepare(p);
    if (rollersAtSides) {
        roller(p, QRectF(2, 2, t, H - 4), true);
        roller(p, QRectF(W - t - 2, 2, t, H - 4), true);
    } else {
        roller(p, QRectF(2, 2, W - 4, t), false);
        roller(p, QRectF(2, H - t - 2, W - 4, t), false);
    }
    return img;
}

// The photo frame of the member card: a 200 x 250 opening at (20, 20) left
// clear, so the photo under it shows.
QImage photoFrame()
{
    const int W = 240, H = 290;
    QImage img = blank(W, H);
    QPainter p(&img);
    prepare(p);
    const QRectF outer(1, 1, W - 2, H - 2);
    const QRectF opening(20, 20, 200, 250);
    QPainterPath ring;
    ring.addRoundedRect(outer, 14, 14);
    QPainterPath hole;
    hole.addRect(opening);
    dropShadow(p, img.size(), ring.subtracted(hole), QPointF(1.5, 2), 2, 120);
    goldBand(p, outer, 14, 19);
    // Inner shadow cast on the photo from the top-left edge.
    p.save();
    p.setClipRect(opening);
    p.setPen(QPen(QColor(0, 0, 0, 90), 6));
    p.setBrush(Qt::NoBrush);
    p.drawRect(opening.translated(-2, -2));
    p.restore();
    // Corner ornaments.
    for (QPointF c : {outer.topLeft() + QPointF(10, 10), outer.topRight() + QPointF(-10, 10),
                      outer.bottomLeft() + QPointF(10, -10), outer.bottomRight() + QPointF(-10, -10)}) {
        p.setPen(QPen(kOutline, 1));
        p.setBrush(goldGradient(c.y() - 7, c.y() + 7));
        p.drawPath(starPath(c, 7.5, 3.2));
    }
    // Clear the opening exactly: the photo must show unchanged.
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.fillRect(opening, Qt::transparent);
    return img;
}

QImage photoPlaceholder(bool female)
{
    const int W = 200, H = 250;
    QImage img(W, H, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    prepare(p);
    QLinearGradient bg(0, 0, W * 0.4, H);
    bg.setColorAt(0.0, female ? QColor(70, 150, 170) : QColor(60, 130, 170));
    bg.setColorAt(1.0, QColor(10, 36, 70));
    p.fillRect(img.rect(), bg);
    glow(p, QPointF(W * 0.3, H * 0.2), W * 0.8, QColor(200, 240, 255, 50));
    figure(p, QRectF(10, 26, W - 20, H - 26), female, female ? QColor(250, 214, 226) : QColor(214, 232, 250),
           female ? QColor(150, 70, 110) : QColor(50, 90, 150));
    p.end();
    dither(img, 1.0, female ? 41 : 42);
    return img;
}

// The frame around the club account state line (with the star animation).
QImage stateFrame()
{
    const int W = 330, H = 55;
    QImage img = blank(W, H);
    QPainter p(&img);
    prepare(p);
    const QRectF r(2, 2, W - 5, H - 5);
    glassPlate(p, r, 14, 200);
    goldBand(p, r, 14, 4);
    return img;
}

// Under a downloaded advertisement picture: a neutral tile.
QImage advertBlank()
{
    const int S = 50;
    return supersampled(S, S, 2, [&](QPainter& p) {
        const QRectF r(1, 1, S - 2, S - 2);
        QLinearGradient g(r.topLeft(), r.bottomRight());
        g.setColorAt(0.0, QColor(250, 244, 224));
        g.setColorAt(1.0, QColor(214, 196, 150));
        p.setPen(QPen(QColor(150, 110, 40), 1.5));
        p.setBrush(g);
        p.drawRoundedRect(r, 8, 8);
    });
}

QImage freeBlank()
{
    // Fully transparent white: the resampler's neutral starting picture.
    QImage img(10, 10, QImage::Format_ARGB32);
    img.fill(qRgba(255, 255, 255, 0));
    return img;
}

} // namespace

void drawPanels(Sink& sink)
{
    struct Size {
        const char* name;
        int w, h;
    };
    for (const Size& s :
         {Size{"G_Panel3", 360, 400}, Size{"G_Panel4", 480, 255}, Size{"G_Panel5", 440, 85}, Size{"G_Panel6", 200, 110},
          Size{"G_Panel7", 350, 100}, Size{"G_Panel8", 310, 350}, Size{"G_Panel9", 310, 190}})
        sink.png(s.name, panel(s.w, s.h));
    sink.png("G_PanR", medallion());
    sink.png("Portret", portrait());
    sink.png("GMech", sword());
    sink.png("GSideWT", sideColumn());
    sink.png("RamkaAc", stateFrame());
    sink.png("SvitokSM", scroll(663, 488, true, 51));
    sink.png("SvitokWT", scroll(315, 400, false, 52));
    sink.png("GAcFrame", photoFrame());
    sink.png("GAcNoM", photoPlaceholder(false));
    sink.png("GAcNoF", photoPlaceholder(true));
    sink.png("BGAdv", advertBlank());
    sink.png("GFree", freeBlank());
}

} // namespace art
