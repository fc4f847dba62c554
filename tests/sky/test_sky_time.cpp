// The sky's time scales and the span of dates it accepts.
#include <gtest/gtest.h>

#include <vector>

#include "sky/independent_sky.h"
#include "sky/sky_bodies.h"

namespace zen {
namespace {

using test::IndependentJd;

constexpr double kOneSecond = 1.0 / 86400.0;

// TAI - UTC from the published table of leap seconds and the 1960s' drifting offsets.
TEST(SkyTime, TaiMinusUtcOfThePublishedTable) {
  struct TCase {
    double jdUtc;
    double seconds;
  };
  const std::vector<TCase> cases = {
      {IndependentJd(1950, 1, 1), 0.0},
      {IndependentJd(1959, 12, 31, 23.99), 0.0},
      // 1960-01-01: 1.4178180 + (MJD - 37300) x 0.001296 s.
      {IndependentJd(1960, 1, 1), 1.4178180 + (36934.0 - 37300.0) * 0.001296},
      // 1971-12-31: 4.2131700 + (MJD - 39126) x 0.002592 s, then the whole 10 s of 1972.
      {IndependentJd(1971, 12, 31), 4.2131700 + (41316.0 - 39126.0) * 0.002592},
      {IndependentJd(1972, 1, 1), 10.0},
      {IndependentJd(1972, 7, 1) - kOneSecond, 10.0},
      {IndependentJd(1972, 7, 1), 11.0},
      {IndependentJd(1999, 1, 1), 32.0},
      {IndependentJd(2016, 12, 31, 23.99), 36.0},
      {IndependentJd(2017, 1, 1), 37.0},
      {IndependentJd(2100, 12, 31, 23.99), 37.0},
  };
  for (const TCase& c : cases) {
    EXPECT_NEAR(TaiMinusUtc(c.jdUtc), c.seconds, 1e-6) << "JD " << c.jdUtc;
  }
}

// The first and last moments of 1950-2100 are accepted, a second outside them is not, and a
// refused moment leaves the snapshot as it was.
TEST(SkyTime, DatesAcceptedAtTheirBounds) {
  const double first = IndependentJd(1950, 1, 1);
  const double end = IndependentJd(2101, 1, 1);
  const std::vector<std::pair<double, bool>> cases = {
      {first - kOneSecond, false}, {first, true},        {end - kOneSecond, true},
      {end, false},                {end + 365.0, false}, {first - 365.0, false}};
  for (const auto& [jd, accepted] : cases) {
    EXPECT_EQ(SkyDateAccepted(jd), accepted) << "JD " << jd;
    TSky sky;
    ASSERT_TRUE(sky.At(IndependentJd(2000, 1, 1)));
    const TVector moon = sky.Moon().pos;
    EXPECT_EQ(sky.At(jd), accepted) << "JD " << jd;
    if (!accepted) {
      EXPECT_EQ(sky.Moment(), IndependentJd(2000, 1, 1));
      EXPECT_EQ(sky.Moon().pos.x, moon.x);
    }
  }
}

}  // namespace
}  // namespace zen
