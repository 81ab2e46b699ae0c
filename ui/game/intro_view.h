#pragma once
// The intro of the main window: two animations with their sounds, the title
// picture growing out of the centre, and the animations that loop around
// the title until the player clicks or presses a key.  The phases and when
// each may run are the window's (logic/game/intro_flow.h); this view shows
// them.
#include <QObject>
#include <QString>
#include <functional>

#include "common/layout.h"

class QWidget;

namespace vk {

class PictureBox;
class AnimationPlayer;

struct IntroTexts {
    QString fontFamily;
    QString releaseDate;
    QString credit;
    QString version;
};

class IntroView : public QObject {
    Q_OBJECT
public:
    explicit IntroView(QWidget* window);

    // Steps 1 and 2 return false when their animation could not be shown,
    // so the caller moves on instead of waiting for a last frame that never
    // comes.
    bool Step1(const Layout& layout, bool soundOn);
    bool Step2(const Layout& layout, bool soundOn);
    // The title grows out of the centre; `done` runs once it is whole.
    void Step3(const Layout& layout, const IntroTexts& texts, std::function<void()> done);
    void Step4(const Layout& layout);

    // The first animation has shown its last frame: it stops, and the
    // black surface under it is shown again at once.
    void StopFirstAnimation();
    int FirstAnimationFrames() const;
    // The surface follows the window's new size while it is shown.
    void FitSurface(const Layout& layout);
    // The surface is shown again (the fonts have changed under it).
    void UpdateSurface();
    // The intro is over: the animations stop and the surface, as large as
    // the window, is let go.
    void End();

signals:
    // The first animation's frame report.
    void frameChanged(int frameIndex);
    // A click on the intro's surface.
    void clicked();

private:
    PictureBox* surface = nullptr;              // Image1
    AnimationPlayer* firstAnimation = nullptr;  // RxGIFAn1
    AnimationPlayer* leftAnimation = nullptr;   // RxGIFAn2
    AnimationPlayer* bottomAnimation = nullptr; // RxGIFAn3
};

} // namespace vk
