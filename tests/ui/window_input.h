#pragma once
// A player's input, delivered the way the platform delivers it: to the
// window (QWindow) under the pointer or with the keyboard focus, never to a
// widget's handler.  Qt turns it into the widget events itself, so context
// menus, event filters, focus, enter/leave and modal blocking behave as on a
// desktop, and a filter that swallows input is seen by the tests.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>
#include <QtTest>

namespace input {

// The platform window of the top-level window Widget lies in.
inline QWindow* WindowOf(QWidget* widget)
{
    QWidget* top = widget->window();
    if (!top->windowHandle())
        top->winId();
    return top->windowHandle();
}

// At: a point of Widget (its centre when left out), in its window's pixels.
inline QPoint InWindow(QWidget* widget, QPoint at)
{
    return widget->mapTo(widget->window(), at.isNull() ? widget->rect().center() : at);
}

inline void Click(QWidget* widget, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers modifiers = {},
                  QPoint at = {})
{
    QTest::mouseClick(WindowOf(widget), button, modifiers, InWindow(widget, at));
}

inline void Press(QWidget* widget, Qt::MouseButton button = Qt::LeftButton, QPoint at = {})
{
    QTest::mousePress(WindowOf(widget), button, {}, InWindow(widget, at));
}

inline void Release(QWidget* widget, Qt::MouseButton button = Qt::LeftButton, QPoint at = {})
{
    QTest::mouseRelease(WindowOf(widget), button, {}, InWindow(widget, at));
}

inline void Move(QWidget* widget, QPoint at = {}) { QTest::mouseMove(WindowOf(widget), InWindow(widget, at)); }

// Turns the mouse wheel over At of Widget by Notches (120 eighths of a
// degree each; positive away from the player).  QTest has no wheel: the
// event goes to the window, which hands it to the widget under the pointer.
inline void Wheel(QWidget* widget, int notches, QPoint at = {})
{
    const QPointF local = InWindow(widget, at);
    QWheelEvent event(local, WindowOf(widget)->mapToGlobal(local), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(WindowOf(widget), &event);
}

// Puts the keyboard focus on Widget, as a Tab or a click would, so the
// keys that follow reach it through its window.
inline void Focus(QWidget* widget)
{
    widget->window()->activateWindow();
    widget->setFocus(Qt::OtherFocusReason);
}

// A key pressed and released in the window that holds Widget; it reaches
// whatever has the focus there (Widget itself after Focus).
inline void Key(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
{
    QTest::keyClick(WindowOf(widget), key, modifiers);
}

inline void KeyRelease(QWidget* widget, Qt::Key key) { QTest::keyRelease(WindowOf(widget), key); }

// Types Text into the window that holds Widget, one character a key press
// and release carrying it (QTest's own typing knows only Latin-1 keys).
inline void Type(QWidget* widget, const QString& text)
{
    QWindow* window = WindowOf(widget);
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, window, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

// The popup menu open now, if any.
inline QMenu* OpenPopup() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }

// A right click at At of Widget; the popup it opened, or null.
inline QMenu* RightClick(QWidget* widget, QPoint at = {})
{
    Click(widget, Qt::RightButton, {}, at);
    QCoreApplication::processEvents();
    return OpenPopup();
}

// Clicks Item in the open popup Menu, as the pointer would.  Whatever the
// item starts (a modal window, a question) runs inside this call.
inline void ChooseItem(QMenu* menu, QAction* item)
{
    const QPoint at = menu->actionGeometry(item).center();
    QTest::mouseMove(WindowOf(menu), at);
    QTest::mouseClick(WindowOf(menu), Qt::LeftButton, {}, at);
}

// Right-clicks Widget and chooses Item from the popup that opens; false
// when no popup opened, or Item is not on it or not enabled.
inline bool ChooseFromPopup(QWidget* widget, QAction* item, QPoint at = {})
{
    QPointer<QMenu> menu = RightClick(widget, at);
    if (!menu || !menu->actions().contains(item) || !item->isEnabled()) {
        if (menu)
            menu->close();
        return false;
    }
    ChooseItem(menu, item);
    return true;
}

} // namespace input
