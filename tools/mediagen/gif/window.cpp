// Animations shown in the game's windows. They are see-through, so every
// shape is solid and carries a dark outline: GIF keeps no partial
// transparency, and the outline hides the edge against any teal or navy
// background. Each one loops: frame `frames` would equal frame 0.
#include "animations.h"
#include "paint.h"

#include <QFontMetricsF>
#include <QRadialGradient>

#include <array>
#include <cmath>

namespace {

const QColor kOutline(28, 18, 8);

QPainterPath circle(QPointF c, double r)
{
    QPainterPath path;
    path.addEllipse(c, r, r);
    return path;
}

QPainterPath roundRect(const QRectF &r, double radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

// A small lamp, lit (warm white) or dim (amber).
void drawBulb(QPainter &p, QPointF at, double r, double lit)
{
    const QColor dim(150, 96, 20), on(255, 250, 205);
    const QColor c =
        QColor::fromRgbF(dim.redF() + (on.redF() - dim.redF()) * lit, dim.greenF() + (on.greenF() - dim.greenF()) * lit,
                         dim.blueF() + (on.blueF() - dim.blueF()) * lit);
    drawGlossy(p, circle(at, r), c, 0.8);
}

// A cream letter card like the game's letter keys, turned by `turn` (0: face
// on; at 0.5 it is edge-on and shows its back from then on).
void drawCard(QPainter &p, QPointF centre, QSizeF size, const QString &front, const QString &back, double turn)
{
    const double sx = std::cos(2 * kPi * turn * 0.5);
    const bool showBack = sx < 0;
    const double w = std::max(1.5, size.width() * std::abs(sx));
    const QRectF r(centre.x() - w / 2, centre.y() - size.height() / 2, w, size.height());
    p.save();
    p.setPen(QPen(kOutline, 1.6));
    QLinearGradient face(r.topLeft(), r.bottomRight());
    face.setColorAt(0, QColor(255, 250, 228));
    face.setColorAt(1, QColor(232, 214, 168));
    p.setBrush(face);
    p.drawRoundedRect(r, 3, 3);
    p.setPen(QPen(QColor(196, 146, 40), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(2.5, 2.5, -2.5, -2.5), 2, 2);
    if (std::abs(sx) > 0.15) {
        QPainterPath letter = textPath(showBack ? back : front, displayFont(size.height() * 0.72), QPointF(0, 0));
        QTransform t;
        t.translate(centre.x(), centre.y() + 1);
        t.scale(std::abs(sx), 1);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(22, 40, 100));
        p.drawPath(t.map(letter));
    }
    p.restore();
}

// The TV-quiz prize wheel: coloured sectors with stars turn under a fixed
// pointer, the rim lamps chase. One loop is one full turn.
Animation prizeWheel()
{
    constexpr int W = 160, H = 160, N = 48;
    return {QStringLiteral("GMenu160"), W, H, N, 60, true, [](QPainter &p, int f) {
                const double t = f / double(N);
                const QPointF c(W / 2.0, H / 2.0 + 4);
                const double R = 66;
                drawGold(p, circle(c, R + 8), 1.4);
                static const std::array<QColor, 4> colours = {QColor(200, 30, 40), QColor(20, 110, 130),
                                                              QColor(232, 170, 30), QColor(30, 50, 130)};
                const double turn = 360.0 * t;
                for (int i = 0; i < 12; ++i) {
                    QPainterPath sector;
                    sector.moveTo(c);
                    sector.arcTo(QRectF(c.x() - R, c.y() - R, 2 * R, 2 * R), -(turn + i * 30.0), -30.0);
                    sector.closeSubpath();
                    QRadialGradient g(c, R);
                    const QColor base = colours[i % 4];
                    g.setColorAt(0, base.lighter(140));
                    g.setColorAt(1, base.darker(115));
                    p.setPen(QPen(QColor(250, 220, 140), 1.0));
                    p.setBrush(g);
                    p.drawPath(sector);
                    const double mid = (turn + i * 30.0 + 15.0) * kPi / 180;
                    const QPointF at = c + QPointF(std::cos(mid) * R * 0.72, std::sin(mid) * R * 0.72);
                    p.setPen(QPen(kOutline, 0.8));
                    p.setBrush(QColor(255, 245, 200));
                    p.drawPath(starPath(at, 5, 7, 3, turn + i * 30.0 + 15.0 + 90));
                }
                // Fixed sheen: the light does not turn with the wheel.
                p.save();
                p.setClipPath(circle(c, R));
                QRadialGradient sheen(c + QPointF(-R * 0.45, -R * 0.5), R * 1.1);
                sheen.setColorAt(0, QColor(255, 255, 255, 110));
                sheen.setColorAt(0.5, QColor(255, 255, 255, 0));
                sheen.setColorAt(1, QColor(0, 0, 0, 70));
                p.fillRect(QRectF(0, 0, W, H), sheen);
                p.restore();
                for (int i = 0; i < 16; ++i) {
                    const double a = 2 * kPi * i / 16;
                    const bool lit = (i + f / 3) % 2 == 0;
                    drawBulb(p, c + QPointF(std::cos(a) * (R + 4), std::sin(a) * (R + 4)), 2.6, lit ? 1.0 : 0.0);
                }
                drawGold(p, circle(c, 13), 1.2);
                drawGlossy(p, circle(c, 7), QColor(200, 30, 40), 0.6);
                // Pointer at the top.
                QPainterPath pointer;
                pointer.moveTo(c.x(), c.y() - R + 12);
                pointer.lineTo(c.x() - 9, c.y() - R - 12);
                pointer.lineTo(c.x() + 9, c.y() - R - 12);
                pointer.closeSubpath();
                drawGold(p, pointer, 1.3);
            }};
}

// A marquee sign: chasing lamps round a navy board on which four letter
// cards turn over in turn.
Animation marquee()
{
    constexpr int W = 139, H = 108, N = 40;
    return {QStringLiteral("GSv"), W, H, N, 80, true, [](QPainter &p, int f) {
                const double t = f / double(N);
                const QRectF outer(3, 3, W - 6, H - 6);
                drawGold(p, roundRect(outer, 14), 1.4);
                const QRectF inner = outer.adjusted(9, 9, -9, -9);
                QLinearGradient board(inner.topLeft(), inner.bottomLeft());
                board.setColorAt(0, QColor(24, 90, 110));
                board.setColorAt(1, QColor(12, 30, 70));
                p.setPen(QPen(kOutline, 1.2));
                p.setBrush(board);
                p.drawRoundedRect(inner, 8, 8);
                // Lamps along the frame, every third lit, running clockwise.
                QPainterPath track;
                track.addRoundedRect(outer.adjusted(4.5, 4.5, -4.5, -4.5), 10, 10);
                constexpr int lamps = 30;
                for (int i = 0; i < lamps; ++i) {
                    const QPointF at = track.pointAtPercent(std::fmod(i / double(lamps) + 0.001, 1.0));
                    drawBulb(p, at, 2.5, (i + f) % 3 == 0 ? 1.0 : 0.0);
                }
                // Cards: "ИГРА" turns over into "СЛОВ" (word play) and back, one
                // card after the other.
                static const QString front = QStringLiteral("ИГРА"), back = QStringLiteral("СЛОВ");
                for (int k = 0; k < 4; ++k) {
                    const double start = 0.06 + k * 0.07;
                    const double turn = smoothstep(start, start + 0.1, t) - smoothstep(start + 0.5, start + 0.6, t);
                    drawCard(p, QPointF(W / 2.0 + (k - 1.5) * 25, H / 2.0), QSizeF(22, 32), front.mid(k, 1),
                             back.mid(k, 1), turn);
                }
                const double tw = std::sin(kPi * smoothstep(0.4, 0.55, t));
                drawSparkle(p, QPointF(W / 2.0 + 48, H / 2.0 - 19), 9 * tw, tw, QColor(255, 250, 220), false);
            }};
}

// A gold padlock whose shackle springs open and shuts again, with a gleam.
Animation padlock()
{
    constexpr int W = 90, H = 90, N = 30;
    return {QStringLiteral("GPw"), W, H, N, 70, true, [](QPainter &p, int f) {
                const double t = f / double(N);
                const double open = smoothstep(0.3, 0.42, t) * (1 - smoothstep(0.62, 0.74, t));
                const double lift = 10 * easeOutBack(open);
                // Shackle: a thick U, behind the body.
                QPainterPath shackle;
                const QRectF arc(28, 14 - lift, 34, 36);
                shackle.moveTo(30.5, 48);
                shackle.lineTo(30.5, 31 - lift);
                shackle.arcTo(arc.adjusted(2.5, 2.5, -2.5, -2.5), 180, -180);
                shackle.lineTo(59.5, open > 0.5 ? 40 - lift : 48);
                QPainterPathStroker stroke;
                stroke.setWidth(7);
                stroke.setCapStyle(Qt::RoundCap);
                drawGold(p, stroke.createStroke(shackle), 1.2, 0.85);
                const QRectF body(18, 42, 54, 40);
                const QPainterPath bodyPath = roundRect(body, 7);
                drawGold(p, bodyPath, 1.5, 1.05);
                // Keyhole.
                QPainterPath hole = circle(QPointF(45, 57), 4.5);
                QPainterPath slot;
                slot.moveTo(42.5, 58);
                slot.lineTo(47.5, 58);
                slot.lineTo(49, 71);
                slot.lineTo(41, 71);
                slot.closeSubpath();
                hole = hole.united(slot);
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(40, 24, 6));
                p.drawPath(hole);
                drawShine(p, bodyPath, -20 + smoothstep(0.0, 0.3, t) * 130, 18, 0.8);
                const double tw = std::sin(kPi * smoothstep(0.74, 0.9, t));
                drawSparkle(p, QPointF(66, 46), 10 * tw, tw, QColor(255, 250, 220), false);
            }};
}

// A gold cup with a gleam, under a shower of confetti.
Animation trophy()
{
    constexpr int W = 130, H = 250, N = 50;
    return {QStringLiteral("GEndG1"), W, H, N, 60, true, [](QPainter &p, int f) {
                const double t = f / double(N);
                // Confetti behind and before the cup; each flake falls one screen a loop.
                static const std::array<QColor, 5> colours = {QColor(230, 40, 50), QColor(250, 200, 40),
                                                              QColor(40, 170, 90), QColor(60, 120, 230),
                                                              QColor(240, 240, 240)};
                auto confetti = [&](uint32_t seed, int count) {
                    Rng rng(seed);
                    for (int i = 0; i < count; ++i) {
                        const double x0 = rng.uniform(6, W - 6), phase = rng.uniform(0, 1), sway = rng.uniform(4, 10);
                        const double spin = rng.uniform(0, 2 * kPi);
                        const int laps = 1 + int(rng.uniform(0, 2));
                        const QColor c = colours[i % colours.size()];
                        const double y = std::fmod(phase + t * laps, 1.0) * (H + 20) - 10;
                        const double x = x0 + sway * std::sin(2 * kPi * (t * laps + phase));
                        p.save();
                        p.translate(x, y);
                        p.rotate(std::fmod(spin * 57.3 + t * 360 * laps, 360));
                        p.scale(1, 0.35 + 0.65 * std::abs(std::cos(2 * kPi * (t * laps * 2 + phase))));
                        p.setPen(QPen(c.darker(220), 0.8));
                        p.setBrush(c);
                        p.drawRect(QRectF(-3, -2, 6, 4));
                        p.restore();
                    }
                };
                confetti(31, 14);

                // The cup: bowl, handles, stem, base.
                QPainterPath bowl;
                bowl.moveTo(30, 92);
                bowl.lineTo(100, 92);
                bowl.cubicTo(100, 130, 86, 148, 65, 150);
                bowl.cubicTo(44, 148, 30, 130, 30, 92);
                QPainterPath handles;
                for (int side : {-1, 1}) {
                    QPainterPath h;
                    const double x = side < 0 ? 32 : 98;
                    h.moveTo(x, 100);
                    h.cubicTo(x + side * 22, 98, x + side * 22, 128, x + side * 2, 132);
                    QPainterPathStroker s;
                    s.setWidth(5);
                    s.setCapStyle(Qt::RoundCap);
                    handles = handles.united(s.createStroke(h));
                }
                QPainterPath stem;
                stem.addRect(QRectF(59, 148, 12, 22));
                QPainterPath knob = circle(QPointF(65, 160), 7);
                QPainterPath base;
                base.moveTo(42, 186);
                base.lineTo(88, 186);
                base.lineTo(82, 170);
                base.lineTo(48, 170);
                base.closeSubpath();
                QPainterPath plinth = roundRect(QRectF(36, 186, 58, 14), 2);
                QPainterPath cup = bowl.united(handles).united(stem).united(knob).united(base);
                drawGold(p, cup, 1.6);
                drawGold(p, plinth, 1.4, 0.8);
                QPainterPath rim;
                rim.addEllipse(QRectF(30, 87, 70, 10));
                drawGold(p, rim, 1.0, 1.15);
                drawShine(p, bowl, -40 + smoothstep(0.1, 0.5, t) * 200, 22, 0.85);
                // A star on the bowl.
                p.setPen(QPen(kOutline, 0.8));
                p.setBrush(QColor(255, 246, 200));
                p.drawPath(starPath(QPointF(65, 116), 5, 12, 5));
                confetti(77, 8);
                const double tw = std::sin(kPi * smoothstep(0.5, 0.66, t));
                drawSparkle(p, QPointF(94, 92), 14 * tw, tw, QColor(255, 250, 220), false);
                const double tw2 = std::sin(kPi * smoothstep(0.72, 0.88, t));
                drawSparkle(p, QPointF(40, 140), 10 * tw2, tw2, QColor(255, 250, 220), false);
            }};
}

// Fireworks: four rockets climb in turn and burst into coloured stars.
Animation fireworks()
{
    constexpr int W = 130, H = 250, N = 60;
    return {QStringLiteral("GEndG2"), W, H, N, 60, true, [](QPainter &p, int f) {
                const double t = f / double(N);
                struct Shell {
                    double x, peak, start;
                    QColor colour;
                };
                static const std::array<Shell, 4> shells = {
                    Shell{52, 64, 0.0, QColor(255, 80, 80)}, Shell{80, 132, 0.25, QColor(255, 214, 70)},
                    Shell{60, 96, 0.5, QColor(90, 200, 255)}, Shell{76, 52, 0.75, QColor(120, 230, 110)}};
                for (size_t k = 0; k < shells.size(); ++k) {
                    const Shell &s = shells[k];
                    // Each shell's own clock, wrapped so the loop joins up.
                    const double u = std::fmod(t - s.start + 1.0, 1.0);
                    const double climb = u / 0.22;
                    if (climb < 1) {
                        const double y = H - 4 - (H - 4 - s.peak) * easeOutCubic(climb);
                        for (int trail = 0; trail < 4; ++trail) {
                            const double ty = y + trail * 6;
                            p.setPen(Qt::NoPen);
                            p.setBrush(QColor(255, 220 - trail * 30, 140 - trail * 30));
                            p.drawEllipse(QPointF(s.x, ty), 2.2 - trail * 0.4, 2.2 - trail * 0.4);
                        }
                        continue;
                    }
                    const double burst = (u - 0.22) / 0.6;
                    if (burst >= 1)
                        continue;
                    const double fall = 16 * burst * burst;
                    const double size = 3.4 * (1 - burst * 0.7);
                    for (int i = 0; i < 24; ++i) {
                        // Two rings, the inner one slower, so the burst looks round and full.
                        const double reach = (i % 3 ? 44 : 26) * easeOutCubic(burst);
                        const double a = 2 * kPi * i / 24 + k;
                        const QPointF at(s.x + std::cos(a) * reach, s.peak + std::sin(a) * reach + fall);
                        const QColor c = (i % 2) ? s.colour : QColor(255, 250, 230);
                        if (burst > 0.75 && (i + f) % 2)
                            continue; // flicker as they die out
                        p.setPen(QPen(c.darker(250), 0.8));
                        p.setBrush(c);
                        p.drawPath(starPath(at, 4, size + 1.5, size * 0.45, a * 57.3));
                    }
                    if (burst < 0.25)
                        drawSparkle(p, QPointF(s.x, s.peak), 16 * (1 - burst * 4), 1, QColor(255, 250, 220), false);
                }
            }};
}

// The club currency: a gold coin with "Т" spinning on its upright axis.
Animation coin()
{
    constexpr int W = 100, H = 80, N = 30;
    return {QStringLiteral("GTevsGIF"), W, H, N, 60, true, [](QPainter &p, int f) {
                const double a = 2 * kPi * f / N;
                const double sx = std::cos(a);
                const QPointF c(W / 2.0, H / 2.0);
                const double R = 34, thick = 6;
                const double w = std::max(0.8, R * std::abs(sx));
                // The edge shows as a band beside the face while the coin is turned.
                const double edge = thick * std::abs(std::sin(a));
                const double side = std::sin(a) >= 0 ? 1 : -1;
                QPainterPath rim;
                rim.addEllipse(QRectF(c.x() - w + side * edge, c.y() - R, 2 * w, 2 * R));
                QPainterPath band;
                band.addRect(QRectF(std::min(c.x(), c.x() + side * edge), c.y() - R, std::abs(edge), 2 * R));
                drawGold(p, rim.united(band), 1.4, 0.65);
                QPainterPath face;
                face.addEllipse(QRectF(c.x() - w, c.y() - R, 2 * w, 2 * R));
                drawGold(p, face, 1.2, 1.0);
                QPainterPath inner;
                inner.addEllipse(QRectF(c.x() - w * 0.8, c.y() - R * 0.8, 1.6 * w, 1.6 * R));
                p.save();
                p.setPen(QPen(QColor(140, 86, 10), 1.2));
                p.setBrush(Qt::NoBrush);
                p.drawPath(inner);
                p.restore();
                if (std::abs(sx) > 0.2) {
                    QPainterPath letter = textPath(QStringLiteral("Т"), displayFont(40), QPointF(0, 0));
                    QTransform tr;
                    tr.translate(c.x(), c.y());
                    tr.scale(std::abs(sx), 1);
                    p.setPen(Qt::NoPen);
                    p.setBrush(QColor(120, 70, 8));
                    p.drawPath(tr.map(letter).translated(1, 1));
                    drawGold(p, tr.map(letter), 0.6, 1.15);
                }
                const double tw = std::sin(kPi * smoothstep(0.05, 0.2, f / double(N)));
                drawSparkle(p, c + QPointF(-w * 0.5, -R * 0.55), 10 * tw, tw, QColor(255, 250, 220), false);
            }};
}

// The club state star: a glossy star that breathes and winks, in one colour.
Animation stateStar(const QString &name, QColor colour)
{
    constexpr int W = 55, H = 45, N = 20;
    return {name, W, H, N, 80, true, [colour](QPainter &p, int f) {
                const double t = f / double(N);
                const double pulse = 0.92 + 0.08 * std::cos(2 * kPi * t);
                const QPointF c(W / 2.0, H / 2.0 + 2);
                const QPainterPath star = starPath(c, 5, 22 * pulse, 9.5 * pulse);
                drawGlossy(p, star, colour, 1.2);
                const double tw = std::sin(kPi * smoothstep(0.45, 0.7, t));
                drawSparkle(p, c + QPointF(-7, -8), 8 * tw, tw, QColor(255, 255, 255), false);
            }};
}

// Under the champions' title: a row of gold stars; a wave of light runs
// along it and the middle star is crowned by a twinkle.
Animation championStars()
{
    constexpr int W = 300, H = 40, N = 36;
    return {QStringLiteral("GTopTenAnim"), W, H, N, 70, true, [](QPainter &p, int f) {
                const double t = f / double(N);
                constexpr int count = 9;
                for (int i = 0; i < count; ++i) {
                    const double x = 22 + i * (W - 44) / double(count - 1);
                    const double fromMiddle = std::abs(i - (count - 1) / 2.0);
                    const double base = 15 - fromMiddle * 1.4;
                    // A crest travelling left to right, wrapping round.
                    const double d = std::fmod(t * 1.4 * (count + 3) - i + 100, count + 3.0);
                    const double wave = d < 3 ? std::sin(kPi * d / 3) : 0;
                    const double r = base * (1 + 0.18 * wave);
                    drawGold(p, starPath(QPointF(x, H / 2.0 + 1), 5, r, r * 0.45), 1.2, 0.9 + 0.35 * wave);
                }
                const double tw = std::sin(kPi * smoothstep(0.55, 0.8, t));
                drawSparkle(p, QPointF(W / 2.0 + 6, 9), 9 * tw, tw, QColor(255, 250, 220), false);
            }};
}

// Beside the maker's web address: a turning globe and "наш сайт" in gold
// with a gleam.
Animation siteBadge()
{
    constexpr int W = 130, H = 28, N = 30;
    return {QStringLiteral("GAboutSite"), W, H, N, 80, true, [](QPainter &p, int f) {
                const double t = f / double(N);
                const QPointF c(14, H / 2.0);
                const double R = 11;
                drawGlossy(p, circle(c, R), QColor(30, 120, 200), 1.0);
                // Meridians slide across; one loop moves them by their spacing.
                p.save();
                p.setClipPath(circle(c, R));
                p.setPen(QPen(QColor(220, 240, 255), 1.0));
                p.setBrush(Qt::NoBrush);
                for (int k = -2; k <= 2; ++k) {
                    const double phase = (k + t) * (kPi / 4);
                    const double x = R * std::sin(phase);
                    if (std::abs(phase) < kPi / 2)
                        p.drawEllipse(QPointF(c.x() + x * 0.5, c.y()), std::abs(R * std::cos(phase)) * 0.5 + 0.1, R);
                }
                p.drawLine(QPointF(c.x() - R, c.y()), QPointF(c.x() + R, c.y()));
                p.drawLine(QPointF(c.x() - R, c.y() - R * 0.5), QPointF(c.x() + R, c.y() - R * 0.5));
                p.drawLine(QPointF(c.x() - R, c.y() + R * 0.5), QPointF(c.x() + R, c.y() + R * 0.5));
                p.restore();
                const QString label = QStringLiteral("наш сайт");
                QFont font = displayFont(20);
                const double width = QFontMetricsF(font).horizontalAdvance(label);
                font = displayFont(20 * std::min(1.0, 96.0 / width));
                const QPainterPath text = textPath(label, font, QPointF(80, H / 2.0));
                drawGold(p, text, 1.2);
                drawShine(p, text, 20 + t * 140, 18, 0.9);
            }};
}

// Beside the e-mail address: an envelope whose flap opens to show a letter
// that peeks out and slips back.
Animation mailBadge()
{
    constexpr int W = 35, H = 35, N = 24;
    return {
        QStringLiteral("GAboutMail"), W, H, N, 80, true, [](QPainter &p, int f) {
            const double t = f / double(N);
            const double open = smoothstep(0.1, 0.3, t) * (1 - smoothstep(0.7, 0.9, t));
            const double peek = smoothstep(0.25, 0.45, t) * (1 - smoothstep(0.6, 0.75, t));
            const QRectF body(4, 14, 27, 18);
            // The flap folds up behind the letter as it opens.
            const double tipY = body.top() + 10 - 20 * open;
            if (open > 0.5) {
                QPainterPath flap;
                flap.moveTo(body.topLeft());
                flap.lineTo(body.center().x(), tipY);
                flap.lineTo(body.topRight());
                flap.closeSubpath();
                p.setPen(QPen(kOutline, 1.0));
                p.setBrush(QColor(214, 190, 140));
                p.drawPath(flap);
            }
            if (peek > 0) {
                const QRectF letter(8, body.top() + 4 - 10 * peek, 19, 14);
                p.setPen(QPen(kOutline, 0.8));
                p.setBrush(QColor(255, 255, 250));
                p.drawRect(letter);
                p.setPen(QPen(QColor(200, 40, 50), 1.2));
                p.drawLine(QPointF(letter.left() + 4, letter.top() + 4), QPointF(letter.right() - 4, letter.top() + 4));
                p.setPen(QPen(QColor(60, 90, 160), 1.0));
                p.drawLine(QPointF(letter.left() + 4, letter.top() + 7), QPointF(letter.right() - 6, letter.top() + 7));
            }
            QLinearGradient paper(body.topLeft(), body.bottomRight());
            paper.setColorAt(0, QColor(255, 248, 225));
            paper.setColorAt(1, QColor(226, 204, 156));
            QPainterPath front;
            front.addRect(body);
            p.setPen(QPen(kOutline, 1.2));
            p.setBrush(paper);
            p.drawPath(front);
            p.setPen(QPen(QColor(170, 130, 70), 0.9));
            p.drawLine(body.bottomLeft(), body.center() + QPointF(0, 2));
            p.drawLine(body.bottomRight(), body.center() + QPointF(0, 2));
            if (open <= 0.5) {
                QPainterPath flap;
                flap.moveTo(body.topLeft());
                flap.lineTo(body.center().x(), tipY);
                flap.lineTo(body.topRight());
                flap.closeSubpath();
                p.setPen(QPen(kOutline, 1.0));
                p.setBrush(QColor(244, 226, 186));
                p.drawPath(flap);
                // Red wax seal on the closed flap.
                drawGlossy(p, circle(QPointF(body.center().x(), tipY - 1), 3.2), QColor(200, 30, 40), 0.5);
            }
        }};
}

} // namespace

std::vector<Animation> windowAnimations()
{
    return {prizeWheel(),
            marquee(),
            padlock(),
            trophy(),
            fireworks(),
            coin(),
            stateStar(QStringLiteral("StarG0"), QColor(30, 170, 60)),
            stateStar(QStringLiteral("StarR0"), QColor(210, 30, 40)),
            stateStar(QStringLiteral("StarY0"), QColor(235, 190, 20)),
            championStars(),
            siteBadge(),
            mailBadge()};
}
