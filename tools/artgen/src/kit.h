// Shared drawing vocabulary of the picture generator: the palette, the output
// sink, and the few effects (gold, glass, glow, parchment) every picture uses,
// so the whole game keeps one look and one light direction (top-left).
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace art {

// Palette.
inline const QColor kNavyDeep{7, 18, 40};
inline const QColor kNavy{14, 36, 74};
inline const QColor kTeal{16, 92, 104};
inline const QColor kTealLight{46, 150, 158};
inline const QColor kGoldLight{255, 240, 176};
inline const QColor kGold{232, 180, 64};
inline const QColor kGoldDark{120, 74, 14};
inline const QColor kOutline{40, 20, 4};
inline const QColor kInk{20, 40, 100};
inline const QColor kParchment{246, 230, 190};
inline const QColor kParchmentDark{214, 182, 124};

QColor withAlpha(QColor c, int alpha);

// A transparent premultiplied canvas of the given size.
QImage blank(int w, int h);

// Runs draw with a painter whose coordinates are the final pixel coordinates
// but whose surface is factor times larger, then shrinks the result by area
// averaging. Tiny icons stay crisp this way where plain antialiasing smears.
QImage supersampled(int w, int h, int factor, const std::function<void(QPainter&)>& draw);

// A painter with the settings every picture uses.
void prepare(QPainter& p);

// Deterministic per-picture random numbers (a small LCG: the output must not
// depend on the C library).
class Rng {
public:
    explicit Rng(std::uint32_t seed) : state_(seed * 2654435761u + 1u) {}
    std::uint32_t next();
    double uniform(); // [0, 1)
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }

private:
    std::uint32_t state_;
};

// Adds +-amplitude of seeded noise to the colour channels of opaque and
// translucent pixels alike; breaks up banding in long, soft gradients.
void dither(QImage& img, double amplitude, std::uint32_t seed);

// Box blur (three passes approximate a Gaussian) of a premultiplied image.
void blur(QImage& img, int radius);

// The display face: Old Standard TT Bold, the same outlines the game ships
// renamed as "OldCyr Bold".
bool loadDisplayFont(const QString& path);
QFont displayFont(qreal pixelSize);

// Outline of text laid out on one line, centred in box and shrunk (never
// grown) to fit its width.
QPainterPath fittedText(const QString& text, const QFont& font, const QRectF& box);

// Gold title lettering: soft shadow, dark outline, gold gradient fill and a
// thin highlight, the house style of every title.
void goldLettering(QPainter& p, const QPainterPath& path, qreal outline);

// Vertical gold gradient over [y0, y1] with a bright band at the top.
QLinearGradient goldGradient(qreal y0, qreal y1);

// A bevelled gold band along the inside of a rounded rectangle.
void goldBand(QPainter& p, const QRectF& outer, qreal radius, qreal width);

// A dark navy-to-teal glass plate with a soft top-left sheen.
void glassPlate(QPainter& p, const QRectF& r, qreal radius, int alpha = 235);

// Radial light spot.
void glow(QPainter& p, QPointF centre, qreal radius, QColor colour);

// Parchment filling of a path: warm gradient, fibres and darkened edges.
void parchment(QImage& img, const QPainterPath& area, std::uint32_t seed);

// A five-pointed star path.
QPainterPath starPath(QPointF centre, qreal outer, qreal inner, qreal rotationDeg = -90);

// Where the pictures go; remembers each one for the contact sheet.
class Sink {
public:
    explicit Sink(QString resourceDir);
    void png(const QString& name, const QImage& img);
    void flag(const QString& name, const QImage& img);
    void jpeg(const QString& name, const QImage& img);
    struct Entry {
        QString name;
        QImage image;
        bool isFlag;
    };
    const std::vector<Entry>& entries() const { return entries_; }
    const QString& root() const { return root_; }

private:
    void write(const QString& path, const QImage& img, const char* format, int quality);
    QString root_;
    std::vector<Entry> entries_;
};

} // namespace art
