// Text from files as UTF-8: the Windows-1252 fallback and cutting between characters.
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
      {"plain ASCII", "plain ASCII"},
      {"\u00B0 ok", "\u00B0 ok"},
      {"\xF0\x9F\x9B\xB0 sat", "\xF0\x9F\x9B\xB0 sat"},
      {"\x80", "\u20AC"},
      {"\x8A\x9A", "\u0160\u0161"},
      {"\x9F", "\u0178"},
      {"\x81\x8D\x8F\x90\x9D", "\u0081\u008D\u008F\u0090\u009D"},
      {"\xA0\xE9\xFF", "\u00A0\u00E9\u00FF"},
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

size_t Characters(const std::string& utf8) {
  size_t n = 0;
  for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
  return n;
}

TEST(TextEncoding, PrefixesEndBetweenCharacters) {
  const std::string texts[] = {"", "ASCII only text", "\u00C9\u00C9\u00C9\u00C9",
                               "a\u20ACb\U0001F6F0c\u00E9", "\U0001F6F0\U0001F6F0"};
  for (const std::string& text : texts) {
    for (size_t n = 0; n <= Characters(text) + 1; ++n) {
      const std::string prefix = Utf8Prefix(text, n);
      EXPECT_TRUE(IsValidUtf8(prefix)) << text << " " << n;
      EXPECT_EQ(Characters(prefix), std::min(n, Characters(text))) << text << " " << n;
      EXPECT_EQ(text.compare(0, prefix.size(), prefix), 0) << text << " " << n;
    }
  }
}

}  // namespace
}  // namespace zen
