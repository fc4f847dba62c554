// Decimal numbers in the location texts: "." always, whatever the locale.
#include "locations/number_text.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace zen {

bool ReadDecimal(std::string_view text, double& value) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // A digit or a point must follow: from_chars would take "inf", "nan" and a second sign.
  if (i == text.size() || !((text[i] >= '0' && text[i] <= '9') || text[i] == '.')) return false;
  double parsed = 0.0;
  const char* end = text.data() + text.size();
  const auto [rest, ec] = std::from_chars(text.data() + i, end, parsed);
  if (ec != std::errc() || rest != end || !std::isfinite(parsed)) return false;
  value = negative ? -parsed : parsed;
  return true;
}

double RoundSignificant(double x, int digits) {
  if (x == 0.0 || !std::isfinite(x) || digits < 1) return x;
  // The decimal text of the scientific form rounds correctly, which scaling by powers of ten
  // would not always do.
  char buffer[64];
  const auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific, digits - 1);
  if (ec != std::errc()) return x;
  double rounded = x;
  std::from_chars(buffer, end, rounded);
  return rounded;
}

}  // namespace zen
