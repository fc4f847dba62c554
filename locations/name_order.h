// The order of location and database names: case does not count.
#pragma once

#include <string_view>

namespace zen {

// Negative, zero or positive as a comes before, equals or comes after b with both in upper
// case. Letters of the Latin, Greek and Cyrillic alphabets fold; other characters compare by
// their code.
int CompareIgnoringCase(std::string_view a, std::string_view b);

// True when text begins with prefix, case not counting.
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);

}  // namespace zen
