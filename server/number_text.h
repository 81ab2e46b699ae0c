#pragma once
// Real numbers as the client writes them: fixed point, at most 15
// significant digits, no trailing zeros, "." as the point, "0" below
// 0.00001, exponent form only from 1E15 up.
#include <string>

namespace vks {

std::string FloatToText(double x);

// What a rating becomes once written and read back; ratings are stored this
// way so that the text the client was given compares equal to the stored
// value when it is sent back.
double CanonicalRating(double x);

} // namespace vks
