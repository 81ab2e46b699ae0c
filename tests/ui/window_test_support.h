#pragma once
// What the local windows' tests share: the background the windows dress
// themselves with, grabbing a window for the eye, and answering a modal
// window from a timer.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "ui/kit/dressing.h"
#include "window_input.h"

namespace testsupport {

// The window background as the main window has it at the small size.
inline QImage Background()
{
    QImage bg;
    vk::LoadJpegRes(QStringLiteral("BG"), bg);
    return bg.scaled(760, 500);
}

// Saves the window's look as <build>/artifacts/<name>.png.
inline bool SaveGrab(QWidget& window, const QString& name)
{
    const QString dir = QStringLiteral(VOKABRON_BUILD_DIR "/artifacts");
    return QDir().mkpath(dir) && window.grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

// The control of Window named Name (a window's numbered name, which each
// control keeps as its object name), as a screen reader or a search finds
// it; a missing one stops the test at once, naming it.
template <typename W>
W* Find(QWidget& window, const char* name)
{
    W* found = window.findChild<W*>(QLatin1String(name));
    if (!found)
        qFatal("%s has no %s named %s", qPrintable(window.objectName()), W::staticMetaObject.className(), name);
    return found;
}

// Runs Answer on the modal widget of type W as soon as it is up.
template <typename W>
void AnswerModal(std::function<void(W*)> answer)
{
    QTimer::singleShot(0, [answer] {
        auto* modal = qobject_cast<W*>(QApplication::activeModalWidget());
        if (!modal) {
            AnswerModal<W>(answer);
            return;
        }
        answer(modal);
    });
}

// Types Text into the widget as the keyboard would: the widget takes the
// focus, and key presses carrying the characters reach it through its
// window, past the window's and the application's filters.
inline void TypeText(QWidget* widget, const QString& text)
{
    input::Focus(widget);
    input::Type(widget, text);
}

// Pixels of exactly Colour inside Rect of Image.
inline int CountColour(const QImage& image, const QRect& rect, const QColor& colour)
{
    int n = 0;
    const QRect r = rect.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (QColor(image.pixel(x, y)).rgb() == colour.rgb())
                ++n;
    return n;
}

} // namespace testsupport
