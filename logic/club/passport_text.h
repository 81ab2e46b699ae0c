#pragma once
// The check of the texts a player shows to others on the club's boards and
// in the chat: a nick, a city, a single typed character.
#include <string_view>

namespace vk {

enum PassportTextMode { PassportCharacter = 0, PassportNick = 1, PassportCity = 2 };

// 1 refused, 2 accepted with Cyrillic letters, 3 accepted without.  The
// text is in Windows-1251; a nick holds 2 to 12 characters, a city 2 to
// 15, of Latin and Cyrillic letters, digits and ! ( ) , - . ? _ @.
int CheckPassportText(std::string_view cp1251, int mode);

// The same for text as Unicode code points: anything the code page cannot
// hold (an emoji, a Chinese character) is a refused character, never a "?"
// that would pass.
int CheckPassportTextUnicode(std::u32string_view text, int mode);

} // namespace vk
