// Numbers in fixed columns for the commands' output, with "." whatever the locale.
#pragma once

#include <string>

namespace zen::cli {

// Appends value in fixed notation with `decimals` decimals, right-aligned in `width`
// characters. With unsignedZero a value that rounds to zero loses its "-".
void AppendFixed(std::string& line, double value, int width, int decimals,
                 bool unsignedZero = false);

// Whether value in fixed notation with `decimals` decimals takes at most `width` characters.
bool FitsFixed(double value, int width, int decimals);

}  // namespace zen::cli
