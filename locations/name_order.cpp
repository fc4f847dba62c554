// The order of location and database names: case does not count.
#include "locations/name_order.h"

#include <cstddef>

namespace zen {

namespace {

// The code point starting at text[i]; i moves past it. A byte that does not start a valid
// sequence stands for itself, so any bytes compare without failing.
char32_t NextCodePoint(std::string_view text, size_t& i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  size_t length = 1;
  char32_t c = lead;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    c = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    c = lead & 0x07;
  }
  if (length > 1 && i + length <= text.size()) {
    bool valid = true;
    for (size_t k = 1; k < length && valid; ++k) {
      valid = (byte(i + k) & 0xC0) == 0x80;
      c = (c << 6) | (byte(i + k) & 0x3F);
    }
    if (valid) {
      i += length;
      return c;
    }
  }
  ++i;
  return lead;
}

char32_t Upper(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 0x20;
  if (c < 0xB5) return c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  if (c == 0xFF) return 0x178;
  // Latin Extended-A pairs upper and lower case letters, the upper one first.
  if (c >= 0x100 && c <= 0x137) return (c & 1) ? c - 1 : c;
  if (c >= 0x139 && c <= 0x148) return (c & 1) ? c : c - 1;
  if (c >= 0x14A && c <= 0x177) return (c & 1) ? c - 1 : c;
  if (c >= 0x179 && c <= 0x17E) return (c & 1) ? c : c - 1;
  if (c == 0x3C2) return 0x3A3;  // final sigma
  if (c >= 0x3B1 && c <= 0x3C9) return c - 0x20;
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  return c;
}

}  // namespace

int CompareIgnoringCase(std::string_view a, std::string_view b) {
  size_t i = 0;
  size_t j = 0;
  while (i < a.size() && j < b.size()) {
    const char32_t x = Upper(NextCodePoint(a, i));
    const char32_t y = Upper(NextCodePoint(b, j));
    if (x != y) return x < y ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  size_t i = 0;
  size_t j = 0;
  while (j < prefix.size()) {
    if (i >= text.size()) return false;
    if (Upper(NextCodePoint(text, i)) != Upper(NextCodePoint(prefix, j))) return false;
  }
  return true;
}

}  // namespace zen
