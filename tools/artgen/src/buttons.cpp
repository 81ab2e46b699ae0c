// Button faces and letter tiles.

#include "art.h"

#include <cmath>

namespace art {

namespace {

// The game recolours the faces by permuting colour channels, so every colour
// here is a pure red hue: green always equals blue. White highlights blend
// green and blue alike and keep the rule.
QColor red(int r, int gb, int a = 255) { return QColor(r, gb, gb, a); }

// A whole pill, 2 * cap + 1 wide: the left cap, one body column, the right cap.
QImage pill(int cap, int height, bool lit)
{
    const int w = 2 * cap + 1;
    return supersampled(w, height, 4, [&](QPainter& p) {
        const QRectF outer(0.25, 0.25, w - 0.5, height - 0.5);
        const qreal r = outer.height() / 2;
        p.setPen(Qt::NoPen);
        // Rim: dark on a plain face; on a lit face a bright halo.
        p.setBrush(lit ? red(255, 196) : red(96, 0));
        p.drawRoundedRect(outer, r, r);

        const qreal rimWidth = std::max(1.0, height / 22.0);
        const QRectF body = outer.adjusted(rimWidth, rimWidth, -rimWidth, -rimWidth);
        const qreal br = body.height() / 2;
        QLinearGradient g(0, body.top(), 0, body.bottom());
        if (lit) {
            g.setColorAt(0.00, red(255, 150));
            g.setColorAt(0.45, red(250, 52));
            g.setColorAt(0.80, red(196, 14));
            g.setColorAt(1.00, red(240, 84));
        } else {
            g.setColorAt(0.00, red(246, 110));
            g.setColorAt(0.45, red(222, 24));
            g.setColorAt(0.80, red(150, 0));
            g.setColorAt(1.00, red(196, 40));
        }
        p.setBrush(g);
        p.drawRoundedRect(body, br, br);

        // Gloss on the upper half: a flat-bottomed capsule, so the body
        // column stays identical to its neighbours.
        const qreal inset = br * 0.45;
        const QRectF gloss(body.left() + inset, body.top() + rimWidth * 0.6, body.width() - 2 * inset,
                           body.height() * 0.46);
        QLinearGradient gg(0, gloss.top(), 0, gloss.bottom());
        gg.setColorAt(0.0, QColor(255, 255, 255, lit ? 230 : 200));
        gg.setColorAt(1.0, QColor(255, 255, 255, lit ? 40 : 24));
        p.setBrush(gg);
        p.drawRoundedRect(gloss, gloss.height() / 2, gloss.height() / 2);

        // Light from the top-left: a small sparkle on the left cap only.
        const QPointF sparkAt(body.left() + br * 0.62, body.top() + br * 0.55);
        QRadialGradient spark(sparkAt, br * 0.32);
        spark.setColorAt(0.0, QColor(255, 255, 255, 150));
        spark.setColorAt(1.0, QColor(255, 255, 255, 0));
        p.setBrush(spark);
        p.drawEllipse(sparkAt, br * 0.32, br * 0.32);

        if (lit) {
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(QColor(255, 255, 255, 170), rimWidth * 0.6));
            p.drawRoundedRect(body.adjusted(rimWidth * 0.3, rimWidth * 0.3, -rimWidth * 0.3, -rimWidth * 0.3), br, br);
        }
    });
}

} // namespace

void drawButtonFaces(Sink& sink)
{
    struct Set {
        const char* name;
        int cap;
        int height;
    };
    for (const Set& s : {Set{"B29", 15, 29}, Set{"B44", 24, 44}, Set{"B59", 30, 59}}) {
        for (bool lit : {false, true}) {
            const QImage whole = pill(s.cap, s.height, lit);
            const QString suffix = lit ? "L" : "";
            const QString base = s.name;
            sink.png(base + "_Left" + suffix, whole.copy(0, 0, s.cap, s.height));
            sink.png(base + "_Telo" + suffix, whole.copy(s.cap, 0, 1, s.height));
            sink.png(base + "_Right" + suffix, whole.copy(s.cap + 1, 0, s.cap, s.height));
        }
    }
}

void drawLetterTiles(Sink& sink)
{
    static const char* const names[32] = {"Bu01a", "Bu02b", "Bu03v", "Bu04g", "Bu05d", "Bu06e", "Bu07g", "Bu08z",
                                          "Bu09i", "Bu10i", "Bu11k", "Bu12l", "Bu13m", "Bu14n", "Bu15o", "Bu16p",
                                          "Bu17r", "Bu18s", "Bu19t", "Bu20u", "Bu21f", "Bu22h", "Bu23c", "Bu24c",
                                          "Bu25s", "Bu26s", "Bu27t", "Bu28i", "Bu29m", "Bu30e", "Bu31u", "Bu32y"};
    const int W = 125, H = 175;
    const QFont font = displayFont(122);
    for (int k = 0; k < 32; ++k) {
        const QString letter(QChar(0x0410 + k));
        const QImage tile = supersampled(W, H, 2, [&](QPainter& p) {
            const QRectF outer(1, 1, W - 2, H - 2);
            // Ivory card.
            QLinearGradient face(0, 0, W * 0.4, H);
            face.setColorAt(0.0, QColor(255, 252, 238));
            face.setColorAt(0.6, QColor(248, 236, 204));
            face.setColorAt(1.0, QColor(232, 212, 168));
            p.setPen(Qt::NoPen);
            p.setBrush(face);
            p.drawRoundedRect(outer, 16, 16);
            glow(p, QPointF(W * 0.3, H * 0.2), W * 0.6, QColor(255, 255, 255, 120));
            goldBand(p, outer, 16, 7);

            // The letter: the face's fine hairlines are thickened with a
            // stroke of the same ink so the glyph survives being shrunk to
            // a 28 x 28 key picture.
            QPainterPath glyph;
            glyph.addText(0, 0, font, letter);
            const QRectF ink = glyph.boundingRect();
            const qreal capTop = -font.pixelSize() * 0.66; // cap height of the face
            const qreal maxWidth = 96;
            qreal sx = 1.0;
            if (ink.width() > maxWidth)
                sx = maxWidth / ink.width();
            // Cap height centred a little high: Д, Ц and Щ need room for their tails.
            const qreal baseline = H * 0.5 - capTop * 0.5 - 4;
            QTransform t;
            t.translate(W / 2.0, baseline);
            t.scale(sx, 1.0);
            t.translate(-ink.center().x(), 0);
            const QPainterPath placed = t.map(glyph);

            // Engraved look: a light edge below-right, the ink above.
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(QColor(255, 255, 255, 200), 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPath(placed.translated(1.5, 1.5));
            QLinearGradient ink1(0, baseline + capTop, 0, baseline);
            ink1.setColorAt(0.0, QColor(40, 64, 140));
            ink1.setColorAt(1.0, QColor(12, 26, 76));
            p.setPen(QPen(QBrush(ink1), 5.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(ink1);
            p.drawPath(placed);
        });
        sink.png(names[k], tile);
    }
}

} // namespace art
