// The side panel's counts: thousands separated by commas whatever the locale.
#include <gtest/gtest.h>

#include <locale>
#include <utility>

#include "tracking/list_counts.h"

namespace zen {
namespace {

// A locale of its own that groups thousands with dots.
struct TDottedThousands : std::numpunct<char> {
  char do_thousands_sep() const override { return '.'; }
  std::string do_grouping() const override { return "\3"; }
};

TEST(ListCounts, ThousandsAreSeparatedByCommasInEveryLocale) {
  const std::locale before =
      std::locale::global(std::locale(std::locale::classic(), new TDottedThousands));
  const std::pair<int, const char*> cases[] = {
      {999, "999"}, {1000, "1,000"}, {31185, "31,185"}, {1234567, "1,234,567"}, {-4500, "-4,500"}};
  for (const auto& [count, text] : cases) EXPECT_EQ(CountText(count), text) << count;
  std::locale::global(before);
}

}  // namespace
}  // namespace zen
