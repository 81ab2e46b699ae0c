// Animations shown in the game's windows, on their teal and navy backgrounds.
#include "animations.h"
#include "paint.h"

std::vector<Animation> windowAnimations()
{
    return {};
}
