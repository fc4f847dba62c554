// The Moon and the Sun as the station's target: where the station sees them against an
// independent reduction, and the echo's Doppler against two one-way shifts.
#include <gtest/gtest.h>

#include <cmath>

#include "body_reference.h"
#include "station/body_look.h"
#include "station/doppler.h"

namespace zen::station {
namespace {

constexpr double kHundredthDegree = 0.01;
// The range rate against a centred difference of the reference's ranges over two seconds. The
// places are those of one light time ago, which move with the velocity of then: they part from
// the velocity of now by the light time times the body's fall towards the earth, 3.5 mm/s at
// the Moon (a thirtieth of a hertz of the echo at 23 cm) and 3 m/s at the Sun.
constexpr double kMoonRateKmS = 1e-5;
constexpr double kSunRateKmS = 4e-3;

TEST(BodyLook, StandsWhereAnIndependentReductionPutsTheMoonAndTheSunOver150Years) {
  const struct {
    double jd;
    double latDeg, lonDeg, altM;
  } cases[] = {
      {2433282.5 + 0.3, 52.23, 21.01, 110.0},           // 1950-01-01, the sky's first day
      {2461382.5 + 59.9 / 86400.0, 52.23, 21.01, 0.0},  // the end of a minute of the sky
      {2446431.5 + 0.71, -33.87, 151.21, 0.0},          // 1986
      {2451545.0, 0.0, 0.0, 0.0},                       // J2000
      {2461382.5 + 0.123, 64.13, -21.9, 30.0},          // 2026
      {2470000.25, -77.85, 166.67, 20.0},               // 2050, the Antarctic
      {2488434.5 - 0.01, 40.0, -105.0, 1600.0},         // the sky's last quarter hour
  };
  for (const auto& c : cases) {
    for (const TSkyBody body : {TSkyBody::Moon, TSkyBody::Sun}) {
      SCOPED_TRACE(std::string(BodyName(body)) + " at " + std::to_string(c.jd));
      TBodyLook look(body, c.latDeg, c.lonDeg, c.altM);
      const TLook seen = look.At(c.jd);
      const test::TBodyReference ref =
          test::ReferenceLook(body == TSkyBody::Moon, c.latDeg, c.lonDeg, c.altM, c.jd);
      ASSERT_TRUE(seen.ok);
      EXPECT_NEAR(test::AzimuthDifferenceDeg(seen.azDeg, ref.azDeg), 0.0, kHundredthDegree);
      EXPECT_NEAR(seen.elDeg, ref.elDeg, kHundredthDegree);
      EXPECT_NEAR(seen.rangeKm / ref.rangeKm, 1.0, 1e-7);
      EXPECT_NEAR(seen.rangeRateKmS, ref.rangeRateKmS,
                  body == TSkyBody::Moon ? kMoonRateKmS : kSunRateKmS);
      EXPECT_GE(seen.azDeg, 0.0);
      EXPECT_LT(seen.azDeg, 360.0);
    }
  }
}

TEST(EchoDoppler, IsTheOneWayShiftTakenTwiceAndLeavesTheUplinkAlone) {
  // f (1 - 2v/c) against the way out and the way back composed: they part by f (v/c)^2,
  // under three hundredths of a hertz at 10 GHz for the Moon's half a kilometre a second.
  constexpr double kSecondOrderHz = 0.03;
  for (const double hz : {144.1e6, 432.065e6, 1296.05e6, 10368.1e6}) {
    for (const double rateKmS : {-0.45, -0.02, 0.0, 0.3}) {
      TRadioControl radio(1.0);
      radio.SetPlan({hz, 435e6, true});
      const TTuning tuning = radio.Step(rateKmS);
      const double twoWays = HeardOnGroundHz(HeardOnGroundHz(hz, rateKmS), rateKmS);
      ASSERT_TRUE(tuning.downlinkHz.has_value());
      EXPECT_NEAR(*tuning.downlinkHz, twoWays, 0.5 + kSecondOrderHz) << hz << " at " << rateKmS;
      EXPECT_FALSE(tuning.uplinkHz.has_value());
      EXPECT_NEAR(radio.DownlinkShiftHz(rateKmS), twoWays - hz, kSecondOrderHz);
      EXPECT_NEAR(radio.OneWayShiftHz(rateKmS), HeardOnGroundHz(hz, rateKmS) - hz, 1e-6);
    }
  }
}

}  // namespace
}  // namespace zen::station
