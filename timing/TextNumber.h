// The three ways the program turns a field's text into a number. Every field reader goes through
// these, so a text means the same thing wherever it is read.
#pragma once

#include <cstdint>
#include <string_view>

namespace timing {

// Leading white space, an optional sign, then decimal digits up to the first other character;
// 0 without digits ("65.0000" gives 65). Values beyond the int range are clamped.
int32_t ParseDecimalInt(std::string_view text);

// Leading white space, an optional sign, an optional "0x" prefix, then hexadecimal digits of
// either case; 0 without digits. The result is the low 32 bits of the (signed) value.
uint32_t ParseHex(std::string_view text);

// A decimal floating-point number such as 59.94; 0 when there is none. Infinities and NaN
// count as no number, so they never reach an integer conversion.
double ParseDecimalNumber(std::string_view text);

// A decimal number times 100, truncated toward zero, as the x100 fields store it (59.94 gives
// 5994). Out-of-range values are clamped to the int range before the truncation.
int32_t Hundredths(std::string_view text);

}  // namespace timing
