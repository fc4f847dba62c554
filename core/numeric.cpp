// Angle, vector and fixed-column field helpers.
#include "core/numeric.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace zen {

std::string FixedText(double x, int decimals) {
  char buffer[400];
  const auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed, decimals);
  if (ec != std::errc()) return "0";
  std::string text(buffer, end);
  if (!text.empty() && text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) {
    text.erase(0, 1);
  }
  return text;
}

double Power(double x, double y) {
  if (x <= 0.0) return -1.0;
  return std::exp2(y * std::log2(x));
}

void SpacesToZeros(std::string& text) {
  for (char& c : text) {
    if (c == ' ') c = '0';
  }
}

std::string TrimBlanks(std::string_view text) {
  size_t b = 0;
  size_t e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
  return std::string(text.substr(b, e - b));
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  for (size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

namespace {

// The columns first..first+count-1 of text (1-based), shorter where the text ends, with every
// blank turned into "0". Fields are at most a few dozen characters, so a fixed buffer does.
struct FieldBuffer {
  char data[64];
  size_t size = 0;
};

FieldBuffer CopyField(std::string_view text, int first, int count) {
  FieldBuffer f;
  if (first < 1 || count <= 0) return f;
  size_t start = static_cast<size_t>(first - 1);
  for (size_t i = 0; i < static_cast<size_t>(count) && start + i < text.size() &&
                     f.size < sizeof(f.data);
       ++i) {
    char c = text[start + i];
    f.data[f.size++] = (c == ' ') ? '0' : c;
  }
  return f;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Decimal integer with an optional sign filling the whole text.
bool ParseWholeInt(const char* begin, const char* end, int64_t& value) {
  const char* p = begin;
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) {
    negative = (*p == '-');
    ++p;
  }
  if (p == end) return false;
  uint64_t magnitude = 0;
  auto [rest, ec] = std::from_chars(p, end, magnitude);
  if (ec != std::errc() || rest != end) return false;
  if (magnitude > static_cast<uint64_t>(INT64_MAX)) return false;
  value = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
  return true;
}

// Real number with "." as decimal point, optional sign and exponent, filling the whole text.
// Names such as "inf" and "nan" are not numbers in an element line.
bool ParseWholeReal(const char* begin, const char* end, double& value) {
  const char* p = begin;
  if (p < end && (*p == '+' || *p == '-')) ++p;
  const char* mantissa = p;
  bool digits = false;
  while (p < end && IsDigit(*p)) {
    ++p;
    digits = true;
  }
  if (p < end && *p == '.') {
    ++p;
    while (p < end && IsDigit(*p)) {
      ++p;
      digits = true;
    }
  }
  if (!digits) return false;
  if (p < end && (*p == 'e' || *p == 'E')) {
    ++p;
    if (p < end && (*p == '+' || *p == '-')) ++p;
    if (p == end || !IsDigit(*p)) return false;
    while (p < end && IsDigit(*p)) ++p;
  }
  if (p != end) return false;
  double magnitude = 0.0;
  auto [rest, ec] = std::from_chars(mantissa, end, magnitude);
  if (ec != std::errc() && ec != std::errc::result_out_of_range) return false;
  if (rest != end) return false;
  value = (*begin == '-') ? -magnitude : magnitude;
  return true;
}

}  // namespace

int64_t IntField(std::string_view text, int first, int count) {
  FieldBuffer f = CopyField(text, first, count);
  if (f.size == 0) return 0;
  int64_t value = 0;
  if (!ParseWholeInt(f.data, f.data + f.size, value)) return 0;
  return value;
}

double RealField(std::string_view text, int first, int count) {
  FieldBuffer f = CopyField(text, first, count);
  if (f.size == 0) return 0.0;
  double value = 0.0;
  if (!ParseWholeReal(f.data, f.data + f.size, value)) return 0.0;
  return value;
}

bool StrictInt(std::string_view text, int64_t& value) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  int64_t parsed = 0;
  if (!ParseWholeInt(text.data() + i, text.data() + text.size(), parsed)) return false;
  value = parsed;
  return true;
}

bool PointInRect(int x, int y, int left, int bottom, int right, int top) {
  return left < x && x < right && top < y && y < bottom;
}

double DopplerShift(double f0, double rangeRateKmPerS) {
  return f0 * (1.0 - rangeRateKmPerS / kSpeedOfLightKmPerS);
}

}  // namespace zen
