#pragma once
// The focus ring of the controls the program paints itself: a dashed
// yellow line over a black one, seen on light and dark pictures alike.
#include <QPainter>
#include <QPen>
#include <QRect>

namespace vk {

inline void DrawFocusRing(QPainter& p, const QRect& area)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    const QRect ring = area.adjusted(1, 1, -2, -2);
    p.setPen(QPen(Qt::black, 2));
    p.drawRect(ring);
    QPen dashes(QColor(255, 255, 0), 2, Qt::DashLine);
    p.setPen(dashes);
    p.drawRect(ring);
    p.restore();
}

} // namespace vk
