#pragma once
// What the server accepts in each field, on Windows-1251 bytes.  These mirror
// the client's own checks (account fields, passport texts, the chat's
// character set, the card editor's limits) and add what keeps every echoed
// word safe for the client's readers: no "$", "*", "~" or blank where the
// readers split.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vks {

// Latin letters, digits and the nine signs ! ( ) , - . ? _ @
bool IsNickChar(unsigned char c);
// Cyrillic letters А..я, Ё, ё
bool IsCyrillic(unsigned char c);

// Every byte of text is a nick character (or Cyrillic when allowed), and the
// length in bytes is within [minLen, maxLen].
bool IsNickText(std::string_view text, std::size_t minLen, std::size_t maxLen, bool cyrillic = false);

bool ValidMemberNick(std::string_view nick);    // 2..12 nick characters
bool ValidNewMemberNick(std::string_view nick); // the same without "?"
bool ValidPassword(std::string_view pw);        // 4..12 nick characters
bool ValidCity(std::string_view city);          // 2..15, Cyrillic allowed
bool ValidEmail(std::string_view email);        // 3..30, first "@" at 2.. and not last
bool ValidReserved(std::string_view text);      // <= 15 bytes, no blank $ * ~
bool ValidClientTag(std::string_view text);     // 1..32 of letters, digits _ . -
bool ValidVersion(std::string_view text);       // 1..8 of digits and "."
bool ValidLoginStamp(std::string_view text);    // YYYYMMDDhhmm, a real moment
bool ValidSex(std::string_view text);           // "M" or "W"

// Passport texts of the world top ten and chat: 1 refused, 2 with Cyrillic,
// 3 without.  Mode 1 nick (2..12), mode 2 city (2..15).
int PassportClass(std::string_view text, int mode);

// Card fields in wire order; returns the byte limit of field i (0..13).
std::size_t CardFieldLimit(int index);
bool IsCardLinkField(int index);
bool ValidCardField(int index, std::string_view value);

// Decimal integer exactly as the client writes it: "-"? digits, no "+", no
// blanks, no leading zeros except "0" itself; within [lo, hi].
std::optional<std::int64_t> ParseInteger(std::string_view text, std::int64_t lo, std::int64_t hi);

// A real number as the client writes ratings: -?D{1,16}(.D{1,16})?
std::optional<double> ParseReal(std::string_view text);

} // namespace vks
