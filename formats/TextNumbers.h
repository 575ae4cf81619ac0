#pragma once

#include <cstdint>
#include <string_view>

namespace nuvisca {

// Integer value of UTF-8 text: leading blanks skipped, an optional sign, then decimal
// digits up to the first other character; 0 without a digit. Saturates at the int32 range.
std::int32_t intValue(std::string_view text);

// Decimal value of UTF-8 text: leading blanks skipped, then a decimal number (optional sign,
// digits with an optional point, optional exponent) rounded once to single precision; the
// rest is ignored; 0 when the text does not start with a number. Never reads past the text.
float floatValue(std::string_view text);

}  // namespace nuvisca
