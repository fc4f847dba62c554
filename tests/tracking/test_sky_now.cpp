// The Moon of the compute cycle: what it keeps from one moment to the next (the local day's
// rise and set, the age) equals a fresh computation for the moment, across local midnight,
// a change of site and a change of UTC offset.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "sky/independent_sky.h"
#include "tracking/sky_now.h"

namespace zen {
namespace {

using test::IndependentJd;

constexpr double kSecond = 1.0 / 86400.0;

void ExpectSameEvent(double kept, double fresh) {
  EXPECT_EQ(std::isnan(kept), std::isnan(fresh));
  if (!std::isnan(fresh)) {
    EXPECT_EQ(kept, fresh);
  }
}

TEST(SkyNow, KeptValuesEqualAFreshComputation) {
  struct TStep {
    double utcSecondsAfterBase;
    double latitudeDeg, longitudeDeg, altitudeM;
    double utcOffsetHours;
    double expectedDayStartUtc;  // from the calendar
  };
  // 2024-04-08 14:00 UTC is local midnight at UTC+10.
  const double base = IndependentJd(2024, 4, 8, 13.99);
  const double dayBefore = IndependentJd(2024, 4, 8) - 10.0 / 24.0;
  const double dayAfter = IndependentJd(2024, 4, 9) - 10.0 / 24.0;
  const std::vector<TStep> steps = {
      {0, -33.87, 151.21, 40, 10.0, dayBefore},
      {20, -33.87, 151.21, 40, 10.0, dayBefore},
      {60, -33.87, 151.21, 40, 10.0, dayAfter},  // past local midnight
      {80, -33.87, 151.21, 40, 10.0, dayAfter},
      {95, 69.65, 18.96, 10, 10.0, dayAfter},  // another site, same day
      {96, 69.65, 18.96, 11, 10.0, dayAfter},  // a metre higher
      {130, 69.65, 18.96, 11, 1.0, IndependentJd(2024, 4, 8) - 1.0 / 24.0},
      {150, 30.27, -97.74, 150, -5.5, IndependentJd(2024, 4, 8) + 5.5 / 24.0},
      {-7200, 30.27, -97.74, 150, -5.5, IndependentJd(2024, 4, 8) + 5.5 / 24.0},
  };
  TSkyNow kept;
  for (const TStep& s : steps) {
    SCOPED_TRACE(testing::Message() << "step at " << s.utcSecondsAfterBase << " s");
    const double now = base + s.utcSecondsAfterBase * kSecond;
    const TGeodetic site = ObserverFromSite(s.latitudeDeg, s.longitudeDeg, s.altitudeM);
    const TObserverFrame frame = ObserverFrameAt(site, now);
    kept.Compute(now, site, frame, s.utcOffsetHours);
    TSkyNow fresh;
    fresh.Compute(now, site, frame, s.utcOffsetHours);
    ASSERT_TRUE(kept.valid);
    EXPECT_NEAR(kept.riseSetDay, s.expectedDayStartUtc, 1e-9);
    EXPECT_EQ(kept.riseSetDay, fresh.riseSetDay);
    ExpectSameEvent(kept.moonRiseSet.rise, fresh.moonRiseSet.rise);
    ExpectSameEvent(kept.moonRiseSet.culmination, fresh.moonRiseSet.culmination);
    ExpectSameEvent(kept.moonRiseSet.set, fresh.moonRiseSet.set);
    EXPECT_EQ(kept.phase.ageDays, fresh.phase.ageDays);
    EXPECT_NEAR(kept.phase.ageDays, MoonAgeDays(now), 1e-6);
    EXPECT_EQ(kept.moonElevation, fresh.moonElevation);
  }
}

// Outside 1950-2100 nothing is valid, and the next accepted moment is whole again.
TEST(SkyNow, RefusedDateThenBack) {
  TSkyNow now;
  const TGeodetic site = ObserverFromSite(52.23, 21.01, 110.0);
  const double late = IndependentJd(2101, 1, 1, 0.5);
  now.Compute(late, site, ObserverFrameAt(site, late), 1.0);
  EXPECT_FALSE(now.valid);
  const double jd = IndependentJd(2100, 12, 31, 12.0);
  now.Compute(jd, site, ObserverFrameAt(site, jd), 1.0);
  ASSERT_TRUE(now.valid);
  EXPECT_NEAR(now.phase.ageDays, MoonAgeDays(jd), 1e-6);
  EXPECT_EQ(now.riseSetDay, LocalDayStartUtc(jd, 1.0));
}

}  // namespace
}  // namespace zen
