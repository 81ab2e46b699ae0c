// Icons: window corner icons, lamps, small state icons, currency, member card
// field icons and the small button pictures. Every symbol is drawn in a
// 48-unit design square and scaled to its icon's size.

#include "art.h"

#include <QRadialGradient>

#include <cmath>

namespace art {

namespace {

using Symbol = std::function<void(QPainter&)>;

QImage icon(int size, const Symbol& draw)
{
    return supersampled(size, size, 4, [&](QPainter& p) {
        p.scale(size / 48.0, size / 48.0);
        draw(p);
    });
}

// The round glossy badge most icons sit on: coloured disc, gold ring.
void badge(QPainter& p, QColor light, QColor dark, qreal ring = 2.6)
{
    const QPointF c(24, 24);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 100));
    p.drawEllipse(c + QPointF(0.8, 1.2), 22.5, 22.5);
    QRadialGradient g(c - QPointF(7, 9), 30);
    g.setColorAt(0.0, light);
    g.setColorAt(1.0, dark);
    p.setBrush(g);
    p.drawEllipse(c, 22, 22);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kOutline, ring + 1.4));
    p.drawEllipse(c, 22 - ring / 2, 22 - ring / 2);
    p.setPen(QPen(QBrush(goldGradient(2, 46)), ring));
    p.drawEllipse(c, 22 - ring / 2, 22 - ring / 2);
}

// Glassy highlight over the upper half of a badge, drawn after the symbol.
void gloss(QPainter& p)
{
    QLinearGradient g(0, 4, 0, 24);
    g.setColorAt(0.0, QColor(255, 255, 255, 110));
    g.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(QRectF(9, 4.5, 30, 18));
}

// Symbol strokes and fills in white with a soft dark edge, to read on any badge.
QPen symbolPen(qreal w, QColor c = Qt::white) { return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

void fillSymbol(QPainter& p, const QPainterPath& path, QBrush brush = QColor(255, 255, 255))
{
    p.setPen(QPen(QColor(0, 0, 0, 110), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path.translated(0.6, 0.9));
    p.setPen(Qt::NoPen);
    p.setBrush(brush);
    p.drawPath(path);
}

void letterSymbol(QPainter& p, const QString& text, qreal px, QColor colour = Qt::white)
{
    const QPainterPath path = fittedText(text, displayFont(px), QRectF(8, 8, 32, 32));
    fillSymbol(p, path, colour);
}

QPainterPath person(QPointF at, qreal s)
{
    QPainterPath path;
    path.addEllipse(at + QPointF(0, -7 * s), 6 * s, 6.5 * s);
    QPainterPath body;
    body.moveTo(at + QPointF(-12 * s, 14 * s));
    body.cubicTo(at + QPointF(-12 * s, 2 * s), at + QPointF(-6 * s, 0), at + QPointF(0, 0));
    body.cubicTo(at + QPointF(6 * s, 0), at + QPointF(12 * s, 2 * s), at + QPointF(12 * s, 14 * s));
    body.closeSubpath();
    return path.united(body);
}

QPainterPath gear()
{
    QPainterPath g;
    const QPointF c(24, 24);
    const int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i) {
        const qreal a0 = (i * 180.0 / teeth - 180.0 / teeth / 2 + 4) * M_PI / 180;
        const qreal a1 = ((i + 1) * 180.0 / teeth - 180.0 / teeth / 2 - 4) * M_PI / 180;
        const qreal r = i % 2 == 0 ? 15.5 : 11.5;
        const QPointF p0(c.x() + r * std::cos(a0), c.y() + r * std::sin(a0));
        const QPointF p1(c.x() + r * std::cos(a1), c.y() + r * std::sin(a1));
        if (i == 0)
            g.moveTo(p0);
        else
            g.lineTo(p0);
        g.lineTo(p1);
    }
    g.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(c, 5, 5);
    return g.subtracted(hole);
}

QPainterPath wavingFlag(QRectF r)
{
    QPainterPath f;
    f.moveTo(r.topLeft());
    f.cubicTo(r.left() + r.width() * 0.35, r.top() - 4, r.left() + r.width() * 0.65, r.top() + 4, r.right(), r.top());
    f.lineTo(r.bottomRight());
    f.cubicTo(r.left() + r.width() * 0.65, r.bottom() + 4, r.left() + r.width() * 0.35, r.bottom() - 4, r.left(),
              r.bottom());
    f.closeSubpath();
    return f;
}

void flagIcon(QPainter& p, bool finish)
{
    badge(p, QColor(80, 180, 190), QColor(8, 40, 70));
    p.setPen(symbolPen(2.4, QColor(240, 220, 170)));
    p.drawLine(QPointF(14, 10), QPointF(14, 39));
    const QRectF r(15, 11, 20, 14);
    const QPainterPath f = wavingFlag(r);
    if (!finish) {
        fillSymbol(p, f, QColor(60, 210, 90));
    } else {
        fillSymbol(p, f, Qt::white);
        p.save();
        p.setClipPath(f);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(20, 20, 30));
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 5; ++x)
                if ((x + y) % 2)
                    p.drawRect(QRectF(r.left() + x * 4, r.top() - 2 + y * 4.5, 4, 4.5));
        p.restore();
    }
    gloss(p);
}

void trophy(QPainter& p)
{
    badge(p, QColor(60, 120, 190), QColor(8, 24, 60));
    QPainterPath cup;
    cup.moveTo(15, 11);
    cup.lineTo(33, 11);
    cup.cubicTo(33, 24, 28, 28, 24, 28);
    cup.cubicTo(20, 28, 15, 24, 15, 11);
    cup.closeSubpath();
    cup.addRect(QRectF(22, 27, 4, 6));
    cup.addRoundedRect(QRectF(17, 33, 14, 4), 1.5, 1.5);
    cup.setFillRule(Qt::WindingFill);
    fillSymbol(p, cup.simplified(), goldGradient(11, 37));
    p.setPen(symbolPen(2.2, QColor(240, 190, 70)));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(10, 13, 8, 9), 90 * 16, 180 * 16);
    p.drawArc(QRectF(30, 13, 8, 9), -90 * 16, 180 * 16);
    letterSymbol(p, "1", 12, QColor(120, 70, 10));
    gloss(p);
}

void globe(QPainter& p)
{
    badge(p, QColor(90, 180, 240), QColor(10, 40, 110));
    const QPointF c(24, 24);
    QPainterPath sphere;
    sphere.addEllipse(c, 16, 16);
    p.save();
    p.setClipPath(sphere);
    // Continents: a few fixed blobs.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 200, 90));
    QPainterPath land;
    land.moveTo(12, 15);
    land.cubicTo(18, 9, 26, 11, 24, 17);
    land.cubicTo(22, 22, 16, 20, 17, 27);
    land.cubicTo(12, 26, 9, 20, 12, 15);
    land.moveTo(28, 22);
    land.cubicTo(34, 19, 40, 24, 36, 30);
    land.cubicTo(33, 36, 29, 40, 27, 34);
    land.cubicTo(26, 30, 24, 26, 28, 22);
    p.drawPath(land);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 120), 0.9));
    p.drawEllipse(c, 7, 16);
    p.drawLine(QPointF(8, 24), QPointF(40, 24));
    p.drawLine(QPointF(24, 8), QPointF(24, 40));
    p.drawEllipse(QRectF(8, 16, 32, 16));
    p.restore();
    p.setPen(QPen(QColor(255, 255, 255, 150), 1));
    p.drawEllipse(c, 16, 16);
    gloss(p);
}

void chat(QPainter& p)
{
    badge(p, QColor(90, 200, 170), QColor(8, 60, 60));
    QPainterPath back;
    back.addRoundedRect(QRectF(20, 12, 19, 14), 5, 5);
    back.moveTo(33, 25);
    back.lineTo(36, 31);
    back.lineTo(28, 25);
    fillSymbol(p, back.simplified(), QColor(255, 226, 130));
    QPainterPath front;
    front.addRoundedRect(QRectF(9, 18, 21, 15), 5, 5);
    front.moveTo(13, 32);
    front.lineTo(11, 38);
    front.lineTo(19, 32);
    fillSymbol(p, front.simplified(), Qt::white);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 90, 90));
    for (int i = 0; i < 3; ++i)
        p.drawEllipse(QPointF(14 + i * 5.5, 25.5), 1.5, 1.5);
    gloss(p);
}

// The game's own icon: a small letter tile.
void appIcon(QPainter& p)
{
    const QRectF r(5, 2, 38, 44);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawRoundedRect(r.translated(1, 1.5), 7, 7);
    QLinearGradient face(r.topLeft(), r.bottomRight());
    face.setColorAt(0.0, QColor(255, 252, 236));
    face.setColorAt(1.0, QColor(232, 210, 160));
    p.setBrush(face);
    p.drawRoundedRect(r, 7, 7);
    goldBand(p, r, 7, 3);
    const QPainterPath letter = fittedText(QString::fromUtf8("В"), displayFont(34), r.adjusted(4, 4, -4, -4));
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kInk);
    p.drawPath(letter);
    p.setPen(Qt::NoPen);
    p.setBrush(goldGradient(0, 12));
    p.drawPath(starPath(QPointF(36, 9), 6, 2.6));
}

void gamepad(QPainter& p)
{
    badge(p, QColor(250, 150, 80), QColor(130, 30, 10));
    QPainterPath pad;
    pad.addRoundedRect(QRectF(9, 17, 30, 15), 7, 7);
    pad.addEllipse(QRectF(8, 22, 11, 14));
    pad.addEllipse(QRectF(29, 22, 11, 14));
    pad.setFillRule(Qt::WindingFill);
    fillSymbol(p, pad.simplified(), Qt::white);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 60, 80));
    p.drawRect(QRectF(13, 22.5, 7, 2.2));
    p.drawRect(QRectF(15.4, 20, 2.2, 7));
    p.setBrush(QColor(230, 50, 50));
    p.drawEllipse(QPointF(32, 22), 1.9, 1.9);
    p.setBrush(QColor(40, 150, 230));
    p.drawEllipse(QPointF(35.5, 25.5), 1.9, 1.9);
    gloss(p);
}

void robot(QPainter& p)
{
    badge(p, QColor(150, 230, 120), QColor(20, 90, 30));
    QPainterPath head;
    head.moveTo(12, 27);
    head.arcTo(QRectF(12, 14, 24, 26), 180, -180);
    head.closeSubpath();
    head.addRoundedRect(QRectF(12, 28.5, 24, 11), 3, 3);
    fillSymbol(p, head, Qt::white);
    p.setPen(symbolPen(1.8));
    p.drawLine(QPointF(17, 16.5), QPointF(14.5, 12));
    p.drawLine(QPointF(31, 16.5), QPointF(33.5, 12));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 110, 40));
    p.drawEllipse(QPointF(19, 22), 1.8, 1.8);
    p.drawEllipse(QPointF(29, 22), 1.8, 1.8);
    gloss(p);
}

void desktop(QPainter& p)
{
    badge(p, QColor(90, 170, 250), QColor(10, 40, 120));
    QPainterPath frame;
    frame.addRoundedRect(QRectF(10, 12, 28, 20), 2.5, 2.5);
    frame.addRect(QRectF(21, 31, 6, 5));
    frame.addRoundedRect(QRectF(15, 35, 18, 3), 1.2, 1.2);
    frame.setFillRule(Qt::WindingFill);
    fillSymbol(p, frame.simplified(), Qt::white);
    const QColor panes[4] = {QColor(240, 90, 40), QColor(120, 200, 40), QColor(20, 160, 240), QColor(250, 190, 20)};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        p.setBrush(panes[i]);
        p.drawRect(QRectF(18 + (i % 2) * 6.2, 15 + (i / 2) * 7, 5.6, 6.4));
    }
    gloss(p);
}

void storeBag(QPainter& p)
{
    badge(p, QColor(80, 150, 255), QColor(20, 40, 140));
    QPainterPath bag;
    bag.addRoundedRect(QRectF(12, 18, 24, 20), 3, 3);
    fillSymbol(p, bag, Qt::white);
    p.setPen(symbolPen(2.2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(18, 11, 12, 14), 0, 180 * 16);
    const QPainterPath r = fittedText("R", displayFont(16), QRectF(12, 20, 24, 17));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 70, 180));
    p.drawPath(r);
    gloss(p);
}

void barChart(QPainter& p)
{
    badge(p, QColor(110, 200, 220), QColor(10, 50, 90));
    const QColor bars[3] = {QColor(255, 210, 80), QColor(120, 230, 120), QColor(255, 120, 100)};
    const qreal heights[3] = {12, 22, 16};
    for (int i = 0; i < 3; ++i) {
        QPainterPath b;
        b.addRoundedRect(QRectF(13 + i * 8, 35 - heights[i], 6, heights[i]), 1.2, 1.2);
        fillSymbol(p, b, bars[i]);
    }
    p.setPen(symbolPen(1.8));
    p.drawLine(QPointF(11, 36), QPointF(37, 36));
    gloss(p);
}

void pieChart(QPainter& p)
{
    badge(p, QColor(110, 200, 220), QColor(10, 50, 90));
    const QRectF r(11, 11, 26, 26);
    QPainterPath whole;
    whole.addEllipse(r);
    fillSymbol(p, whole, Qt::white);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 100, 80));
    p.drawPie(r, 90 * 16, 120 * 16);
    p.setBrush(QColor(255, 200, 70));
    p.drawPie(r, 210 * 16, 90 * 16);
    p.setBrush(QColor(90, 200, 110));
    p.drawPie(r.translated(1.5, -1.5), -60 * 16, 70 * 16);
    gloss(p);
}

void help(QPainter& p)
{
    badge(p, QColor(90, 150, 250), QColor(10, 30, 110));
    letterSymbol(p, "?", 34);
    gloss(p);
}

void attention(QPainter& p)
{
    badge(p, QColor(250, 120, 90), QColor(130, 10, 10));
    QPainterPath tri;
    tri.moveTo(24, 9);
    tri.lineTo(39, 36);
    tri.lineTo(9, 36);
    tri.closeSubpath();
    p.setPen(QPen(QColor(255, 230, 120), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(255, 220, 70));
    p.drawPath(tri);
    p.setPen(symbolPen(3.4, QColor(40, 20, 10)));
    p.drawLine(QPointF(24, 18), QPointF(24, 27));
    p.drawPoint(QPointF(24, 32));
    gloss(p);
}

void lamp(QPainter& p, QColor light, QColor mid, QColor dark)
{
    const QPointF c(24, 24);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawEllipse(c + QPointF(1, 1.5), 20, 20);
    p.setBrush(QBrush(goldGradient(3, 45)));
    p.drawEllipse(c, 20, 20);
    QRadialGradient g(c - QPointF(5, 6), 20);
    g.setColorAt(0.0, light);
    g.setColorAt(0.5, mid);
    g.setColorAt(1.0, dark);
    p.setBrush(g);
    p.drawEllipse(c, 16, 16);
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawEllipse(QRectF(15, 12, 12, 8));
}

void yesNo(QPainter& p, bool yes)
{
    if (yes)
        badge(p, QColor(120, 230, 110), QColor(10, 100, 30), 3);
    else
        badge(p, QColor(255, 120, 100), QColor(140, 10, 10), 3);
    p.setPen(QPen(QColor(0, 0, 0, 90), 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath mark;
    if (yes) {
        mark.moveTo(14, 25);
        mark.lineTo(21, 32);
        mark.lineTo(35, 16);
    } else {
        mark.moveTo(16, 16);
        mark.lineTo(32, 32);
        mark.moveTo(32, 16);
        mark.lineTo(16, 32);
    }
    p.drawPath(mark.translated(0.8, 1));
    p.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(mark);
    gloss(p);
}

void face(QPainter& p, bool female)
{
    const QColor skin(255, 224, 190);
    const QColor hair = female ? QColor(200, 90, 40) : QColor(90, 60, 30);
    const QColor ring = female ? QColor(230, 80, 150) : QColor(40, 110, 220);
    p.setPen(Qt::NoPen);
    p.setBrush(ring);
    p.drawEllipse(QPointF(24, 24), 23, 23);
    if (female) {
        p.setBrush(hair);
        p.drawEllipse(QRectF(8, 8, 32, 36));
    }
    p.setBrush(skin);
    p.drawEllipse(QRectF(12, 12, 24, 28));
    p.setBrush(hair);
    QPainterPath top;
    top.moveTo(11, 24);
    top.cubicTo(10, 8, 38, 8, 37, 24);
    top.cubicTo(32, 15, 18, 15, 11, 24);
    p.drawPath(top);
    p.setBrush(QColor(40, 30, 30));
    p.drawEllipse(QPointF(19.5, 26), 2.4, 2.8);
    p.drawEllipse(QPointF(28.5, 26), 2.4, 2.8);
    p.setPen(QPen(QColor(180, 40, 40), 2.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(18, 27, 12, 8), 200 * 16, 140 * 16);
}

void coin(QPainter& p, QPointF c, qreal r)
{
    p.setPen(QPen(kOutline, r * 0.05));
    QRadialGradient g(c - QPointF(r * 0.35, r * 0.4), r * 1.3);
    g.setColorAt(0.0, QColor(255, 248, 200));
    g.setColorAt(0.5, QColor(236, 184, 64));
    g.setColorAt(1.0, QColor(130, 80, 12));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(150, 96, 20), r * 0.06));
    p.drawEllipse(c, r * 0.8, r * 0.8);
    const QPainterPath t = fittedText("T", displayFont(r * 1.2), QRectF(c.x() - r, c.y() - r * 0.8, 2 * r, 1.6 * r));
    p.setPen(QPen(QColor(110, 66, 10), r * 0.05));
    p.setBrush(goldGradient(c.y() - r * 0.6, c.y() + r * 0.6));
    p.drawPath(t);
}

void coinStack(QPainter& p)
{
    for (int i = 0; i < 6; ++i) {
        const qreal y = 40 - i * 3.6;
        QLinearGradient side(8, 0, 30, 0);
        side.setColorAt(0.0, QColor(150, 96, 20));
        side.setColorAt(0.5, QColor(250, 210, 110));
        side.setColorAt(1.0, QColor(130, 80, 12));
        p.setPen(QPen(kOutline, 0.5));
        p.setBrush(side);
        p.drawRoundedRect(QRectF(6, y, 22, 4.2), 2, 2);
    }
    p.setBrush(goldGradient(18, 24));
    p.drawEllipse(QRectF(6, 18.5, 22, 4));
    coin(p, QPointF(30, 28), 14);
}

// Member card field icons: small badges with their own colours.
struct FieldIcon {
    const char* name;
    QColor light, dark;
    std::function<void(QPainter&)> symbol;
};

void envelope(QPainter& p)
{
    QPainterPath e;
    e.addRoundedRect(QRectF(10, 14, 28, 20), 2.5, 2.5);
    fillSymbol(p, e, Qt::white);
    p.setPen(symbolPen(2, QColor(150, 100, 30)));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(11, 15.5), QPointF(24, 26), QPointF(37, 15.5)}));
}

void handset(QPainter& p)
{
    QPainterPath h;
    h.moveTo(14, 11);
    h.cubicTo(10, 14, 10, 22, 18, 30);
    h.cubicTo(26, 38, 34, 38, 37, 34);
    h.lineTo(32, 28);
    h.lineTo(28, 31);
    h.cubicTo(24, 29, 19, 24, 17, 20);
    h.lineTo(20, 16);
    h.closeSubpath();
    fillSymbol(p, h, Qt::white);
}

void paperPlane(QPainter& p)
{
    QPainterPath a;
    a.moveTo(9, 23);
    a.lineTo(38, 12);
    a.lineTo(32, 37);
    a.lineTo(24, 30);
    a.lineTo(20, 36);
    a.lineTo(19, 28);
    a.closeSubpath();
    fillSymbol(p, a, Qt::white);
    p.setPen(symbolPen(1.2, QColor(40, 140, 200)));
    p.drawLine(QPointF(19, 28), QPointF(38, 12));
}

void camera(QPainter& p)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(symbolPen(3));
    p.drawRoundedRect(QRectF(12, 12, 24, 24), 7, 7);
    p.drawEllipse(QPointF(24, 24), 5.5, 5.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(31, 17), 1.6, 1.6);
}

void playButton(QPainter& p)
{
    QPainterPath r;
    r.addRoundedRect(QRectF(9, 14, 30, 20), 6, 6);
    fillSymbol(p, r, Qt::white);
    QPainterPath t;
    t.moveTo(21, 18.5);
    t.lineTo(30, 24);
    t.lineTo(21, 29.5);
    t.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 30, 30));
    p.drawPath(t);
}

void bird(QPainter& p)
{
    QPainterPath b;
    b.moveTo(10, 30);
    b.cubicTo(16, 31, 20, 29, 22, 27);
    b.cubicTo(15, 27, 13, 22, 13, 21);
    b.cubicTo(15, 22, 17, 22, 18, 21.5);
    b.cubicTo(13, 19, 12, 14, 13, 12);
    b.cubicTo(17, 17, 22, 19, 26, 19);
    b.cubicTo(25, 13, 31, 10, 35, 13);
    b.lineTo(39, 12);
    b.lineTo(37, 15.5);
    b.lineTo(40, 15);
    b.lineTo(37, 17.5);
    b.cubicTo(37, 29, 26, 38, 10, 30);
    b.closeSubpath();
    fillSymbol(p, b, Qt::white);
}

QImage arrowPicture(int w, int h, bool circular, bool twin)
{
    return supersampled(w, h, 4, [&](QPainter& p) {
        p.scale(w / 48.0, w / 48.0);
        if (!circular) {
            // The chat's send arrow, pointing right.
            QPainterPath a;
            const qreal hh = 48.0 * h / w;
            a.moveTo(4, hh / 2 - 6);
            a.lineTo(26, hh / 2 - 6);
            a.lineTo(26, hh / 2 - 14);
            a.lineTo(45, hh / 2);
            a.lineTo(26, hh / 2 + 14);
            a.lineTo(26, hh / 2 + 6);
            a.lineTo(4, hh / 2 + 6);
            a.closeSubpath();
            p.setPen(QPen(kOutline, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(goldGradient(hh / 2 - 14, hh / 2 + 14));
            p.drawPath(a);
            return;
        }
        auto arcArrow = [&](qreal startDeg, QColor colour) {
            const QPointF c(24, 24);
            const qreal r = 15;
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(kOutline, 8.5, Qt::SolidLine, Qt::FlatCap));
            const qreal span = twin ? 130 : 290;
            p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), int(startDeg * 16), int(span * 16));
            p.setPen(QPen(colour, 5.5, Qt::SolidLine, Qt::FlatCap));
            p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), int(startDeg * 16), int(span * 16));
            // Arrow head at the end of the arc (counter-clockwise in Qt's angles).
            const qreal e = (startDeg + span) * M_PI / 180;
            const QPointF tip(c.x() + r * std::cos(e), c.y() - r * std::sin(e));
            const QPointF dir(-std::sin(e), -std::cos(e)); // tangent, direction of travel
            const QPointF nrm(std::cos(e), -std::sin(e));
            QPainterPath head;
            head.moveTo(tip + dir * 8);
            head.lineTo(tip + nrm * 8);
            head.lineTo(tip - nrm * 8);
            head.closeSubpath();
            p.setPen(QPen(kOutline, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(colour);
            p.drawPath(head);
        };
        if (twin) {
            arcArrow(20, QColor(90, 220, 120));
            arcArrow(200, QColor(90, 220, 120));
        } else {
            arcArrow(60, QColor(90, 200, 250));
        }
    });
}

// Menu pictures (24 x 24): objects drawn without a badge carry a one-pixel
// dark outline and the same drop shadow as the lamps, so they read on any
// menu colour and sit with the badge-shaped help and about pictures. Edges lie
// on odd design units, the centres of the final pixels, to stay sharp.
void outlined(QPainter& p, const QPainterPath& path, const QBrush& fill, qreal outline = 2)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawPath(path.translated(1, 1.5));
    p.setPen(QPen(kOutline, outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(path);
}

// A gold arrow pointing right, its shaft from x0 and its tip at x1.
QPainterPath arrowRight(qreal x0, qreal x1, qreal y, qreal shaft, qreal head, qreal headLength)
{
    QPainterPath a;
    a.moveTo(x0, y - shaft / 2);
    a.lineTo(x1 - headLength, y - shaft / 2);
    a.lineTo(x1 - headLength, y - head / 2);
    a.lineTo(x1, y);
    a.lineTo(x1 - headLength, y + head / 2);
    a.lineTo(x1 - headLength, y + shaft / 2);
    a.lineTo(x0, y + shaft / 2);
    a.closeSubpath();
    return a;
}

// General score: a framed board with the sum sign.
void scoreBoard(QPainter& p)
{
    const QRectF board(3, 7, 42, 36);
    QPainterPath plate;
    plate.addRoundedRect(board, 5, 5);
    outlined(p, plate, Qt::NoBrush);
    glassPlate(p, board, 5, 255);
    goldBand(p, board.adjusted(1, 1, -1, -1), 4, 3.5);
    const QPolygonF sigma({QPointF(33, 17), QPointF(33, 13), QPointF(15, 13), QPointF(25, 24.5), QPointF(15, 36),
                           QPointF(33, 36), QPointF(33, 32)});
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kOutline, 7, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawPolyline(sigma);
    p.setPen(QPen(QBrush(goldGradient(12, 37)), 4, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawPolyline(sigma);
}

// Exit to the menu: an open door with an arrow leaving through it.
void exitDoor(QPainter& p)
{
    QPainterPath frame;
    frame.addRect(QRectF(5, 5, 26, 40));
    outlined(p, frame, goldGradient(5, 45));
    QLinearGradient dark(0, 9, 0, 45);
    dark.setColorAt(0.0, kNavyDeep);
    dark.setColorAt(1.0, kNavy);
    p.setPen(QPen(kOutline, 2));
    p.setBrush(dark);
    p.drawRect(QRectF(9, 9, 18, 36));
    // The leaf, swung open towards the viewer on its left hinge.
    QPainterPath leaf;
    leaf.moveTo(9, 9);
    leaf.lineTo(21, 13);
    leaf.lineTo(21, 47);
    leaf.lineTo(9, 45);
    leaf.closeSubpath();
    QLinearGradient wood(9, 0, 21, 0);
    wood.setColorAt(0.0, kTealLight);
    wood.setColorAt(1.0, kTeal);
    outlined(p, leaf, wood);
    p.setPen(Qt::NoPen);
    p.setBrush(goldGradient(27, 32));
    p.drawEllipse(QPointF(18, 30), 1.8, 2.2);
    outlined(p, arrowRight(23, 46, 25, 8, 18, 10), goldGradient(16, 34));
}

// Change name: a pencil writing on a name tag.
void nameTag(QPainter& p)
{
    const QRectF card(3, 13, 38, 30);
    QPainterPath tag;
    tag.addRoundedRect(card, 4, 4);
    QLinearGradient paper(card.topLeft(), card.bottomRight());
    paper.setColorAt(0.0, QColor(255, 250, 230));
    paper.setColorAt(1.0, kParchmentDark);
    outlined(p, tag, paper);
    // Header stripe of the tag.
    p.save();
    p.setClipPath(tag);
    p.setPen(Qt::NoPen);
    QLinearGradient head(0, 13, 0, 23);
    head.setColorAt(0.0, kTealLight);
    head.setColorAt(1.0, kTeal);
    p.setBrush(head);
    p.drawRect(QRectF(3, 13, 38, 10));
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kOutline, 2));
    p.drawRoundedRect(card, 4, 4);
    p.drawLine(QPointF(4, 23), QPointF(40, 23));
    // The name being written.
    p.setPen(QPen(kInk, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath name;
    name.moveTo(8, 35);
    name.cubicTo(10, 25, 13, 25, 13, 35);
    name.cubicTo(14, 27, 18, 27, 18, 35);
    name.cubicTo(19, 29, 22, 29, 24, 33);
    p.drawPath(name);

    // The pencil, from the upper right down to the end of the name.
    p.save();
    p.translate(23, 32);
    p.rotate(-45);
    QPainterPath body;
    body.addRect(QRectF(7, -4, 20, 8));
    QLinearGradient yellow(0, -4, 0, 4);
    yellow.setColorAt(0.0, QColor(255, 236, 150));
    yellow.setColorAt(0.5, kGold);
    yellow.setColorAt(1.0, QColor(176, 110, 20));
    QPainterPath tip;
    tip.moveTo(7, -4);
    tip.lineTo(0, 0);
    tip.lineTo(7, 4);
    tip.closeSubpath();
    QPainterPath eraser;
    eraser.addRoundedRect(QRectF(27, -4, 5, 8), 1.5, 1.5);
    QPainterPath all = body.united(tip).united(eraser);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawPath(all.translated(1.2, 0.6));
    p.setPen(QPen(kOutline, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(yellow);
    p.drawPath(body);
    p.setBrush(QColor(240, 140, 150));
    p.drawPath(eraser);
    p.setBrush(kParchment);
    p.drawPath(tip);
    p.setPen(Qt::NoPen);
    p.setBrush(kOutline);
    QPainterPath lead;
    lead.moveTo(2.6, -1.5);
    lead.lineTo(0, 0);
    lead.lineTo(2.6, 1.5);
    lead.closeSubpath();
    p.drawPath(lead);
    p.restore();
}

// Help and about on 24-pixel badges. The display face's question mark
// closes up at that size, so both marks are drawn as a heavy stroke and a dot.
void strokeAndDot(QPainter& p, const QPainterPath& stroke, QPointF dotCentre)
{
    badge(p, QColor(90, 150, 250), QColor(10, 30, 110), 3);
    QPainterPath dot;
    dot.addEllipse(dotCentre, 2.9, 2.9);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 110), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(stroke.translated(0.6, 0.9));
    p.drawPath(dot.translated(0.6, 0.9));
    p.setPen(symbolPen(4.6));
    p.drawPath(stroke);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(dot);
    gloss(p);
}

void smallHelp(QPainter& p)
{
    QPainterPath hook;
    hook.moveTo(17, 19);
    hook.arcTo(QRectF(17, 11, 14, 14), 180, -250);
    hook.quadTo(24, 25, 24, 28.5);
    strokeAndDot(p, hook, QPointF(24, 35));
}

void smallAbout(QPainter& p)
{
    QPainterPath stem;
    stem.moveTo(24, 23);
    stem.lineTo(24, 35);
    strokeAndDot(p, stem, QPointF(24, 13.5));
}

// Chat: two speech bubbles, the reply behind in gold.
void bubbles(QPainter& p)
{
    QPainterPath back;
    back.addRoundedRect(QRectF(17, 3, 28, 20), 7, 7);
    back.moveTo(39, 21);
    back.lineTo(39, 29);
    back.lineTo(31, 21);
    outlined(p, back.simplified(), goldGradient(3, 31));
    QPainterPath front;
    front.addRoundedRect(QRectF(3, 15, 30, 22), 7, 7);
    front.moveTo(9, 35);
    front.lineTo(9, 43);
    front.lineTo(17, 35);
    QLinearGradient white(0, 15, 0, 45);
    white.setColorAt(0.0, Qt::white);
    white.setColorAt(1.0, QColor(200, 222, 226));
    outlined(p, front.simplified(), white);
    p.setPen(Qt::NoPen);
    p.setBrush(kTeal);
    for (int i = 0; i < 3; ++i)
        p.drawEllipse(QRectF(8 + i * 8, 24, 4, 4));
}

void menuStar(QPainter& p)
{
    const QPainterPath star = starPath(QPointF(24, 26), 21, 9);
    outlined(p, star, goldGradient(5, 44));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 120));
    p.drawPath(starPath(QPointF(22, 22), 7, 3));
}

} // namespace

void drawIcons(Sink& sink)
{
    // Window corner icons and the menu's icons, 48 x 48.
    sink.png("GPOpt", icon(48, [](QPainter& p) {
                 badge(p, QColor(80, 180, 190), QColor(8, 40, 70));
                 fillSymbol(p, gear(), goldGradient(8, 40));
                 gloss(p);
             }));
    sink.png("GPFlagS", icon(48, [](QPainter& p) { flagIcon(p, false); }));
    sink.png("GPFlagF", icon(48, [](QPainter& p) { flagIcon(p, true); }));
    sink.png("GPTop10", icon(48, trophy));
    sink.png("Account48", icon(48, [](QPainter& p) {
                 badge(p, QColor(80, 180, 190), QColor(8, 40, 70));
                 fillSymbol(p, person(QPointF(24, 26), 1.0), Qt::white);
                 gloss(p);
             }));
    sink.png("Earth48", icon(48, globe));
    sink.png("GChat048", icon(48, chat));
    sink.png("GIcon048", icon(48, appIcon));
    sink.png("AdvR", icon(48, gamepad));
    sink.png("Android", icon(48, robot));
    sink.png("Windows", icon(48, desktop));
    sink.png("GRuStore", icon(48, storeBag));
    // Pictures the windows carry themselves (help and statistics icons of the
    // menu, the statistics and attention windows' icons).
    sink.png("GHelp048", icon(48, help));
    sink.png("GStat048", icon(48, barChart));
    sink.png("GStatWin048", icon(48, pieChart));
    sink.png("GAttention048", icon(48, attention));

    // The main window's popup menu, in the order of its picture list: general
    // score, exit to menu, change name, help, a spare star, about, chat.
    sink.png("GMenu0", icon(24, scoreBoard));
    sink.png("GMenu1", icon(24, exitDoor));
    sink.png("GMenu2", icon(24, nameTag));
    sink.png("GMenu3", icon(24, smallHelp));
    sink.png("GMenu4", icon(24, menuStar));
    sink.png("GMenu5", icon(24, smallAbout));
    sink.png("GMenu6", icon(24, bubbles));

    sink.png("LampG24",
             icon(24, [](QPainter& p) { lamp(p, QColor(220, 255, 200), QColor(60, 220, 60), QColor(10, 90, 20)); }));
    sink.png("LampR24",
             icon(24, [](QPainter& p) { lamp(p, QColor(255, 210, 200), QColor(240, 40, 30), QColor(110, 0, 0)); }));
    sink.png("LampY24",
             icon(24, [](QPainter& p) { lamp(p, QColor(255, 255, 210), QColor(250, 210, 30), QColor(140, 90, 0)); }));
    sink.png("G_Yes", icon(28, [](QPainter& p) { yesNo(p, true); }));
    sink.png("G_No", icon(28, [](QPainter& p) { yesNo(p, false); }));
    sink.png("FaceMan16", icon(16, [](QPainter& p) { face(p, false); }));
    sink.png("FaceWoman16", icon(16, [](QPainter& p) { face(p, true); }));
    sink.png("GTevs128", icon(64, [](QPainter& p) { coin(p, QPointF(24, 24), 22); }));
    sink.png("GTevsT128", icon(128, coinStack));

    const FieldIcon fields[] = {
        {"GAcName1", QColor(80, 180, 190), QColor(8, 40, 70),
         [](QPainter& p) { fillSymbol(p, person(QPointF(24, 25), 0.95)); }},
        {"GAcName2", QColor(80, 180, 190), QColor(8, 40, 70),
         [](QPainter& p) {
             fillSymbol(p, person(QPointF(30, 24), 0.7), QColor(255, 226, 130));
             fillSymbol(p, person(QPointF(20, 27), 0.85));
         }},
        {"GAcAbout", QColor(90, 150, 250), QColor(10, 30, 110), [](QPainter& p) { letterSymbol(p, "i", 34); }},
        {"GAcTelephone", QColor(120, 220, 110), QColor(10, 90, 30), handset},
        {"GAcEMail", QColor(255, 220, 120), QColor(170, 100, 10), envelope},
        {"GAcWebSite", QColor(90, 180, 240), QColor(10, 40, 110),
         [](QPainter& p) {
             p.setPen(symbolPen(2.2));
             p.setBrush(Qt::NoBrush);
             p.drawEllipse(QPointF(24, 24), 13, 13);
             p.drawEllipse(QPointF(24, 24), 6, 13);
             p.drawLine(QPointF(11, 24), QPointF(37, 24));
             p.drawLine(QPointF(24, 11), QPointF(24, 37));
         }},
        {"GAcSkype", QColor(100, 200, 250), QColor(10, 90, 170), [](QPainter& p) { letterSymbol(p, "S", 32); }},
        {"GAcOK", QColor(255, 180, 80), QColor(190, 80, 0), [](QPainter& p) { letterSymbol(p, "ok", 26); }},
        {"GAcVK", QColor(110, 150, 210), QColor(30, 60, 120), [](QPainter& p) { letterSymbol(p, "VK", 22); }},
        {"GAcTelegram", QColor(120, 200, 250), QColor(20, 110, 180), paperPlane},
        {"GAcFaceBook", QColor(100, 130, 210), QColor(30, 50, 120), [](QPainter& p) { letterSymbol(p, "f", 34); }},
        {"GAcTwitter", QColor(120, 210, 250), QColor(20, 120, 190), bird},
        {"GAcInstagramm", QColor(250, 140, 90), QColor(140, 30, 130), camera},
        {"GAcYouTube", QColor(255, 110, 100), QColor(150, 10, 10), playButton},
    };
    for (const FieldIcon& f : fields)
        sink.png(f.name, icon(32, [&](QPainter& p) {
                     badge(p, f.light, f.dark, 3);
                     f.symbol(p);
                     gloss(p);
                 }));

    // Small pictures on buttons: refresh (world top ten, account tabs), reload
    // (more games), send (chat).
    sink.png("GRefresh24", arrowPicture(24, 24, true, true));
    sink.png("GReload24", arrowPicture(24, 24, true, false));
    sink.png("GSend24", arrowPicture(24, 16, false, false));
}

} // namespace art
