// The Moon of the compute cycle: what it keeps from one moment to the next (the local day's
// rise and set, the age) equals a fresh computation, across local midnight, a change of site,
// of UTC offset, a refused date and back.
#include <gtest/gtest.h>

#include <cmath>

#include "sky/independent_sky.h"
#include "tracking/sky_now.h"

namespace zen {
namespace {

using test::IndependentJd;

TEST(SkyNow, KeptValuesEqualAFreshComputation) {
  struct TStep {
    double jdUtc, latitudeDeg, altitudeM, utcOffsetHours;
    double dayStartUtc;  // from the calendar; NaN: a refused date
  };
  const double april8 = IndependentJd(2024, 4, 8), april9 = IndependentJd(2024, 4, 9);
  const TStep steps[] = {
      {april8 + 13.99 / 24.0, -33.87, 40, 10.0, april8 - 10.0 / 24.0},
      {april8 + 14.01 / 24.0, -33.87, 40, 10.0, april9 - 10.0 / 24.0},  // past local midnight
      {april8 + 14.02 / 24.0, 69.65, 40, 10.0, april9 - 10.0 / 24.0},   // another site
      {april8 + 14.03 / 24.0, 69.65, 41, 10.0, april9 - 10.0 / 24.0},   // a metre higher
      {april8 + 14.04 / 24.0, 69.65, 41, -5.5, april8 + 5.5 / 24.0},    // another offset
      {april8 + 12.0 / 24.0, 69.65, 41, -5.5, april8 + 5.5 / 24.0},     // back in time
      {IndependentJd(2101, 1, 1, 0.5), 69.65, 41, -5.5, NAN},
      {april8 + 12.5 / 24.0, 69.65, 41, -5.5, april8 + 5.5 / 24.0},
  };
  TSkyNow kept;
  for (const TStep& s : steps) {
    SCOPED_TRACE(testing::Message() << std::fixed << s.jdUtc << " at " << s.latitudeDeg);
    const TGeodetic site = ObserverFromSite(s.latitudeDeg, 18.96, s.altitudeM);
    const TObserverFrame frame = ObserverFrameAt(site, s.jdUtc);
    TSkyNow fresh;
    kept.Compute(s.jdUtc, site, frame, s.utcOffsetHours);
    fresh.Compute(s.jdUtc, site, frame, s.utcOffsetHours);
    ASSERT_EQ(kept.valid, !std::isnan(s.dayStartUtc));
    if (!kept.valid) continue;
    EXPECT_NEAR(kept.riseSetDay, s.dayStartUtc, 1e-9);
    EXPECT_EQ(kept.riseSetDay, fresh.riseSetDay);
    const std::pair<double, double> events[] = {
        {kept.moonRiseSet.rise, fresh.moonRiseSet.rise},
        {kept.moonRiseSet.culmination, fresh.moonRiseSet.culmination},
        {kept.moonRiseSet.set, fresh.moonRiseSet.set}};
    for (const auto& [a, b] : events) EXPECT_TRUE(a == b || (std::isnan(a) && std::isnan(b)));
    EXPECT_EQ(kept.phase.ageDays, fresh.phase.ageDays);
    EXPECT_NEAR(kept.phase.ageDays, MoonAgeDays(s.jdUtc), 1e-6);
    EXPECT_EQ(kept.moonElevation, fresh.moonElevation);
  }
}

}  // namespace
}  // namespace zen
