// The sort of a results table: events ordered by their time text, each event's rows moved
// together, progress by the outer levels of the recursion, a terminate obeyed.
#include <gtest/gtest.h>

#include <algorithm>

#include "prediction/result_sort.h"

namespace zen {
namespace {

// Rows of events whose key rows fall on the given minutes of a day; every row of event i
// carries i in its sat text, so a row that strays from its event shows.
TResultRows RowsOfMinutes(const std::vector<int>& minutes, bool full) {
  TResultRows rows;
  for (size_t i = 0; i < minutes.size(); ++i) {
    TFound found;
    found.time = TDateRec{
        2026, 2, 11, static_cast<uint16_t>(minutes[i] / 60), static_cast<uint16_t>(minutes[i] % 60),
        0,    0};
    found.sat = std::to_string(i);
    if (!full) {
      rows.push_back(found);
      continue;
    }
    TFound rise = found;
    rise.time.second = 1;  // keys come from the culmination row only
    TFound set = found;
    set.time.second = 2;
    rows.insert(rows.end(), {rise, found, set, std::nullopt});
  }
  return rows;
}

struct TSortCase {
  std::vector<int> minutes;
  bool full;
};

class ResultSort : public testing::TestWithParam<TSortCase> {};

TEST_P(ResultSort, OrdersEventsByTimeAndKeepsTheirRowsTogether) {
  const TSortCase c = GetParam();
  TResultRows rows = RowsOfMinutes(c.minutes, c.full);
  const TResultRows before = rows;
  std::vector<int> percents;
  TSortControl control;
  control.rowsPerEvent = c.full ? 4 : 1;
  control.keyRow = c.full ? 1 : 0;
  control.progress = [&](int percent) { percents.push_back(percent); };
  const int count = static_cast<int>(c.minutes.size());
  ASSERT_TRUE(SortResults(rows, count, control));

  std::vector<int> expected = c.minutes;
  std::sort(expected.begin(), expected.end());
  std::vector<std::string> moved;
  const size_t step = c.full ? 4 : 1;
  for (size_t item = 0; item < c.minutes.size(); ++item) {
    const TFound& key = *rows[item * step + (c.full ? 1 : 0)];
    EXPECT_EQ(key.time.hour * 60 + key.time.minute, expected[item]);
    moved.push_back(key.sat);
    if (c.full) {
      EXPECT_EQ(rows[item * step]->sat, key.sat);
      EXPECT_EQ(rows[item * step]->time.second, 1);
      EXPECT_EQ(rows[item * step + 2]->sat, key.sat);
      EXPECT_FALSE(rows[item * step + 3]);
    }
  }
  // Every event is still there once.
  std::sort(moved.begin(), moved.end());
  EXPECT_EQ(std::adjacent_find(moved.begin(), moved.end()), moved.end());
  EXPECT_EQ(rows.size(), before.size());

  ASSERT_FALSE(percents.empty());
  EXPECT_EQ(percents.back(), 100);
  EXPECT_LE(percents.size(), 15u);  // the four outer levels: 1 + 2 + 4 + 8 calls at most
  EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Tables, ResultSort,
    testing::Values(TSortCase{{}, false}, TSortCase{{7}, true}, TSortCase{{9, 3}, false},
                    TSortCase{{9, 3}, true}, TSortCase{{5, 5, 5, 5}, false},
                    TSortCase{{50, 1, 700, 3, 3, 1439, 0, 12, 12, 600, 2, 99, 5, 61, 60}, true},
                    TSortCase{{23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 13, 12, 11,  10,  9,   8, 7,
                               6,  5,  4,  3,  2,  1,  0,  30, 30, 31, 29, 28, 100, 101, 102, 99},
                              false}));

TEST(ResultSortStop, TerminateStopsAfterThePartitionWithoutProgress) {
  TResultRows rows = RowsOfMinutes({4, 3, 2, 1, 0}, false);
  std::atomic<bool> terminate{true};
  std::vector<int> percents;
  TSortControl control;
  control.terminate = &terminate;
  control.progress = [&](int percent) { percents.push_back(percent); };
  EXPECT_FALSE(SortResults(rows, 5, control));
  EXPECT_TRUE(percents.empty());
  EXPECT_EQ(rows.size(), 5u);
}

}  // namespace
}  // namespace zen
