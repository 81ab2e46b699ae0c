#include "ui/kit/window_busy.h"

#include <QApplication>
#include <QKeyEvent>

namespace vk {

WindowBusy::WindowBusy(QWidget* window) : QObject(window), window_(window)
{
    // A window that closes is not waiting for anything any more.
    window->installEventFilter(this);
}

WindowBusy::~WindowBusy()
{
    while (depth_ > 0)
        End();
}

void WindowBusy::Begin()
{
    if (depth_++ > 0)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    qApp->installEventFilter(this);
}

void WindowBusy::End()
{
    if (depth_ == 0 || --depth_ > 0)
        return;
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
}

bool WindowBusy::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_ && event->type() == QEvent::Hide && !event->spontaneous()) {
        while (depth_ > 0)
            End();
        return false;
    }
    // The filter stays on the window between waits (for the Hide above): with
    // nothing running, every event goes on.
    if (depth_ == 0)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::Shortcut:
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || !window_ || widget->window() != window_)
            return false;
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
                return false;
        }
        return true;
    }
    default: return false;
    }
}

} // namespace vk
