// Numbers in fixed columns for the commands' output, with "." whatever the locale.
#include "cli/fixed_text.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace zen::cli {

namespace {

// Room for the largest double in fixed notation (309 digits) with a sign and the decimals the
// commands use.
constexpr size_t kFixedTextSize = 400;

// The value's fixed text in text; its length, or 0 when it does not fit the buffer.
size_t FixedText(char (&text)[kFixedTextSize], double value, int decimals) {
  auto [end, ec] =
      std::to_chars(text, text + kFixedTextSize, value, std::chars_format::fixed, decimals);
  return ec == std::errc() ? static_cast<size_t>(end - text) : 0;
}

}  // namespace

void AppendFixed(std::string& line, double value, int width, int decimals, bool unsignedZero) {
  char text[kFixedTextSize];
  size_t length = FixedText(text, value, decimals);
  const char* start = text;
  if (unsignedZero && length > 1 && text[0] == '-' &&
      std::string_view(text + 1, length - 1).find_first_not_of("0.") == std::string_view::npos) {
    ++start;
    --length;
  }
  if (length < static_cast<size_t>(width)) line.append(width - length, ' ');
  line.append(start, length);
}

bool FitsFixed(double value, int width, int decimals) {
  if (!std::isfinite(value)) return false;
  char text[kFixedTextSize];
  const size_t length = FixedText(text, value, decimals);
  return length > 0 && length <= static_cast<size_t>(width);
}

}  // namespace zen::cli
