// The game board: its frame with the 5 x 10 cell openings, the empty cell, the
// score frame and the base-number stars.

#include "art.h"

#include <QRadialGradient>

namespace art {

namespace {

// Cell grid of the board frame; the game computes cell rectangles from these
// very numbers, scaled to the board's size on screen.
constexpr int kGridLeft = 73, kGridTop = 70, kPitchX = 95, kPitchY = 130;
constexpr int kRows = 5, kCols = 10;

// A recessed opening: darker well with a shadow on its upper-left inside edge.
void cellWell(QPainter& p, const QRectF& r)
{
    p.save();
    QPainterPath well;
    well.addRoundedRect(r, 10, 10);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.0, QColor(4, 12, 28));
    g.setColorAt(1.0, QColor(10, 34, 56));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(well);
    p.setClipPath(well);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 150), 6));
    p.drawRoundedRect(r.translated(2.5, 2.5), 10, 10);
    p.setClipping(false);
    p.setPen(QPen(QColor(120, 200, 210, 90), 1.5));
    p.drawRoundedRect(r.adjusted(-0.75, -0.75, 0.75, 0.75), 10.5, 10.5);
    p.restore();
}

// The board's navy field with a faint diamond lattice and a soft light.
void boardField(QPainter& p, const QRectF& r, qreal radius)
{
    p.save();
    QPainterPath field;
    field.addRoundedRect(r, radius, radius);
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0.0, QColor(18, 70, 96));
    g.setColorAt(0.5, QColor(12, 40, 78));
    g.setColorAt(1.0, QColor(8, 22, 50));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(field);
    p.setClipPath(field);
    p.setPen(QPen(QColor(120, 200, 220, 18), 1.2));
    for (qreal d = -r.height(); d < r.width() + r.height(); d += 28) {
        p.drawLine(QPointF(r.left() + d, r.top()), QPointF(r.left() + d + r.height(), r.bottom()));
        p.drawLine(QPointF(r.left() + d, r.bottom()), QPointF(r.left() + d + r.height(), r.top()));
    }
    glow(p, QPointF(r.left() + r.width() * 0.22, r.top() + r.height() * 0.15), r.width() * 0.55,
         QColor(90, 190, 200, 60));
    p.restore();
}

// Gold rivets at the four corners of a frame band.
void rivets(QPainter& p, const QRectF& outer, qreal inset, qreal size)
{
    for (QPointF c : {outer.topLeft() + QPointF(inset, inset), outer.topRight() + QPointF(-inset, inset),
                      outer.bottomLeft() + QPointF(inset, -inset), outer.bottomRight() + QPointF(-inset, -inset)}) {
        QRadialGradient g(c - QPointF(size * 0.3, size * 0.3), size * 1.2);
        g.setColorAt(0.0, QColor(255, 250, 220));
        g.setColorAt(0.5, QColor(226, 170, 60));
        g.setColorAt(1.0, QColor(110, 66, 10));
        p.setPen(QPen(kOutline, 1.2));
        p.setBrush(g);
        p.drawEllipse(c, size, size);
    }
}

QImage boardFrame()
{
    const int W = 1096, H = 790;
    QImage img = blank(W, H);
    QPainter p(&img);
    prepare(p);
    const QRectF outer(4, 4, W - 8, H - 8);
    // Drop shadow of the whole frame.
    {
        QImage sh = blank(W, H);
        QPainter sp(&sh);
        prepare(sp);
        sp.setPen(Qt::NoPen);
        sp.setBrush(QColor(0, 0, 0, 140));
        sp.drawRoundedRect(outer.adjusted(4, 6, 0, 0), 44, 44);
        sp.end();
        blur(sh, 3);
        p.drawImage(0, 0, sh);
    }
    boardField(p, outer.adjusted(20, 20, -20, -20), 28);
    goldBand(p, outer, 44, 30);
    rivets(p, outer, 15, 6);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c)
            cellWell(p, QRectF(kGridLeft + c * kPitchX + 4, kGridTop + r * kPitchY + 4, kPitchX - 8, kPitchY - 8));
    p.end();
    dither(img, 1.0, 11);
    return img;
}

QImage emptyCell()
{
    const int W = 95, H = 130;
    return supersampled(W, H, 2, [&](QPainter& p) {
        const QRectF outer(3, 3, W - 6, H - 6);
        QLinearGradient g(outer.topLeft(), outer.bottomRight());
        g.setColorAt(0.0, QColor(60, 170, 186));
        g.setColorAt(0.45, QColor(20, 96, 130));
        g.setColorAt(1.0, QColor(10, 50, 92));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRoundedRect(outer, 10, 10);
        QPainterPath clip;
        clip.addRoundedRect(outer, 10, 10);
        p.setClipPath(clip);
        // Gloss over the upper part.
        QLinearGradient gloss(0, outer.top(), 0, outer.top() + outer.height() * 0.45);
        gloss.setColorAt(0.0, QColor(255, 255, 255, 90));
        gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
        p.setBrush(gloss);
        p.drawRoundedRect(outer.adjusted(4, 3, -4, -outer.height() * 0.55), 8, 8);
        // A faint star in the middle marks a hidden letter.
        p.setBrush(QColor(255, 255, 255, 34));
        p.drawPath(starPath(outer.center(), 24, 10));
        p.setClipping(false);
        goldBand(p, outer, 10, 4);
    });
}

QImage scoreFrame()
{
    const int W = 1096, H = 316;
    QImage img = blank(W, H);
    QPainter p(&img);
    prepare(p);
    const QRectF outer(4, 4, W - 8, H - 8);
    // The game writes red digits on this face: keep it light and calm.
    const QRectF face = outer.adjusted(30, 30, -30, -30);
    QLinearGradient g(face.topLeft(), face.bottomLeft());
    g.setColorAt(0.0, QColor(255, 252, 236));
    g.setColorAt(0.5, QColor(246, 234, 200));
    g.setColorAt(1.0, QColor(226, 206, 156));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(face.adjusted(-4, -4, 4, 4), 40, 40);
    // Inner shadow under the top band.
    p.save();
    QPainterPath clip;
    clip.addRoundedRect(face, 30, 30);
    p.setClipPath(clip);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(100, 60, 10, 90), 24));
    p.drawRoundedRect(face.translated(8, 10), 30, 30);
    p.restore();
    goldBand(p, outer, 70, 44);
    rivets(p, outer, 22, 9);
    p.end();
    dither(img, 1.0, 12);
    return img;
}

QImage baseStar(int number)
{
    // One hue per base so the two (and any further) bases are told apart at a glance.
    struct Tint {
        QColor light, mid, dark;
    };
    static const Tint tints[4] = {
        {QColor(255, 248, 200), QColor(240, 188, 60), QColor(150, 90, 10)},  // gold
        {QColor(240, 250, 255), QColor(170, 196, 220), QColor(70, 90, 120)}, // silver
        {QColor(255, 226, 200), QColor(214, 120, 60), QColor(110, 46, 10)},  // bronze
        {QColor(220, 255, 236), QColor(60, 190, 130), QColor(10, 90, 60)},   // emerald
    };
    const Tint& t = tints[number - 1];
    const int S = 128;
    return supersampled(S, S, 2, [&](QPainter& p) {
        const QPointF c(S / 2.0, S / 2.0 + 4);
        const QPainterPath star = starPath(c, 60, 27);
        // Shadow.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 90));
        p.drawPath(star.translated(3, 4));
        QRadialGradient g(c - QPointF(18, 22), 80);
        g.setColorAt(0.0, t.light);
        g.setColorAt(0.5, t.mid);
        g.setColorAt(1.0, t.dark);
        p.setPen(QPen(kOutline, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(g);
        p.drawPath(star);
        // Facets: each ray lit on its upper-left half.
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 5; ++i) {
            const qreal a = (-90 + i * 72) * M_PI / 180.0;
            const QPointF tip(c.x() + 57 * std::cos(a), c.y() + 57 * std::sin(a));
            const qreal b = a - 36 * M_PI / 180.0;
            const QPointF side(c.x() + 25 * std::cos(b), c.y() + 25 * std::sin(b));
            QPainterPath facet;
            facet.moveTo(c);
            facet.lineTo(tip);
            facet.lineTo(side);
            facet.closeSubpath();
            p.setBrush(QColor(255, 255, 255, 60));
            p.drawPath(facet);
        }
        // The base number on a dark disc.
        QRadialGradient disc(c - QPointF(6, 6), 30);
        disc.setColorAt(0.0, QColor(40, 70, 130));
        disc.setColorAt(1.0, QColor(8, 20, 54));
        p.setPen(QPen(t.light, 2.5));
        p.setBrush(disc);
        p.drawEllipse(c, 24, 24);
        const QPainterPath digit =
            fittedText(QString::number(number), displayFont(44), QRectF(c.x() - 24, c.y() - 24, 48, 48));
        p.setPen(QPen(QColor(0, 0, 0, 160), 3));
        p.setBrush(Qt::NoBrush);
        p.drawPath(digit);
        p.setPen(Qt::NoPen);
        p.setBrush(goldGradient(c.y() - 16, c.y() + 16));
        p.drawPath(digit);
    });
}

} // namespace

void drawBoard(Sink& sink)
{
    sink.png("GRamka1", boardFrame());
    sink.png("GRamka2", scoreFrame());
    sink.png("GFrameS", emptyCell());
    for (int n = 1; n <= 4; ++n)
        sink.png(QString("Star%1").arg(n), baseStar(n));
}

} // namespace art
