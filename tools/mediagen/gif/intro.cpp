// The four intro animations, played on a black screen.
#include "animations.h"
#include "paint.h"

#include <QFontMetricsF>
#include <QImage>
#include <QRadialGradient>

#include <cmath>
#include <vector>

namespace {

// A soft teal light behind the middle of the picture that fades to pure black
// well inside the edges, so the box never shows against the black screen.
void drawStageLight(QPainter &p, QPointF centre, double rx, double ry, double strength)
{
    if (strength <= 0)
        return;
    p.save();
    p.translate(centre);
    p.scale(rx / ry, 1);
    QRadialGradient g(QPointF(0, 0), ry);
    g.setColorAt(0.0, QColor(22, 96, 112, int(150 * strength)));
    g.setColorAt(0.45, QColor(12, 52, 82, int(90 * strength)));
    g.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(QPointF(0, 0), ry, ry);
    p.restore();
}

// A gold rule with a diamond in the middle and curled ends, drawn out from the
// centre as `grow` goes from 0 to 1.
void drawRule(QPainter &p, QPointF centre, double halfWidth, double grow, double opacity = 1.0)
{
    if (grow <= 0)
        return;
    const double hw = halfWidth * grow;
    QPainterPath path;
    path.moveTo(centre + QPointF(-hw, 0));
    path.lineTo(centre + QPointF(hw, 0));
    p.save();
    p.setOpacity(p.opacity() * opacity);
    QLinearGradient g(centre - QPointF(hw, 0), centre + QPointF(hw, 0));
    g.setColorAt(0.0, QColor(176, 110, 14, 0));
    g.setColorAt(0.3, QColor(230, 170, 40));
    g.setColorAt(0.5, QColor(255, 236, 150));
    g.setColorAt(0.7, QColor(230, 170, 40));
    g.setColorAt(1.0, QColor(176, 110, 14, 0));
    p.setPen(QPen(QBrush(g), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(path);
    for (int side : {-1, 1}) {
        QPainterPath curl;
        const QPointF a = centre + QPointF(side * hw * 0.55, 0);
        curl.moveTo(a);
        curl.cubicTo(a + QPointF(side * 10, -9), a + QPointF(side * 22, -2), a + QPointF(side * 16, 3));
        p.setPen(QPen(QColor(236, 186, 60, int(255 * grow)), 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(curl);
    }
    const double d = 6 * easeOutBack(grow);
    QPainterPath diamond;
    diamond.moveTo(centre + QPointF(0, -d));
    diamond.lineTo(centre + QPointF(d * 1.3, 0));
    diamond.lineTo(centre + QPointF(0, d));
    diamond.lineTo(centre + QPointF(-d * 1.3, 0));
    diamond.closeSubpath();
    p.restore();
    drawGold(p, diamond, 1.0, 1.0, opacity);
}

struct Star {
    QPointF at;
    double phase;
    double size;
};

std::vector<Star> starField(uint32_t seed, int count, double w, double h)
{
    Rng rng(seed);
    std::vector<Star> stars;
    for (int i = 0; i < count; ++i)
        stars.push_back(
            {QPointF(rng.uniform(8, w - 8), rng.uniform(8, h - 8)), rng.uniform(0, 2 * kPi), rng.uniform(0.6, 1.6)});
    return stars;
}

void drawStarField(QPainter &p, const std::vector<Star> &stars, double t, double opacity)
{
    p.save();
    p.setPen(Qt::NoPen);
    for (const Star &s : stars) {
        const double a = opacity * (0.35 + 0.35 * std::sin(2 * kPi * t + s.phase));
        if (a <= 0.02)
            continue;
        p.setBrush(QColor(200, 230, 255, int(255 * a)));
        p.drawEllipse(s.at, s.size * 0.6, s.size * 0.6);
    }
    p.restore();
}

// "ВОКАБРОН": the letters fly in from all sides, lock into the word, a gold
// rule and a subtitle appear, then a gleam runs across and sparkles twinkle.
Animation openingTitle()
{
    constexpr int W = 346, H = 260, N = 101;
    return {
        QStringLiteral("GZastNew1"), W, H, N, 40, false, [](QPainter &p, int f) {
            static const QString word = QStringLiteral("ВОКАБРОН");
            static const std::vector<Star> stars = starField(11, 46, W, H);
            const QFont font = displayFont(60);
            const QFontMetricsF fm(font);
            const double scale = std::min(1.0, 300.0 / fm.horizontalAdvance(word));
            const QPointF centre(W / 2.0, 112);

            p.fillRect(QRectF(0, 0, W, H), Qt::black);
            drawStarField(p, stars, f / 50.0, smoothstep(0, 14, f));
            drawStageLight(p, QPointF(W / 2.0, 118), 160, 112, smoothstep(0, 16, f) * (0.9 + 0.1 * std::sin(f * 0.12)));

            // Final letter outlines, placed by the prefix widths so kerning holds.
            QPainterPath whole;
            whole.addText(0, 0, font, word);
            QTransform fit;
            fit.translate(centre.x(), centre.y());
            fit.scale(scale, scale);
            fit.translate(-whole.boundingRect().center().x(), -whole.boundingRect().center().y());
            const QRectF box = fit.map(whole).boundingRect();

            struct Letter {
                QPainterPath final;
                QPointF home;
                double angle, spin, far, lin;
                int start;
            };
            Rng rng(2024);
            std::vector<Letter> letters;
            QPainterPath landed;
            for (int i = 0; i < word.size(); ++i) {
                QPainterPath glyph;
                glyph.addText(fm.horizontalAdvance(word.left(i)), 0, font, word.mid(i, 1));
                Letter l;
                l.final = fit.map(glyph);
                l.home = l.final.boundingRect().center();
                l.angle = rng.uniform(0, 2 * kPi);
                l.spin = rng.uniform(-220, 220);
                l.far = rng.uniform(230, 300);
                l.start = 3 + i * 5;
                l.lin = (f - l.start) / 16.0;
                if (l.lin >= 1)
                    landed.addPath(l.final);
                letters.push_back(l);
            }
            // Letters in place first, so the ones still flying pass over them.
            drawGold(p, landed, 2.2);
            // The flying letters come from outside the frame; they are drawn on
            // a layer of their own that fades out towards the frame's edge, so
            // a letter and its trail rise out of the black instead of being cut
            // by the frame's border.
            QImage flyingLayer(W, H, QImage::Format_ARGB32_Premultiplied);
            flyingLayer.fill(Qt::transparent);
            QPainter flying(&flyingLayer);
            flying.setRenderHints(p.renderHints());
            for (const Letter &l : letters) {
                auto place = [&l](double q) {
                    const double pos = easeOutBack(q);
                    const double grow = 2.8 - 1.8 * easeOutCubic(q);
                    QTransform t;
                    t.translate(l.home.x() + std::cos(l.angle) * l.far * (1 - pos),
                                l.home.y() + std::sin(l.angle) * l.far * (1 - pos));
                    t.rotate(l.spin * (1 - easeOutCubic(q)));
                    t.scale(grow, grow);
                    t.translate(-l.home.x(), -l.home.y());
                    return t.map(l.final);
                };
                if (l.lin > 0 && l.lin < 1) {
                    for (int ghost = 3; ghost >= 1; --ghost) {
                        const double q = l.lin - ghost * 0.07;
                        if (q > 0)
                            drawGold(flying, place(q), 0, 0.8, 0.22 / ghost);
                    }
                    drawGold(flying, place(l.lin), 2.0, 1.0, smoothstep(0, 0.25, l.lin));
                }
                const double sinceLanding = f - l.start - 16;
                if (sinceLanding >= 0 && sinceLanding < 8)
                    drawSparkle(flying, l.home, 26 * (1 - sinceLanding / 8), 1 - sinceLanding / 8);
            }
            flying.end();
            fadeTowardsEdges(flyingLayer, 3, 20);
            p.drawImage(0, 0, flyingLayer);

            // After the last letter: rule, subtitle, gleam and twinkles.
            drawRule(p, QPointF(W / 2.0, 158), 130, easeOutCubic((f - 52) / 14.0));
            const double sub = smoothstep(60, 74, f);
            if (sub > 0) {
                const QPainterPath subtitle =
                    textPath(QStringLiteral("игра в слова"), displayFont(22), QPointF(W / 2.0, 184));
                drawGold(p, subtitle, 1.2, 1.08, sub);
            }
            if (f >= 64 && f <= 90) {
                const double band = -40 + (f - 64) / 26.0 * (W + 80);
                drawShine(p, landed, band, 46);
            }
            Rng twinkles(7);
            for (int k = 0; k < 6; ++k) {
                const QPointF at(twinkles.uniform(box.left(), box.right()), twinkles.uniform(box.top(), box.bottom()));
                const double born = twinkles.uniform(70, 92);
                const double age = (f - born) / 9.0;
                if (age > 0 && age < 1)
                    drawSparkle(p, at, 14 * std::sin(kPi * age), std::sin(kPi * age));
            }
        }};
}

// A short burst: a star pops up, rays and a ring of light spread out, sparks
// fly, and everything fades back to black.
Animation flourish()
{
    constexpr int W = 256, H = 256, N = 47;
    return {QStringLiteral("GZastNew2"), W, H, N, 20, false, [](QPainter &screen, int f) {
                const double t = f / double(N - 1);
                const QPointF c(W / 2.0, H / 2.0);
                screen.fillRect(QRectF(0, 0, W, H), Qt::black);
                // Drawn on a layer first so the fade-out dims the burst as one piece.
                QImage layer(W, H, QImage::Format_ARGB32_Premultiplied);
                layer.fill(Qt::transparent);
                QPainter p(&layer);
                p.setRenderHints(screen.renderHints());

                drawGlow(p, c, 110 * easeOutCubic(t * 2.2), QColor(30, 130, 150), 0.75);
                // Rays.
                p.save();
                p.translate(c);
                p.rotate(40 * t);
                const double rayLen = 118 * easeOutCubic(t * 1.8);
                for (int i = 0; i < 16; ++i) {
                    const double len = rayLen * (i % 2 ? 0.7 : 1.0);
                    QLinearGradient g(QPointF(0, 0), QPointF(0, -len));
                    g.setColorAt(0.0, QColor(255, 230, 140, 200));
                    g.setColorAt(1.0, QColor(255, 200, 80, 0));
                    QPainterPath ray;
                    ray.moveTo(-5, 0);
                    ray.lineTo(0, -len);
                    ray.lineTo(5, 0);
                    ray.closeSubpath();
                    p.setPen(Qt::NoPen);
                    p.setBrush(g);
                    p.drawPath(ray);
                    p.rotate(360.0 / 16);
                }
                p.restore();
                // Ring of light.
                const double ringT = smoothstep(0.04, 0.62, t);
                if (ringT > 0 && ringT < 1) {
                    p.save();
                    p.setPen(QPen(QColor(255, 222, 120, int(230 * (1 - ringT))), 7 * (1 - ringT) + 1));
                    p.setBrush(Qt::NoBrush);
                    p.drawEllipse(c, 20 + 100 * easeOutCubic(ringT), 20 + 100 * easeOutCubic(ringT));
                    p.restore();
                }
                // Sparks.
                Rng rng(5);
                for (int i = 0; i < 30; ++i) {
                    const double a = rng.uniform(0, 2 * kPi);
                    const double reach = rng.uniform(60, 118);
                    const double delay = rng.uniform(0.02, 0.22);
                    const double q = (t - delay) / 0.6;
                    if (q <= 0 || q >= 1)
                        continue;
                    const double r = reach * easeOutCubic(q);
                    const QPointF at = c + QPointF(std::cos(a) * r, std::sin(a) * r);
                    const QPointF tail = c + QPointF(std::cos(a) * r * 0.8, std::sin(a) * r * 0.8);
                    p.save();
                    QLinearGradient g(tail, at);
                    g.setColorAt(0, QColor(255, 200, 90, 0));
                    g.setColorAt(1, QColor(255, 240, 190, int(255 * (1 - q))));
                    p.setPen(QPen(QBrush(g), 2.2, Qt::SolidLine, Qt::RoundCap));
                    p.drawLine(tail, at);
                    p.restore();
                    drawSparkle(p, at, 6 * (1 - q), 1 - q);
                }
                // The star itself.
                const double pop = easeOutBack(t / 0.32);
                if (pop > 0) {
                    QTransform tr;
                    tr.translate(c.x(), c.y());
                    tr.rotate(-30 + 60 * easeInOut(t));
                    tr.scale(pop, pop);
                    const QPainterPath star = tr.map(starPath(QPointF(0, 0), 8, 58, 26));
                    const QPainterPath core = tr.map(starPath(QPointF(0, 0), 8, 30, 20, 22.5));
                    drawGold(p, star, 2.0);
                    drawGold(p, core, 1.2, 1.12);
                    if (t > 0.3 && t < 0.7)
                        drawShine(p, star, c.x() - 70 + (t - 0.3) / 0.4 * 140, 30);
                }
                drawSparkle(p, c + QPointF(-30, -34), 22 * std::sin(kPi * smoothstep(0.25, 0.7, t)), 1);
                p.end();
                screen.setOpacity(1 - smoothstep(0.72, 1.0, t));
                screen.drawImage(0, 0, layer);
            }};
}

// "Нажмите любую клавишу" between two gold rules; a gleam runs along the
// words once a loop and three twinkles come and go.
Animation pressAnyKey()
{
    constexpr int W = 273, H = 80, N = 107;
    return {QStringLiteral("GZastNew3"), W, H, N, 50, false, [](QPainter &p, int f) {
                const double t = f / double(N);
                p.fillRect(QRectF(0, 0, W, H), Qt::black);
                static const QString text = QStringLiteral("Нажмите любую клавишу");
                QFont font = displayFont(24);
                const double width = QFontMetricsF(font).horizontalAdvance(text);
                font = displayFont(24 * std::min(1.0, 248.0 / width));
                const QPainterPath path = textPath(text, font, QPointF(W / 2.0, 41));

                drawStageLight(p, QPointF(W / 2.0, 40), 130, 38, 0.55 + 0.25 * std::sin(2 * kPi * t));
                drawRule(p, QPointF(W / 2.0, 13), 120, 1.0, 0.9);
                drawRule(p, QPointF(W / 2.0, 68), 120, 1.0, 0.9);
                drawGold(p, path, 1.5, 0.94 + 0.08 * std::sin(2 * kPi * t));
                drawShine(p, path, -70 + t * (W + 140), 40);
                const QRectF box = path.boundingRect();
                const QPointF spots[3] = {
                    {box.left() + 6, box.top() + 3}, {W / 2.0 + 8, box.bottom() - 2}, {box.right() - 5, box.top() + 4}};
                for (int k = 0; k < 3; ++k) {
                    const double phase = std::fmod(t * 3 + k / 3.0, 1.0);
                    const double life = smoothstep(0, 0.25, phase) * (1 - smoothstep(0.25, 0.5, phase));
                    drawSparkle(p, spots[k], 11 * life, life);
                }
            }};
}

// A gold rosette turning on a teal enamel disc, its bead ring lit by a
// running wave. One loop turns it by one eighth: the shape repeats exactly.
Animation ornament()
{
    constexpr int W = 120, H = 120, N = 36;
    return {QStringLiteral("GZastNew4"), W, H, N, 30, false, [](QPainter &p, int f) {
                const double t = f / double(N);
                const QPointF c(W / 2.0, H / 2.0);
                p.fillRect(QRectF(0, 0, W, H), Qt::black);
                drawGlow(p, c, 58, QColor(20, 110, 130), 0.7);

                // Bead ring.
                for (int i = 0; i < 16; ++i) {
                    const double a = 2 * kPi * i / 16;
                    const QPointF at = c + QPointF(std::cos(a) * 50, std::sin(a) * 50);
                    const double wave = 0.5 + 0.5 * std::cos(2 * kPi * (t - i / 16.0));
                    QPainterPath bead;
                    bead.addEllipse(at, 3.6, 3.6);
                    drawGold(p, bead, 0.8, 0.75 + 0.45 * wave);
                    drawGlow(p, at, 9, QColor(255, 230, 150), 0.55 * std::pow(wave, 4));
                }
                // Enamel disc with a gold rim.
                QPainterPath rim;
                rim.addEllipse(c, 36, 36);
                drawGold(p, rim, 1.2);
                QPainterPath disc;
                disc.addEllipse(c, 31, 31);
                QRadialGradient enamel(c - QPointF(10, 12), 44);
                enamel.setColorAt(0, QColor(40, 170, 180));
                enamel.setColorAt(0.6, QColor(10, 84, 110));
                enamel.setColorAt(1, QColor(6, 40, 70));
                p.setPen(Qt::NoPen);
                p.setBrush(enamel);
                p.drawPath(disc);

                // Rosette: two stars, the light stays fixed while the shape turns.
                const double turn = 45.0 * t;
                drawGold(p, starPath(c, 8, 44, 17, turn), 1.4);
                drawGold(p, starPath(c, 8, 26, 12, turn + 22.5), 1.0, 1.1);
                QPainterPath stud;
                stud.addEllipse(c, 7, 7);
                drawGold(p, stud, 1.0, 1.2);
                drawSparkle(p, c + QPointF(-3, -3), 6, 0.7);
            }};
}

} // namespace

std::vector<Animation> introAnimations() { return {openingTitle(), flourish(), pressAnyKey(), ornament()}; }
