// The side panel's counts: thousands separated by commas whatever the locale.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "tracking/list_counts.h"

namespace zen {
namespace {

TEST(ListCounts, ThousandsAreSeparatedByCommasInEveryLocale) {
  const struct {
    int count;
    const char* text;
  } cases[] = {{0, "0"},         {7, "7"},          {999, "999"},        {1000, "1,000"},
               {1204, "1,204"},  {31185, "31,185"}, {100000, "100,000"}, {1234567, "1,234,567"},
               {-4500, "-4,500"}};
  // A locale whose own separator is another character changes nothing.
  const char* locale = std::setlocale(LC_ALL, "de_DE.UTF-8");
  for (const auto& c : cases) EXPECT_EQ(CountText(c.count), c.text) << c.count;
  EXPECT_EQ(MatchCountText(1204, 31185), "1,204 of 31,185");
  if (locale != nullptr) std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace zen
