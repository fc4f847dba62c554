// The warning about elements far from their epoch: which sets count, and the boundaries.
#include <gtest/gtest.h>

#include <cmath>

#include "tracking/element_age.h"
#include "tracking/info_texts.h"

namespace zen {
namespace {

constexpr double kNow = 2461382.5;  // 2026-12-08 00:00 UTC

TEST(ElementAge, TheFocusDecidesElseTheShareOfStaleSets) {
  struct TCase {
    const char* what;
    std::vector<double> agesDays;  // now minus epoch, per set
    int focus;
    const char* warning;
  };
  const TCase cases[] = {
      {"fresh focus", {3.0}, 0, ""},
      {"just inside the limit", {14.0}, 0, ""},
      {"just past it", {14.01}, 0, "Elements of S0 are 14 days old"},
      {"old focus among fresh sets", {1.0, 30.5, 2.0}, 1, "Elements of S1 are 30 days old"},
      {"epoch ahead", {-20.2}, 0, "Elements of S0 have their epoch 20 days ahead"},
      {"fresh focus, stale majority",
       {1.0, 40.0, 50.0},
       0,
       "Elements of 2 of 3 satellites are over 14 days from their epoch (up to 50 days)"},
      {"half stale is not most", {1.0, 2.0, 40.0, 50.0}, -1, ""},
      {"no focus, one old set", {15.0}, -1, "Elements of S0 are 15 days old"},
      {"nothing tracked", {}, -1, ""},
  };
  for (const TCase& c : cases) {
    std::vector<TAgedSet> sets;
    for (size_t i = 0; i < c.agesDays.size(); ++i) {
      sets.push_back({"S" + std::to_string(i), kNow - c.agesDays[i]});
    }
    EXPECT_EQ(ElementAgeWarning(sets, c.focus, kNow), c.warning) << c.what;
  }
  EXPECT_EQ(ElementAgeWarning({{"S0", kNow - 100.0}}, 0, std::nan("")), "");
}

// The age kept in sight: a tenth of a day on the map's line and beside the epoch.
TEST(ElementAge, AgeTextsReadTheDistanceFromTheEpoch) {
  const struct {
    double ageDays;  // now minus epoch
    const char* line;
    const char* label;
  } cases[] = {
      {3.44, "3.4 days old", "Epoch (3.4 d old)"},
      {0.96, "1.0 day old", "Epoch (1.0 d old)"},
      {1.04, "1.0 day old", "Epoch (1.0 d old)"},
      {192.26, "192.3 days old", "Epoch (192.3 d old)"},
      {-2.5, "epoch 2.5 days ahead", "Epoch (in 2.5 d)"},
      {-0.01, "0.0 days old", "Epoch (0.0 d old)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ElementAgeText(kNow - c.ageDays, kNow), c.line) << c.ageDays;
    EXPECT_EQ(EpochLabelText(kNow - c.ageDays, kNow), c.label) << c.ageDays;
  }
  EXPECT_EQ(EpochLabelText(kNow, std::nan("")), "Epoch");
}

}  // namespace
}  // namespace zen
