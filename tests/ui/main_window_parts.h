#pragma once
// The main window's controls as tests and benchmarks reach them: by the
// object names they keep (their numbered names), as a screen reader or a
// search finds them.  A missing one stops the run at once, naming it.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QWidget>
#include <array>

#include "ui/kit/animation_player.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"

namespace parts {

template <typename W>
W* Named(const QWidget& window, const QString& name)
{
    W* found = window.findChild<W*>(name);
    if (!found)
        qFatal("%s has no %s named %s", qPrintable(window.objectName()), W::staticMetaObject.className(),
               qPrintable(name));
    return found;
}

inline vk::TTevQuizButton* Button(const QWidget& window, const char* name)
{
    return Named<vk::TTevQuizButton>(window, QLatin1String(name));
}
inline vk::PictureBox* Picture(const QWidget& window, const char* name)
{
    return Named<vk::PictureBox>(window, QLatin1String(name));
}
inline vk::AnimationPlayer* Animation(const QWidget& window, const char* name)
{
    return Named<vk::AnimationPlayer>(window, QLatin1String(name));
}
inline QLabel* Label(const QWidget& window, const char* name) { return Named<QLabel>(window, QLatin1String(name)); }
// A popup item: GenCount, Quit, ChangeName, Help, About, N3.
inline QAction* Item(const QWidget& window, const char* name) { return Named<QAction>(window, QLatin1String(name)); }
inline QMenu* Popup(const QWidget& window) { return Named<QMenu>(window, QStringLiteral("PopupMenu1")); }

template <typename W, std::size_t N>
std::array<W*, N> Numbered(const QWidget& window, const char* stem)
{
    std::array<W*, N> found{};
    for (std::size_t i = 0; i < N; ++i)
        found[i] = Named<W>(window, QLatin1String(stem) + QString::number(i + 1));
    return found;
}

// LetterKeys(w)[k - 1] is letter key k (BLetters1 .. BLetters32).
inline std::array<vk::TTevQuizButton*, 32> LetterKeys(const QWidget& window)
{
    return Numbered<vk::TTevQuizButton, 32>(window, "BLetters");
}
// Where a control sits in its window (the member lines sit in a list of
// their own).
inline QRect InWindow(const QWidget* w) { return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size()); }
// Member lines Button1 .. Button5.
inline std::array<vk::TTevQuizButton*, 5> MemberLines(const QWidget& window)
{
    return Numbered<vk::TTevQuizButton, 5>(window, "Button");
}
// The column headings Panel1 .. Panel3.
inline std::array<vk::TTevQuizButton*, 3> Headings(const QWidget& window)
{
    return Numbered<vk::TTevQuizButton, 3>(window, "Panel");
}
// The menu's animations: SvLeft, SvRight, Man, Clock.
inline std::array<vk::AnimationPlayer*, 4> MenuAnimations(const QWidget& window)
{
    return {Animation(window, "RxGIFAnSvLeft"), Animation(window, "RxGIFAnSvRight"), Animation(window, "RxGIFAnMan"),
            Animation(window, "RxGIFAnClock")};
}

} // namespace parts
