// The Moon and the Sun as the station's target, against an independent reduction.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/observer.h"
#include "sky/independent_sky.h"
#include "station/body_look.h"

namespace zen::station {
namespace {

// The range rate against a centred difference of the reference's ranges: the places are those of
// one light time ago, which part from the velocity of now by 3.5 mm/s (Moon) and 3 m/s (Sun).
TEST(BodyLook, StandsWhereAnIndependentReductionPutsTheMoonAndTheSunOver150Years) {
  const struct {
    double jd, latDeg, lonDeg, altM;
  } cases[] = {
      {2433282.5 + 0.3, 52.23, 21.01, 110.0},    // 1950-01-01, the sky's first day
      {2470000.25, -77.85, 166.67, 20.0},        // 2050, the Antarctic
      {2488434.5 - 0.01, 40.0, -105.0, 1600.0},  // the sky's last quarter hour
  };
  for (const auto& c : cases) {
    for (const TSkyBody body : {TSkyBody::Moon, TSkyBody::Sun}) {
      SCOPED_TRACE(std::string(BodyName(body)) + " at " + std::to_string(c.jd));
      const auto ref = [&](double jd) {
        return test::IndependentBodyLook(
            body == TSkyBody::Moon ? test::TIndependentBody::Moon : test::TIndependentBody::Sun,
            c.latDeg, c.lonDeg, c.altM / 1000.0, jd);
      };
      const TLook seen = TBodyLook(body, c.latDeg, c.lonDeg, c.altM).At(c.jd);
      const test::TIndependentLook at = ref(c.jd);
      const double rate =
          (ref(c.jd + 1.0 / 86400.0).rangeKm - ref(c.jd - 1.0 / 86400.0).rangeKm) / 2;
      ASSERT_TRUE(seen.ok);
      EXPECT_NEAR(std::remainder(seen.azDeg - Degrees(at.azimuth), 360.0), 0.0, 0.01);
      EXPECT_NEAR(seen.elDeg, Degrees(RefractedElevation(at.elevation)), 0.01);
      EXPECT_NEAR(seen.rangeKm / at.rangeKm, 1.0, 1e-7);
      EXPECT_NEAR(seen.rangeRateKmS, rate, body == TSkyBody::Moon ? 1e-5 : 4e-3);
    }
  }
  EXPECT_FALSE(TBodyLook(TSkyBody::Sun, 0.0, 0.0, 0.0).At(2433282.5 - 1.0).ok);
}

}  // namespace
}  // namespace zen::station
