// The side panel's counts: thousands separated by commas whatever the locale, and which list's
// count comes first.
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

TEST(ListCounts, TheListInViewComesFirstAndTheFilterShowsItsMatches) {
  const TListCounts plain{31185, 31185, 200, 200, false};
  const TListCounts filtered{31185, 1204, 200, 12, true};
  const struct {
    TListTab tab;
    TListCounts counts;
    const char* row;
    const char* tip;
  } cases[] = {
      {TListTab::Loaded, plain, "31,185 loaded\n200 tracked", "31,185 loaded"},
      {TListTab::Tracked, plain, "200 tracked\n31,185 loaded", "200 tracked"},
      {TListTab::Loaded, filtered, "1,204 of 31,185\n200 tracked",
       "31,185 loaded; filter: 1,204 of 31,185"},
      {TListTab::Tracked, filtered, "12 of 200\n31,185 loaded",
       "200 tracked; filter: 12 of 200"},
      {TListTab::Info, filtered, "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FilterRowCountText(c.tab, c.counts), c.row);
    EXPECT_EQ(ListCountText(c.tab, c.counts), c.tip);
  }
}

}  // namespace
}  // namespace zen
