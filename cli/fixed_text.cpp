// Numbers in fixed columns for the commands' output, with "." whatever the locale.
#include "cli/fixed_text.h"

#include <charconv>
#include <string_view>

namespace zen::cli {

void AppendFixed(std::string& line, double value, int width, int decimals, bool unsignedZero) {
  char text[64];
  auto [end, ec] =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  size_t length = ec == std::errc() ? static_cast<size_t>(end - text) : 0;
  const char* start = text;
  if (unsignedZero && length > 1 && text[0] == '-' &&
      std::string_view(text + 1, length - 1).find_first_not_of("0.") == std::string_view::npos) {
    ++start;
    --length;
  }
  if (length < static_cast<size_t>(width)) line.append(width - length, ' ');
  line.append(start, length);
}

}  // namespace zen::cli
