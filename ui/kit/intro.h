#pragma once
// The four steps of the intro: two animations with their sounds, the title
// picture growing out of the centre, and the animations that loop around the
// title until the player clicks or presses a key.
#include <QString>

#include "common/layout.h"

namespace vk {

class PictureBox;
class AnimationPlayer;

struct IntroSurfaces {
    PictureBox* Image1 = nullptr;
    AnimationPlayer* RxGIFAn1 = nullptr;
    AnimationPlayer* RxGIFAn2 = nullptr;
    AnimationPlayer* RxGIFAn3 = nullptr;
};

struct IntroTexts {
    QString fontFamily;
    QString releaseDate;
    QString credit;
    QString version;
};

// Steps 1 and 2 return false when their animation could not be shown, so the
// caller moves on instead of waiting for a last frame that never comes.
bool IntroStep1(const IntroSurfaces& s, const Layout& layout, bool soundOn);
bool IntroStep2(const IntroSurfaces& s, const Layout& layout, bool soundOn);
void IntroStep3(const IntroSurfaces& s, const Layout& layout, const IntroTexts& texts);
void IntroStep4(const IntroSurfaces& s, const Layout& layout);

// Fills the picture control black, one pixel beyond each edge.
void FillBlack(PictureBox& box, int width, int height);

} // namespace vk
