// Drawing helpers shared by every animation: the gold look of the titles,
// sparkles, easing curves and a seeded random source.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <cstdint>
#include <random>

inline constexpr double kPi = 3.14159265358979323846;

// The display font, "OldCyr Bold", at a pixel size.
QFont displayFont(double pixelSize);

// A text outline with its visual centre at `centre`.
QPainterPath textPath(const QString &text, const QFont &font, QPointF centre);

// Gold gradient across a box, light falling from the top left.
QLinearGradient goldGradient(const QRectF &box, double brightness = 1.0);

// Fills a path with gold and a dark outline outside the glyph edge.
void drawGold(QPainter &p, const QPainterPath &path, double outline = 2.0, double brightness = 1.0,
              double opacity = 1.0);

// A diagonal band of light moving across the path (bandX is the band's centre).
void drawShine(QPainter &p, const QPainterPath &path, double bandX, double width = 40, double strength = 0.85);

// A four-pointed twinkle, with a soft halo unless it is drawn for a
// see-through animation (GIF keeps no partial transparency).
void drawSparkle(QPainter &p, QPointF at, double radius, double opacity, QColor colour = QColor(255, 250, 220),
                 bool halo = true);

// A soft round glow fading to nothing at `radius`.
void drawGlow(QPainter &p, QPointF at, double radius, QColor colour, double opacity);

// An n-pointed star with outer radius ro and inner radius ri, first point up.
QPainterPath starPath(QPointF centre, int points, double ro, double ri, double turnDeg = 0);

// Glossy disc-like fill for a shape in a given hue (HSV hue, degrees).
void drawGlossy(QPainter &p, const QPainterPath &path, QColor base, double outline = 1.5);

// Scales a premultiplied layer down to nothing towards its border: fully
// transparent up to `clear` pixels from the edge, untouched from `full` on.
void fadeTowardsEdges(QImage &layer, double clear, double full);

double clamp01(double v);
double smoothstep(double a, double b, double v);
double easeOutCubic(double t);
double easeOutBack(double t);
double easeInOut(double t);

// Seeded generator with the same sequence on every platform (the standard
// distributions are not portable, so values are made from raw draws).
class Rng {
public:
    explicit Rng(uint32_t seed) : m_gen(seed) {}
    double uniform(double lo = 0.0, double hi = 1.0) { return lo + (hi - lo) * (double(m_gen()) / 4294967296.0); }

private:
    std::mt19937 m_gen;
};
