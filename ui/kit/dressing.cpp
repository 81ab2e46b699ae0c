#include "ui/kit/dressing.h"

#include <algorithm>

#include <QPainter>

#include "common/rounding.h"
#include "ui/kit/animation_player.h"
#include "logic/looks/area_average.h"
#include "ui/kit/colour.h"
#include "ui/kit/resource_store.h"

namespace vk {
namespace {

// Both ends included, so a one-pixel line from (a, b) to (c, d) covers the
// pixels the frame's description names, whatever the painter's pen width.
void Line(QPainter& p, int a, int b, int c, int d, const QColor& colour)
{
    p.fillRect(QRect(QPoint(std::min(a, c), std::min(b, d)), QPoint(std::max(a, c), std::max(b, d))), colour);
}

// The closed outline through (a, b), (c, b), (c, d), (a, d).
void Outline(QPainter& p, int a, int b, int c, int d, const QColor& colour)
{
    Line(p, a, b, c, b, colour);
    Line(p, c, b, c, d, colour);
    Line(p, a, d, c, d, colour);
    Line(p, a, b, a, d, colour);
}

} // namespace

QImage AreaAveragedPicture(const QImage& picture, int width, int height)
{
    if (width <= 0 || height <= 0)
        return {};
    const QImage source = picture.convertToFormat(QImage::Format_RGBA8888);
    QImage target(width, height, QImage::Format_RGBA8888);
    if (target.isNull())
        return {};
    AreaAverageRgba({source.constBits(), source.width(), source.height(), source.bytesPerLine()},
                    {target.bits(), target.width(), target.height(), target.bytesPerLine()});
    return target;
}

bool DrawResPicture(const QString& name, QPainter& canvas, int x, int y, int width, int height, bool scaled)
{
    const auto bytes = ResourceBytes(ResourceKind::Raw, name);
    if (!bytes)
        return false;
    QImage picture = QImage::fromData(*bytes, scaled ? nullptr : "PNG");
    if (picture.isNull()) {
        qWarning("Program resource %s is not a picture", qUtf8Printable(name));
        return false;
    }
    if (scaled && picture.size() != QSize(width, height)) {
        if (width <= 0 || height <= 0)
            return false;
        picture = AreaAveragedPicture(picture, width, height);
    }
    canvas.drawImage(x, y, picture);
    return true;
}

void PaintFormBackground(QPainter& canvas, const QImage& background, int x, int y, int clientWidth, int clientHeight)
{
    if (background.isNull())
        return;
    canvas.drawImage(QRect(-x, -y, clientWidth, clientHeight), background);
}

bool LoadJpegRes(const QString& name, QImage& picture)
{
    const auto bytes = ResourceBytes(ResourceKind::Jpeg, name);
    if (!bytes)
        return false;
    QImage decoded = QImage::fromData(*bytes, "JPG");
    if (decoded.isNull()) {
        qWarning("Program resource %s is not a JPEG picture", qUtf8Printable(name));
        return false;
    }
    picture = std::move(decoded);
    return true;
}

bool LoadGifRes(const QString& name, AnimationPlayer& animator) { return animator.LoadGif(name); }

void TextOutCentred(const QString& text, int x1, int x2, int y, QPainter& canvas)
{
    // Integer division truncates toward zero: a text wider than the span
    // starts left of X1 by half the excess, rounded toward X1.
    const int x = x1 + (x2 - x1 - canvas.fontMetrics().horizontalAdvance(text)) / 2;
    canvas.drawText(x, y + canvas.fontMetrics().ascent(), text);
}

void TextOutRight(const QString& text, int x, int y, QPainter& canvas)
{
    canvas.drawText(x - canvas.fontMetrics().horizontalAdvance(text), y + canvas.fontMetrics().ascent(), text);
}

void NarrowFontToFit(const QString& text, int width, QPainter& canvas)
{
    canvas.setFont(NarrowedFont({text}, width, canvas.font()));
}

QFont NarrowedFont(const QStringList& lines, int width, QFont font)
{
    for (int stretch = 100; stretch > 50; stretch -= 2) {
        font.setStretch(stretch);
        if (LinesFit(lines, width, font))
            break;
    }
    return font;
}

bool LinesFit(const QStringList& lines, int width, const QFont& font)
{
    const QFontMetrics metrics(font);
    return std::all_of(lines.begin(), lines.end(),
                       [&](const QString& line) { return metrics.horizontalAdvance(line) <= width; });
}

unsigned int ShadowColour(unsigned int colour)
{
    unsigned int shadow = 0;
    for (int shift : {0, 8, 16}) {
        const unsigned int half = static_cast<unsigned int>(RoundInt(((colour >> shift) & 0xFF) / 2.0));
        shadow |= half << shift;
    }
    return shadow;
}

void TextOutShadow(const QString& text, int x1, int x2, int y, QPainter& canvas, unsigned int colour, char align)
{
    auto write = [&](int dx) {
        switch (align) {
        case 'l': canvas.drawText(x1 + dx, y + dx + canvas.fontMetrics().ascent(), text); break;
        case 'c': TextOutCentred(text, x1 + dx, x2 + dx, y + dx, canvas); break;
        case 'r': TextOutRight(text, x2 + dx, y + dx, canvas); break;
        default: break;
        }
    };
    canvas.setPen(ToQColor(ShadowColour(colour)));
    write(1);
    canvas.setPen(ToQColor(colour));
    write(0);
}

void DrawBevelFrame(int x1, int y1, int x2, int y2, QPainter& canvas)
{
    const QColor silver(192, 192, 192);
    const QColor white(255, 255, 255);
    const QColor black(0, 0, 0);

    // The filled rectangle covers X1..X2-1, Y1..Y2-1, its border in the
    // painter's own pen; the white outlines below cover that border again.
    canvas.fillRect(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)), silver);
    if (canvas.pen().style() != Qt::NoPen)
        Outline(canvas, x1, y1, x2 - 1, y2 - 1, canvas.pen().color());

    Outline(canvas, x1, y1, x2, y2, white);
    Outline(canvas, x1 + 1, y1 + 1, x2 - 1, y2 - 1, white);

    Line(canvas, x1 + 1, y2, x2, y2, black);
    Line(canvas, x1 + 2, y2 - 1, x2, y2 - 1, black);
    Line(canvas, x2, y1, x2, y2, black);
    Line(canvas, x2 - 1, y1 + 1, x2 - 1, y2, black);
    Outline(canvas, x1 + 5, y1 + 5, x2 - 5, y2 - 5, black);
    Outline(canvas, x1 + 6, y1 + 6, x2 - 6, y2 - 6, black);

    Line(canvas, x1 + 6, y2 - 5, x2 - 5, y2 - 5, white);
    Line(canvas, x1 + 7, y2 - 6, x2 - 5, y2 - 6, white);
    Line(canvas, x2 - 5, y1 + 6, x2 - 5, y2 - 6, white);
    Line(canvas, x2 - 6, y1 + 7, x2 - 6, y2 - 6, white);
}

} // namespace vk
