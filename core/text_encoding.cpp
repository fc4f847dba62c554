// Text from files as UTF-8: valid UTF-8 is kept, anything else is read as Windows-1252.
#include "core/text_encoding.h"

namespace zen {

namespace {

void AppendUtf8(std::string& out, unsigned codePoint) {
  if (codePoint < 0x80) {
    out.push_back(static_cast<char>(codePoint));
  } else if (codePoint < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  }
}

// Windows-1252 0x80..0x9F; the five unused places map to themselves.
constexpr unsigned kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool IsContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

}  // namespace

bool IsValidUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t extra = 0;
    if (c < 0x80) {
      extra = 0;
    } else if ((c & 0xE0) == 0xC0 && c >= 0xC2) {
      extra = 1;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2;
    } else if ((c & 0xF8) == 0xF0 && c <= 0xF4) {
      extra = 3;
    } else {
      return false;
    }
    if (i + extra >= s.size()) return false;
    for (size_t k = 1; k <= extra; ++k) {
      if (!IsContinuation(static_cast<unsigned char>(s[i + k]))) return false;
    }
    // The second byte's range after these leads rules out overlong forms, the surrogates
    // (which no text may hold) and code points past U+10FFFF.
    if (extra > 0) {
      const unsigned char second = static_cast<unsigned char>(s[i + 1]);
      if ((c == 0xE0 && second < 0xA0) || (c == 0xED && second >= 0xA0) ||
          (c == 0xF0 && second < 0x90) || (c == 0xF4 && second >= 0x90)) {
        return false;
      }
    }
    i += extra + 1;
  }
  return true;
}

std::string ToUtf8(const std::string& bytes) {
  if (IsValidUtf8(bytes)) return bytes;
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 4);
  for (unsigned char c : bytes) {
    unsigned cp = c;
    if (c >= 0x80 && c <= 0x9F) cp = kCp1252High[c - 0x80];
    AppendUtf8(out, cp);
  }
  return out;
}

std::string ToWindows1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    // The length of the valid character at i, 0 when the byte at i does not start one.
    size_t length = 0;
    for (size_t n = 1; n <= 4 && i + n <= utf8.size(); ++n) {
      if (IsValidUtf8(utf8.substr(i, n))) {
        length = n;
        break;
      }
    }
    if (length == 0) {
      out.push_back('?');
      ++i;
      continue;
    }
    unsigned cp = static_cast<unsigned char>(utf8[i]);
    if (length > 1) {
      cp &= 0x7Fu >> length;
      for (size_t k = 1; k < length; ++k) {
        cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3Fu);
      }
    }
    i += length;
    char byte = '?';
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      byte = static_cast<char>(cp);
    } else {
      // 0x80..0x9F hold the typographic characters; the five unused places read as the
      // control characters of the same value, so those go back to their byte.
      for (unsigned k = 0; k < 32; ++k) {
        if (kCp1252High[k] == cp) {
          byte = static_cast<char>(0x80 + k);
          break;
        }
      }
    }
    out.push_back(byte);
  }
  return out;
}

size_t Utf8Length(std::string_view utf8) {
  size_t count = 0;
  for (char c : utf8) {
    if (!IsContinuation(static_cast<unsigned char>(c))) ++count;
  }
  return count;
}

std::string Utf8Prefix(std::string_view utf8, size_t characters) {
  size_t end = 0;
  size_t count = 0;
  while (end < utf8.size()) {
    if (!IsContinuation(static_cast<unsigned char>(utf8[end]))) {
      if (count == characters) break;
      ++count;
    }
    ++end;
  }
  return std::string(utf8.substr(0, end));
}

std::string BlankControlCharacters(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    const unsigned char second = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0;
    const unsigned char third = i + 2 < utf8.size() ? static_cast<unsigned char>(utf8[i + 2]) : 0;
    size_t control = 0;  // the bytes of the control character at i
    if (c < 0x20 || c == 0x7F) {
      control = 1;
    } else if (c == 0xC2 && second >= 0x80 && second <= 0x9F) {
      control = 2;  // U+0080..U+009F
    } else if (c == 0xE2 && second == 0x80 && third >= 0xA8 && third <= 0xAE) {
      control = 3;  // U+2028, U+2029 and U+202A..U+202E
    } else if (c == 0xE2 && second == 0x81 && third >= 0xA6 && third <= 0xA9) {
      control = 3;  // U+2066..U+2069
    }
    if (control > 0) {
      out.push_back(' ');
      i += control;
    } else {
      out.push_back(static_cast<char>(c));
      ++i;
    }
  }
  return out;
}

std::string WithoutCutCharacter(std::string_view bytes) {
  // A character is at most four bytes: its start lies within the last three.
  for (size_t back = 1; back <= 3 && back <= bytes.size(); ++back) {
    const unsigned char c = static_cast<unsigned char>(bytes[bytes.size() - back]);
    if (IsContinuation(c)) continue;
    const std::string_view kept = bytes.substr(0, bytes.size() - back);
    if (c >= 0xC0 && !IsValidUtf8(bytes) && IsValidUtf8(kept)) return std::string(kept);
    break;
  }
  return std::string(bytes);
}

}  // namespace zen
