#include "ui/kit/picture_box.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/kit/accessibility.h"
#include "ui/kit/focus_ring.h"

namespace vk {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    InstallAccessibility();
}

void PictureBox::ResizeCanvas(int width, int height)
{
    if (canvas_.width() >= width && canvas_.height() >= height && !canvas_.isNull())
        return;
    QImage grown(std::max(width, canvas_.width()), std::max(height, canvas_.height()),
                 QImage::Format_ARGB32_Premultiplied);
    grown.fill(Qt::black);
    if (!canvas_.isNull()) {
        QPainter p(&grown);
        p.drawImage(0, 0, canvas_);
    }
    canvas_ = std::move(grown);
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, canvas_);
    if (hasFocus())
        DrawFocusRing(p, rect());
}

void PictureBox::resizeEvent(QResizeEvent*) { ResizeCanvas(width(), height()); }

void PictureBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void PictureBox::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: emit clicked(); return;
    default: QWidget::keyPressEvent(event);
    }
}

} // namespace vk
