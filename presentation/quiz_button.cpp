#include "presentation/quiz_button.h"

namespace vk {

TTevQuizButton::TTevQuizButton(QWidget* parent) : QPushButton(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(100, 30);
}

void TTevQuizButton::SetColorSB(TColorSB value)
{
    if (value == FColorSB)
        return;
    FColorSB = value;
    update();
}

void TTevQuizButton::SetHeightSB(THeightSB value)
{
    if (value == FHeightSB)
        return;
    FHeightSB = value;
    static constexpr int kHeights[] = {30, 45, 60};
    resize(width(), kHeights[value]);
    update();
}

void TTevQuizButton::SetKLightSB(unsigned char value)
{
    if (value == FKLightSB)
        return;
    FKLightSB = value;
    update();
}

void TTevQuizButton::SetFontColor(unsigned int value)
{
    FFontColor = value;
    update();
}

} // namespace vk
