#pragma once
// The pictures that stand for a player on the club's boards: the flag of a
// country code and the sex icon.
#include <QImage>
#include <string_view>

class QPainter;

namespace vk {

// The 14 x 12 flag of a code (see CountryFlagName); a null picture when the
// code does not parse.
QImage CountryFlagPicture(std::string_view code);

// Draws the flag of a code with its top-left corner at (x, y); a code that
// does not parse draws nothing.
void DrawCountryFlag(std::string_view code, int x, int y, QPainter& canvas);

// Draws the 16 x 16 face of a man for "M", of a woman for anything else.
void DrawSexIcon(std::string_view sex, int x, int y, QPainter& canvas);

} // namespace vk
