#include "paint.h"

#include <QFontMetricsF>
#include <QImage>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

QFont displayFont(double pixelSize)
{
    QFont f(QStringLiteral("OldCyr Bold"));
    f.setPixelSize(int(std::lround(pixelSize)));
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QPainterPath textPath(const QString &text, const QFont &font, QPointF centre)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF box = path.boundingRect();
    path.translate(centre - box.center());
    return path;
}

QLinearGradient goldGradient(const QRectF &box, double brightness)
{
    // Slant by the height, not the width, so long words keep one colour across.
    const double cx = box.center().x(), slant = box.height() * 0.18;
    QLinearGradient g(QPointF(cx - slant, box.top()), QPointF(cx + slant, box.bottom()));
    auto c = [brightness](int r, int gr, int b) {
        auto k = [brightness](int v) { return std::clamp(int(std::lround(v * brightness)), 0, 255); };
        return QColor(k(r), k(gr), k(b));
    };
    g.setColorAt(0.00, c(255, 250, 205));
    g.setColorAt(0.30, c(255, 214, 80));
    g.setColorAt(0.55, c(226, 160, 28));
    g.setColorAt(0.78, c(176, 110, 14));
    g.setColorAt(1.00, c(250, 208, 110));
    return g;
}

void drawGold(QPainter &p, const QPainterPath &shape, double outline, double brightness, double opacity)
{
    // Glyph outlines rely on the non-zero rule; overlapping strokes must not punch holes.
    QPainterPath path = shape;
    path.setFillRule(Qt::WindingFill);
    p.save();
    p.setOpacity(p.opacity() * opacity);
    if (outline > 0) {
        p.setPen(QPen(QColor(40, 22, 4), outline * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(goldGradient(path.boundingRect(), brightness));
    p.drawPath(path);
    p.restore();
}

void drawShine(QPainter &p, const QPainterPath &shape, double bandX, double width, double strength)
{
    QPainterPath path = shape;
    path.setFillRule(Qt::WindingFill);
    p.save();
    p.setClipPath(path, Qt::IntersectClip);
    const QRectF box = path.boundingRect();
    QLinearGradient band(QPointF(bandX - width / 2, 0), QPointF(bandX + width / 2, 0));
    band.setColorAt(0.0, QColor(255, 255, 255, 0));
    band.setColorAt(0.5, QColor(255, 255, 245, int(255 * strength)));
    band.setColorAt(1.0, QColor(255, 255, 255, 0));
    // Shear the band so it leans like a reflection on polished metal.
    QTransform shear;
    shear.translate(0, box.center().y());
    shear.shear(-0.45, 0);
    shear.translate(0, -box.center().y());
    p.setTransform(shear, true);
    p.fillRect(QRectF(bandX - width, box.top() - 20, width * 2, box.height() + 40), band);
    p.restore();
}

void drawGlow(QPainter &p, QPointF at, double radius, QColor colour, double opacity)
{
    if (radius <= 0 || opacity <= 0)
        return;
    QRadialGradient g(at, radius);
    QColor c = colour;
    c.setAlphaF(std::clamp(opacity, 0.0, 1.0) * colour.alphaF());
    QColor mid = c;
    mid.setAlphaF(c.alphaF() * 0.35);
    QColor none = c;
    none.setAlpha(0);
    g.setColorAt(0.0, c);
    g.setColorAt(0.4, mid);
    g.setColorAt(1.0, none);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(at, radius, radius);
    p.restore();
}

void drawSparkle(QPainter &p, QPointF at, double radius, double opacity, QColor colour, bool halo)
{
    if (radius <= 0 || opacity <= 0.01)
        return;
    if (halo)
        drawGlow(p, at, radius * 0.8, colour, opacity * 0.8);
    p.save();
    p.setOpacity(p.opacity() * std::clamp(opacity, 0.0, 1.0));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255));
    p.drawPath(starPath(at, 4, radius, radius * 0.16));
    p.drawPath(starPath(at, 4, radius * 0.5, radius * 0.1, 45));
    p.restore();
}

QPainterPath starPath(QPointF centre, int points, double ro, double ri, double turnDeg)
{
    QPainterPath path;
    for (int i = 0; i < points * 2; ++i) {
        const double a = (turnDeg - 90 + 180.0 * i / points) * kPi / 180;
        const double r = (i % 2) ? ri : ro;
        const QPointF pt = centre + QPointF(std::cos(a) * r, std::sin(a) * r);
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

void drawGlossy(QPainter &p, const QPainterPath &path, QColor base, double outline)
{
    const QRectF box = path.boundingRect();
    p.save();
    if (outline > 0) {
        p.setPen(QPen(base.darker(330), outline * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
    QRadialGradient body(box.topLeft() + QPointF(box.width() * 0.35, box.height() * 0.3),
                         std::max(box.width(), box.height()) * 0.85);
    body.setColorAt(0.0, base.lighter(150));
    body.setColorAt(0.5, base);
    body.setColorAt(1.0, base.darker(190));
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawPath(path);
    // Gloss: a pale lens over the upper half.
    p.setClipPath(path, Qt::IntersectClip);
    QLinearGradient gloss(box.topLeft(), QPointF(box.left(), box.center().y()));
    gloss.setColorAt(0.0, QColor(255, 255, 255, 170));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setBrush(gloss);
    p.drawEllipse(QRectF(box.left() + box.width() * 0.12, box.top() + box.height() * 0.04, box.width() * 0.76,
                         box.height() * 0.5));
    p.restore();
}

double clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

void fadeTowardsEdges(QImage &layer, double clear, double full)
{
    const int w = layer.width(), h = layer.height();
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(layer.scanLine(y));
        for (int x = 0; x < w; ++x) {
            // Distance of the pixel's centre to the nearest edge.
            const double edge = std::min({x + 0.5, w - x - 0.5, y + 0.5, h - y - 0.5});
            const double keep = smoothstep(clear, full, edge);
            if (keep >= 1.0)
                continue;
            const QRgb px = line[x];
            auto scaled = [keep](int c) { return int(std::lround(c * keep)); };
            line[x] = qRgba(scaled(qRed(px)), scaled(qGreen(px)), scaled(qBlue(px)), scaled(qAlpha(px)));
        }
    }
}

double smoothstep(double a, double b, double v)
{
    const double t = clamp01((v - a) / (b - a));
    return t * t * (3 - 2 * t);
}

double easeOutCubic(double t)
{
    t = clamp01(t);
    return 1 - std::pow(1 - t, 3);
}

double easeOutBack(double t)
{
    t = clamp01(t);
    const double c1 = 1.70158, c3 = c1 + 1;
    return 1 + c3 * std::pow(t - 1, 3) + c1 * std::pow(t - 1, 2);
}

double easeInOut(double t)
{
    t = clamp01(t);
    return t < 0.5 ? 4 * t * t * t : 1 - std::pow(-2 * t + 2, 3) / 2;
}
