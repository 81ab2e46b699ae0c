#pragma once
// The check of the texts a player shows to others on the club's boards and
// in the chat: a nick, a city, a single typed character.
#include <optional>
#include <string_view>

#include "common/messages.h"

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

// The rule to show for a nick or city (`mode`) of class `textClass`, in the
// account window's words; nothing for a text that is fine.  A nick with
// Cyrillic letters stands in the passport but is not sent with a result,
// so it has a rule too.
std::optional<Msg> PassportRule(int textClass, int mode);

// Why a result with this passport cannot be sent: the first rule the nick
// or the city breaks (nothing: it may go).
std::optional<Msg> PassportSendBlocked(std::string_view cp1251Nick, std::string_view cp1251City);

} // namespace vk
