// Text from files as UTF-8: the Windows-1252 fallback.
#include <gtest/gtest.h>

#include <string>

#include "core/text_encoding.h"

namespace zen {
namespace {

struct EncodingCase {
  std::string bytes;
  std::string utf8;
};

// Windows-1252 places from the published code page, and UTF-8 that must pass unchanged.
TEST(TextEncoding, SingleByteTextBecomesUtf8AndUtf8IsKept) {
  const EncodingCase cases[] = {
      {"\u00B0 ok \xF0\x9F\x9B\xB0", "\u00B0 ok \xF0\x9F\x9B\xB0"},
      {"\x80\x8A\x9F\x81\xE9", "\u20AC\u0160\u0178\u0081\u00E9"},
      {"\xC3", "\u00C3"},                                // a cut sequence
      {"\xC0\x80", "\u00C0\u20AC"},                      // an overlong form
      {"\xED\xA0\x80", "\u00ED\u00A0\u20AC"},            // a surrogate
      {"\xE0\x80\x80", "\u00E0\u20AC\u20AC"},            // an overlong form of three bytes
      {"\xF4\x90\x80\x80", "\u00F4\u0090\u20AC\u20AC"},  // past U+10FFFF
  };
  for (const EncodingCase& c : cases) {
    const std::string converted = ToUtf8(c.bytes);
    EXPECT_EQ(converted, c.utf8) << c.bytes;
    EXPECT_TRUE(IsValidUtf8(converted)) << c.bytes;
    EXPECT_EQ(ToUtf8(converted), converted) << c.bytes;
  }
}

// Every single byte read as Windows-1252 and written back is the same byte again.
TEST(TextEncoding, Windows1252RoundTripsEveryByte) {
  for (int b = 1; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    EXPECT_EQ(ToWindows1252(ToUtf8(byte)), byte) << b;
  }
}

TEST(TextEncoding, CharactersOutsideWindows1252BecomeOneQuestionMarkEach) {
  // U+0141 and U+2192 have no place in the code page, the emoji is four bytes, \xC3 alone and
  // \xFF are not UTF-8.
  EXPECT_EQ(ToWindows1252("\u0141\u00F3d\u017A \u2192 \xF0\x9F\x9B\xB0!"),
            "?\xF3"
            "d? ? ?!");
  EXPECT_EQ(ToWindows1252("a\xC3"
                          "b\xFF"),
            "a?b?");
  EXPECT_EQ(Utf8Length("\u0141\u00F3d\u017A \xF0\x9F\x9B\xB0"), 6u);
}

struct BlankCase {
  const char* what;
  std::string utf8;
  std::string shown;
};

// Each character that acts on a terminal or on the lines of a text becomes one blank; its
// printable neighbours in the code charts, on both sides of each range, pass unchanged.
TEST(TextEncoding, ControlCharactersBecomeOneBlankEach) {
  const BlankCase cases[] = {
      {"NUL, BEL, TAB", std::string("A\0B\aC\tD", 7), "A B C D"},
      {"an escape sequence", "\x1B[2J\x1B]0;X\x07Y", " [2J ]0;X Y"},
      {"CR, LF and the unit separator", "A\r\nB\x1F", "A  B "},
      {"DEL, and the blank and tilde beside it", "~\x7F ", "~  "},
      {"C1: first, NEL, CSI, last", "\u0080\u0085\u009B\u009F", "    "},
      {"beside C1: no-break space and the copyright sign", "\u00A0\u00A9", "\u00A0\u00A9"},
      {"line and paragraph separators", "A\u2028B\u2029", "A B "},
      {"embeddings and overrides",
       "\u202A\u202B\u202C\u202D\u202E"
       "abc",
       "     abc"},
      {"isolates", "\u2066\u2067\u2068\u2069", "    "},
      {"beside them: a right-to-left mark, hyphenation point, per mille, narrow no-break space",
       "\u200F\u2027\u2030\u202F", "\u200F\u2027\u2030\u202F"},
      {"beside the isolates", "\u2065\u206A\u20AC", "\u2065\u206A\u20AC"},
      {"four-byte characters pass", "\xF0\x9F\x9B\xB0", "\xF0\x9F\x9B\xB0"},
  };
  for (const BlankCase& c : cases) {
    const std::string shown = BlankControlCharacters(c.utf8);
    EXPECT_EQ(shown, c.shown) << c.what;
    EXPECT_EQ(Utf8Length(shown), Utf8Length(c.utf8)) << c.what << ": one blank a character";
  }
}

}  // namespace
}  // namespace zen
