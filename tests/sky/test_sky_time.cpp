// The sky's time scales and the span of dates it accepts.
#include <gtest/gtest.h>

#include "sky/independent_sky.h"
#include "sky/sky_bodies.h"

namespace zen {
namespace {

using test::IndependentJd;

constexpr double kOneSecond = 1.0 / 86400.0;

// TAI - UTC from the published leap seconds and the 1960s' drifting offsets.
TEST(SkyTime, TaiMinusUtcOfThePublishedTable) {
  const std::pair<double, double> cases[] = {
      {IndependentJd(1959, 12, 31, 23.99), 0.0},
      {IndependentJd(1960, 1, 1), 1.4178180 + (36934.0 - 37300.0) * 0.001296},
      {IndependentJd(1971, 12, 31), 4.2131700 + (41316.0 - 39126.0) * 0.002592},
      {IndependentJd(1972, 7, 1) - kOneSecond, 10.0},
      {IndependentJd(1972, 7, 1), 11.0},
      {IndependentJd(2016, 12, 31, 23.99), 36.0},
      {IndependentJd(2100, 12, 31, 23.99), 37.0},
  };
  for (const auto& [jd, seconds] : cases) EXPECT_NEAR(TaiMinusUtc(jd), seconds, 1e-6) << jd;
}

// 1950-2100 to the second; a refused moment leaves the snapshot as it was.
TEST(SkyTime, DatesAcceptedAtTheirBounds) {
  const double first = IndependentJd(1950, 1, 1), end = IndependentJd(2101, 1, 1);
  const std::pair<double, bool> cases[] = {
      {first - kOneSecond, false}, {first, true}, {end - kOneSecond, true}, {end, false}};
  for (const auto& [jd, accepted] : cases) {
    TSky sky;
    ASSERT_TRUE(sky.At(IndependentJd(2000, 1, 1)));
    const double moonX = sky.Moon().pos.x;
    EXPECT_EQ(sky.At(jd), accepted) << jd;
    EXPECT_EQ(SkyDateAccepted(jd), accepted) << jd;
    EXPECT_EQ(sky.Moon().pos.x == moonX, !accepted) << jd;
  }
}

}  // namespace
}  // namespace zen
