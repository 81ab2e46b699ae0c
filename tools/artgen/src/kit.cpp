#include "kit.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QRadialGradient>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace art {

QColor withAlpha(QColor c, int alpha)
{
    c.setAlpha(alpha);
    return c;
}

QImage blank(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

void prepare(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
}

QImage supersampled(int w, int h, int factor, const std::function<void(QPainter&)>& draw)
{
    QImage big = blank(w * factor, h * factor);
    {
        QPainter p(&big);
        prepare(p);
        p.scale(factor, factor);
        draw(p);
    }
    return big.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

std::uint32_t Rng::next()
{
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
}

double Rng::uniform() { return next() / double(1u << 24); }

void dither(QImage& img, double amplitude, std::uint32_t seed)
{
    Rng rng(seed);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const QRgb px = line[x];
            const int a = qAlpha(px);
            const double n = rng.range(-amplitude, amplitude);
            if (a == 0)
                continue;
            auto ch = [&](int v) { return std::clamp(int(std::lround(v + n * a / 255.0)), 0, a); };
            line[x] = qRgba(ch(qRed(px)), ch(qGreen(px)), ch(qBlue(px)), a);
        }
    }
}

namespace {

// One horizontal and one vertical running-sum pass over all four channels.
void boxPass(QImage& img, int r, bool horizontal)
{
    const int w = img.width(), h = img.height();
    const int outer = horizontal ? h : w;
    const int inner = horizontal ? w : h;
    std::vector<QRgb> src(inner);
    for (int o = 0; o < outer; ++o) {
        for (int i = 0; i < inner; ++i)
            src[i] = reinterpret_cast<const QRgb*>(img.constScanLine(horizontal ? o : i))[horizontal ? i : o];
        long sum[4] = {0, 0, 0, 0};
        auto add = [&](int i, int sign) {
            const QRgb px = src[std::clamp(i, 0, inner - 1)];
            sum[0] += sign * qAlpha(px);
            sum[1] += sign * qRed(px);
            sum[2] += sign * qGreen(px);
            sum[3] += sign * qBlue(px);
        };
        for (int i = -r; i <= r; ++i)
            add(i, 1);
        const int n = 2 * r + 1;
        for (int i = 0; i < inner; ++i) {
            const QRgb out = qRgba(int(sum[1] / n), int(sum[2] / n), int(sum[3] / n), int(sum[0] / n));
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(horizontal ? o : i));
            line[horizontal ? i : o] = out;
            add(i + r + 1, 1);
            add(i - r, -1);
        }
    }
}

} // namespace

void blur(QImage& img, int radius)
{
    if (radius <= 0)
        return;
    img = img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(img, radius, true);
        boxPass(img, radius, false);
    }
}

namespace {
QString g_fontFamily;
}

bool loadDisplayFont(const QString& path)
{
    const int id = QFontDatabase::addApplicationFont(path);
    if (id < 0)
        return false;
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty())
        return false;
    g_fontFamily = families.first();
    return true;
}

QFont displayFont(qreal pixelSize)
{
    QFont f(g_fontFamily);
    f.setBold(true);
    f.setPixelSize(std::max(1, int(std::lround(pixelSize))));
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(true);
    return f;
}

QPainterPath fittedText(const QString& text, const QFont& font, const QRectF& box)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF b = path.boundingRect();
    // Centre on the cap height rather than on the ink, so titles with and
    // without descenders sit on the same line.
    const qreal capHeight = font.pixelSize() * 0.68;
    qreal scale = 1.0;
    if (b.width() > box.width())
        scale = box.width() / b.width();
    QTransform t;
    t.translate(box.center().x(), box.center().y() + capHeight * scale / 2);
    t.scale(scale, scale);
    t.translate(-b.center().x(), 0);
    return t.map(path);
}

QLinearGradient goldGradient(qreal y0, qreal y1)
{
    QLinearGradient g(0, y0, 0, y1);
    g.setColorAt(0.00, QColor(255, 250, 214));
    g.setColorAt(0.22, QColor(255, 224, 120));
    g.setColorAt(0.48, QColor(230, 168, 48));
    g.setColorAt(0.52, QColor(196, 128, 26));
    g.setColorAt(0.78, QColor(240, 196, 84));
    g.setColorAt(1.00, QColor(150, 96, 20));
    return g;
}

void goldLettering(QPainter& p, const QPainterPath& path, qreal outline)
{
    const QRectF b = path.boundingRect();
    const QRect device = p.device() ? QRect(0, 0, p.device()->width(), p.device()->height()) : QRect();

    // Soft shadow down and to the right of the light.
    {
        QImage shadow = blank(device.width(), device.height());
        QPainter sp(&shadow);
        prepare(sp);
        sp.setTransform(p.transform());
        sp.translate(outline * 0.8, outline * 0.9);
        sp.setPen(QPen(QColor(0, 0, 0, 170), outline * 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        sp.setBrush(QColor(0, 0, 0, 170));
        sp.drawPath(path);
        sp.end();
        blur(shadow, std::max(1, int(outline)));
        p.save();
        p.resetTransform();
        p.drawImage(0, 0, shadow);
        p.restore();
    }
    p.save();
    p.setPen(QPen(kOutline, outline * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(goldGradient(b.top(), b.bottom()));
    p.drawPath(path);
    // A fine light edge on the upper left of every stroke.
    p.setClipPath(path);
    p.setPen(QPen(QColor(255, 255, 235, 150), std::max(0.8, outline * 0.35)));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path.translated(outline * 0.35, outline * 0.35));
    p.restore();
}

void goldBand(QPainter& p, const QRectF& outer, qreal radius, qreal width)
{
    p.save();
    QPainterPath ring;
    ring.addRoundedRect(outer, radius, radius);
    const QRectF inner = outer.adjusted(width, width, -width, -width);
    const qreal innerRadius = std::max(0.0, radius - width);
    QPainterPath hole;
    hole.addRoundedRect(inner, innerRadius, innerRadius);
    ring = ring.subtracted(hole);

    // Diagonal gold so the top-left edge catches the light.
    QLinearGradient g(outer.topLeft(), outer.bottomRight());
    g.setColorAt(0.0, QColor(255, 238, 160));
    g.setColorAt(0.35, QColor(236, 184, 70));
    g.setColorAt(0.55, QColor(184, 124, 30));
    g.setColorAt(0.75, QColor(232, 182, 72));
    g.setColorAt(1.0, QColor(132, 82, 16));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(ring);

    // Bevel: bright ridge along the middle, dark lines at both edges.
    const qreal mid = width / 2;
    QLinearGradient ridge(outer.topLeft(), outer.bottomRight());
    ridge.setColorAt(0.0, QColor(255, 255, 230, 200));
    ridge.setColorAt(0.5, QColor(255, 240, 190, 90));
    ridge.setColorAt(1.0, QColor(255, 220, 150, 40));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(ridge), std::max(1.0, width * 0.18)));
    p.drawRoundedRect(outer.adjusted(mid, mid, -mid, -mid), std::max(0.0, radius - mid), std::max(0.0, radius - mid));
    const qreal line = std::max(1.0, width * 0.08);
    p.setPen(QPen(QColor(70, 40, 6, 220), line));
    p.drawRoundedRect(outer.adjusted(line / 2, line / 2, -line / 2, -line / 2), radius, radius);
    p.setPen(QPen(QColor(70, 40, 6, 200), line));
    p.drawRoundedRect(inner.adjusted(-line / 2, -line / 2, line / 2, line / 2), innerRadius, innerRadius);
    p.restore();
}

void glassPlate(QPainter& p, const QRectF& r, qreal radius, int alpha)
{
    p.save();
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.0, withAlpha(QColor(22, 74, 104), alpha));
    g.setColorAt(0.5, withAlpha(QColor(12, 40, 78), alpha));
    g.setColorAt(1.0, withAlpha(QColor(8, 24, 52), alpha));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(r, radius, radius);
    QPainterPath clip;
    clip.addRoundedRect(r, radius, radius);
    p.setClipPath(clip);
    QRadialGradient sheen(r.left() + r.width() * 0.2, r.top() + r.height() * 0.1,
                          std::max(r.width(), r.height()) * 0.7);
    sheen.setColorAt(0.0, QColor(120, 210, 220, alpha * 50 / 255));
    sheen.setColorAt(1.0, QColor(120, 210, 220, 0));
    p.setBrush(sheen);
    p.drawRect(r);
    p.restore();
}

void glow(QPainter& p, QPointF centre, qreal radius, QColor colour)
{
    p.save();
    QRadialGradient g(centre, radius);
    g.setColorAt(0.0, colour);
    QColor mid = colour;
    mid.setAlpha(colour.alpha() * 2 / 5);
    g.setColorAt(0.45, mid);
    g.setColorAt(1.0, withAlpha(colour, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
    p.restore();
}

void parchment(QImage& img, const QPainterPath& area, std::uint32_t seed)
{
    const QRectF b = area.boundingRect();
    QImage sheet = blank(img.width(), img.height());
    {
        QPainter p(&sheet);
        prepare(p);
        QLinearGradient g(b.topLeft(), b.bottomRight());
        g.setColorAt(0.0, QColor(252, 240, 206));
        g.setColorAt(0.5, kParchment);
        g.setColorAt(1.0, QColor(232, 208, 160));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawPath(area);
        p.setClipPath(area);
        // Fibres and stains.
        Rng rng(seed);
        for (int i = 0; i < int(b.width() * b.height() / 900); ++i) {
            const QPointF c(rng.range(b.left(), b.right()), rng.range(b.top(), b.bottom()));
            const qreal r = rng.range(8, 40);
            glow(p, c, r, QColor(180, 140, 80, int(rng.range(6, 18))));
        }
        for (int i = 0; i < int(b.width() * b.height() / 400); ++i) {
            const QPointF a(rng.range(b.left(), b.right()), rng.range(b.top(), b.bottom()));
            const qreal len = rng.range(4, 16);
            const qreal ang = rng.range(-0.4, 0.4);
            p.setPen(QPen(QColor(150, 110, 60, int(rng.range(12, 30))), 0.8));
            p.drawLine(a, a + QPointF(len * std::cos(ang), len * std::sin(ang)));
        }
    }
    // Darkened, burnt-looking edges: the sheet minus a blurred inset of itself.
    QImage edge = blank(img.width(), img.height());
    {
        QPainter p(&edge);
        prepare(p);
        p.fillRect(edge.rect(), QColor(120, 72, 20, 150));
        p.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        const qreal inset = std::min(b.width(), b.height()) * 0.06;
        QTransform t;
        t.translate(b.center().x(), b.center().y());
        t.scale((b.width() - 2 * inset) / b.width(), (b.height() - 2 * inset) / b.height());
        t.translate(-b.center().x(), -b.center().y());
        p.drawPath(t.map(area));
    }
    blur(edge, int(std::min(b.width(), b.height()) * 0.03) + 1);
    {
        QPainter p(&sheet);
        p.setClipPath(area);
        p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        p.drawImage(0, 0, edge);
    }
    dither(sheet, 1.5, seed ^ 0x5a5a);
    QPainter p(&img);
    p.drawImage(0, 0, sheet);
}

QPainterPath starPath(QPointF c, qreal outer, qreal inner, qreal rotationDeg)
{
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const qreal r = (i % 2 == 0) ? outer : inner;
        const qreal a = (rotationDeg + i * 36.0) * M_PI / 180.0;
        const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

Sink::Sink(QString resourceDir) : root_(std::move(resourceDir))
{
    QDir().mkpath(root_ + "/png/flags");
    QDir().mkpath(root_ + "/jpeg");
}

void Sink::write(const QString& path, const QImage& img, const char* format, int quality)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || !img.save(&f, format, quality) || !f.commit())
        throw std::runtime_error(("cannot write " + path).toStdString());
}

void Sink::png(const QString& name, const QImage& img)
{
    // 8 bits per channel RGBA, never palette: the game's resampler and the
    // button recolouring read the channels directly.
    const QImage out = img.convertToFormat(QImage::Format_ARGB32);
    write(root_ + "/png/" + name + ".png", out, "PNG", -1);
    entries_.push_back({name, out, false});
}

void Sink::flag(const QString& name, const QImage& img)
{
    const QImage out = img.convertToFormat(QImage::Format_ARGB32);
    write(root_ + "/png/flags/" + name + ".png", out, "PNG", -1);
    entries_.push_back({name, out, true});
}

void Sink::jpeg(const QString& name, const QImage& img)
{
    const QImage out = img.convertToFormat(QImage::Format_RGB32);
    write(root_ + "/jpeg/" + name + ".jpg", out, "JPG", 92);
    entries_.push_back({name, out, false});
}

} // namespace art
