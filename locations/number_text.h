// Decimal numbers in the location texts: "." always, whatever the locale.
#pragma once

#include <string>
#include <string_view>

#include "core/numeric.h"  // FixedText

namespace zen {

// A decimal number with optional leading blanks and sign and nothing after it ("12", "-0.5",
// " 1e3"); false, with value untouched, for anything else, infinities and NaN included.
bool ReadDecimal(std::string_view text, double& value);


// x rounded to the given number of significant digits (x itself when it is 0 or not finite).
double RoundSignificant(double x, int digits);

}  // namespace zen
