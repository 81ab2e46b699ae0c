// The two big backgrounds: the dialogs' window background "BG" and the main
// menu's studio "G_BGMenu".

#include "art.h"

#include <QRadialGradient>

#include <cmath>

namespace art {

namespace {

// Navy-to-teal base lit from the top-left, darker towards the corners.
void studioBase(QPainter& p, int W, int H, qreal lightX, qreal lightY)
{
    QLinearGradient base(0, 0, W * 0.35, H);
    base.setColorAt(0.0, QColor(14, 82, 98));
    base.setColorAt(0.5, QColor(10, 44, 74));
    base.setColorAt(1.0, QColor(6, 18, 42));
    p.fillRect(QRect(0, 0, W, H), base);
    glow(p, QPointF(W * lightX, H * lightY), std::max(W, H) * 0.75, QColor(60, 170, 180, 110));
    // Vignette.
    QRadialGradient v(QPointF(W / 2.0, H / 2.0), std::hypot(W, H) * 0.6);
    v.setColorAt(0.55, QColor(0, 0, 0, 0));
    v.setColorAt(1.0, QColor(0, 0, 0, 150));
    p.fillRect(QRect(0, 0, W, H), v);
}

// Soft out-of-focus lights, drawn into a layer and blurred.
void bokeh(QPainter& p, int W, int H, int count, std::uint32_t seed, qreal minR, qreal maxR)
{
    QImage layer = blank(W, H);
    {
        QPainter lp(&layer);
        prepare(lp);
        Rng rng(seed);
        for (int i = 0; i < count; ++i) {
            const QPointF c(rng.range(0, W), rng.range(0, H));
            const qreal r = rng.range(minR, maxR);
            const bool gold = rng.uniform() < 0.3;
            const QColor col =
                gold ? QColor(255, 210, 120, int(rng.range(14, 36))) : QColor(130, 220, 230, int(rng.range(10, 30)));
            lp.setPen(QPen(withAlpha(col, std::min(255, col.alpha() * 2)), 1.5));
            lp.setBrush(col);
            lp.drawEllipse(c, r, r);
        }
    }
    blur(layer, 3);
    p.drawImage(0, 0, layer);
}

QImage windowBackground()
{
    const int W = 1680, H = 1050;
    QImage img(W, H, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter p(&img);
        prepare(p);
        studioBase(p, W, H, 0.18, 0.1);
        // A faint diagonal weave gives the plain areas some texture.
        p.setPen(QPen(QColor(140, 220, 230, 10), 2));
        for (int d = -H; d < W; d += 36)
            p.drawLine(d, 0, d + H, H);
        bokeh(p, W, H, 70, 21, 20, 90);
    }
    dither(img, 2.0, 22);
    return img;
}

QImage menuBackground()
{
    const int W = 1921, H = 1280;
    QImage img(W, H, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter p(&img);
        prepare(p);
        studioBase(p, W, H, 0.5, 0.0);
        // Spotlight beams from the studio ceiling.
        QImage beams = blank(W, H);
        {
            QPainter bp(&beams);
            prepare(bp);
            const struct {
                qreal x, toX, width, alpha;
            } spots[] = {
                {0.12, 0.30, 0.16, 46}, {0.38, 0.45, 0.14, 36}, {0.62, 0.55, 0.14, 36}, {0.88, 0.70, 0.16, 46}};
            for (const auto& s : spots) {
                QPainterPath cone;
                cone.moveTo(W * s.x - 20, -10);
                cone.lineTo(W * s.x + 20, -10);
                cone.lineTo(W * (s.toX + s.width / 2), H * 1.05);
                cone.lineTo(W * (s.toX - s.width / 2), H * 1.05);
                cone.closeSubpath();
                QLinearGradient g(0, 0, 0, H);
                g.setColorAt(0.0, QColor(200, 250, 255, int(s.alpha * 2.2)));
                g.setColorAt(0.6, QColor(140, 220, 235, int(s.alpha)));
                g.setColorAt(1.0, QColor(140, 220, 235, 0));
                bp.setPen(Qt::NoPen);
                bp.setBrush(g);
                bp.drawPath(cone);
            }
        }
        blur(beams, 18);
        p.drawImage(0, 0, beams);
        // The stage floor: an ellipse of light and a gold rim.
        glow(p, QPointF(W / 2.0, H * 0.98), W * 0.45, QColor(90, 200, 210, 70));
        p.setPen(QPen(QColor(240, 190, 80, 34), 4));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(W / 2.0, H * 1.02), W * 0.48, H * 0.16);
        bokeh(p, W, H, 90, 31, 16, 70);
        // Twinkling stars in the upper dark.
        Rng rng(32);
        for (int i = 0; i < 120; ++i) {
            const QPointF c(rng.range(0, W), rng.range(0, H * 0.45));
            const qreal r = rng.range(0.8, 2.2);
            glow(p, c, r * 3, QColor(255, 250, 220, int(rng.range(60, 160))));
        }
    }
    dither(img, 2.0, 33);
    return img;
}

} // namespace

void drawBackgrounds(Sink& sink)
{
    sink.jpeg("BG", windowBackground());
    sink.png("G_BGMenu", menuBackground());
}

} // namespace art
