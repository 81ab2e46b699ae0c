#pragma once
// Reading the club servers' replies.  A reply is plain text searched as a
// whole: two-letter result codes, "$"-framed records split into words, and
// numbers at the end.  The last byte of a reply never belongs to a record.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vk {

// True when the two-letter code occurs, case-sensitively, in the part of the
// reply before its first "$" (the whole reply when it has none).  Data never
// counts: a record holding "Unknown" or "nora@..." is not a refusal.
bool ResultCode(std::string_view response, std::string_view code);

// The text after the first "$" that is not the last byte, up to the next "$"
// or, without one, up to the byte before the last.
std::optional<std::string> DollarRecord(std::string_view response);

// Every "$" that is not the last byte opens a record running to the next "*"
// (or to the byte before the last); scanning goes on after that "$".
std::vector<std::string> StarRecords(std::string_view response, std::size_t limit);

// The digits right after the last "$" that is not the last byte, never taking
// the last byte itself; no sign.  Nothing when no digit follows.
std::optional<std::int32_t> TrailingNumber(std::string_view response);

// Splits at every separator; adjacent separators give empty words, so each
// word keeps its number.  Word 1 is element 0.
std::vector<std::string> SplitWords(std::string_view record, char separator);

// The word with the given number (from 1), when the record has it.
const std::string* Word(const std::vector<std::string>& words, std::size_t number);
// Reads integer word `number` into `field`; a missing word leaves the field
// as it was, a word that is no number fails.
bool TakeInteger(const std::vector<std::string>& words, std::size_t number, std::int32_t& field);
// Text word `number` into `field`; a missing word leaves the field.
void TakeText(const std::vector<std::string>& words, std::size_t number, std::string& field);

// A decimal integer word: optional "-", digits, nothing else, within 32 bits.
std::optional<std::int32_t> IntegerWord(std::string_view word);

// Blanks, "-" and digits; the first other byte, whatever it is, is the decimal
// point.  Empty text gives the default; anything that is not then a plain
// decimal number gives nothing, and the reading request fails.
std::optional<double> TextToFloat(std::string_view text, double defaultValue);

// Fixed point, at most 15 significant digits, no trailing zeros, "." as the
// point whatever the locale; "0" below 0.00001; exponent form from 1E15 up.
std::string FloatToText(double x);

} // namespace vk
