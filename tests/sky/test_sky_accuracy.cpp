// The sky layer against published cases and an independent full reduction over 1950-2100.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/observer.h"
#include "core/sun.h"
#include "sky/independent_sky.h"
#include "sky/sky_bodies.h"
#include "sky/sky_site.h"

namespace zen {
namespace {

using test::IndependentJd;
using test::TIndependentBody;

constexpr double kArcsec = ERFA_DAS2R;
constexpr double kHundredthDeg = 0.01 * ERFA_DD2R;
constexpr double kOneMinute = 1.0 / 1440.0;

double UtcOfTt(double tt1, double tt2) {
  double tai1 = 0.0, tai2 = 0.0, utc1 = 0.0, utc2 = 0.0;
  eraTttai(tt1, tt2, &tai1, &tai2);
  eraTaiutc(tai1, tai2, &utc1, &utc2);
  return utc1 + utc2;
}

double AngleError(double a, double b) {
  return std::fabs(std::remainder(a - b, 2.0 * ERFA_DPI));
}

// The worked lunar example, 1992 April 12 0h TD: apparent RA/Dec of the true equinox (the
// models' frame is the equation of the equinoxes from it), distance, phase angle, fraction lit.
TEST(SkyPublished, MoonOfTheWorkedExample) {
  TSky sky;
  ASSERT_TRUE(sky.At(UtcOfTt(2448724.5, 0.0)));
  double ra = 0.0, dec = 0.0;
  RaDecOf(sky.Moon().pos, ra, dec);
  EXPECT_NEAR(eraAnp(ra + eraEe06a(2448724.5, 0.0)) * ERFA_DR2D, 134.688470, 1.0 / 3600.0);
  EXPECT_NEAR(dec * ERFA_DR2D, 13.768368, 1.0 / 3600.0);
  EXPECT_NEAR(sky.Moon().pos.w, 368409.7, 0.5);
  const TMoonPhase phase = MoonPhase(sky, TObserverFrame{}, 0.0);
  EXPECT_NEAR(phase.phaseAngle * ERFA_DR2D, 69.0756, 0.01);
  EXPECT_NEAR(phase.illuminated, 0.6786, 0.0002);
}

// Moon and Sun look angles within 0.01 deg and range of the full reduction; a satellite's J2000
// direction within 1"; the frame turn's round trip; the phase angle i against the elongation
// psi at the observer (one triangle: tan i = R sin psi / (d - R cos psi)).
TEST(SkyAccuracy, AgainstTheFullReductionOverTheSpan) {
  struct TCase {
    double jd, latitudeDeg, longitudeDeg, altitudeM;
  };
  const TCase cases[] = {
      {IndependentJd(1950, 1, 1, 0.5), 52.23, 21.01, 110.0},
      {IndependentJd(1972, 1, 1), -33.87, 151.21, 40.0},
      {IndependentJd(2017, 1, 1), -0.18, -78.47, 2850.0},
      {IndependentJd(2031, 5, 21, 3.7), -77.85, 166.67, 10.0},
      {IndependentJd(2063, 8, 24, 1.2), 19.82, -155.47, 4200.0},
      {IndependentJd(2100, 12, 31, 23.9), -22.9, -43.2, 5.0},
  };
  TSky sky;
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << std::fixed << c.jd << " at " << c.latitudeDeg);
    const double altitudeKm = c.altitudeM / 1000.0;
    ASSERT_TRUE(sky.At(c.jd));
    const TObserverFrame frame =
        ObserverFrameAt(ObserverFromSite(c.latitudeDeg, c.longitudeDeg, c.altitudeM), c.jd);
    for (const TIndependentBody body : {TIndependentBody::Moon, TIndependentBody::Sun}) {
      const bool moon = body == TIndependentBody::Moon;
      const TBodyView view =
          BodyView(sky, frame, moon ? sky.Moon() : sky.Sun(), moon ? kMoonRadiusKm : kSunRadiusKm);
      const test::TIndependentLook ref =
          test::IndependentBodyLook(body, c.latitudeDeg, c.longitudeDeg, altitudeKm, c.jd);
      EXPECT_LT(AngleError(view.look.first, ref.azimuth) * std::cos(ref.elevation), kHundredthDeg)
          << moon;
      EXPECT_NEAR(view.look.second, RefractedElevation(ref.elevation), kHundredthDeg) << moon;
      EXPECT_NEAR(view.look.third, ref.rangeKm, moon ? 1.0 : 10.0) << moon;
    }
    for (const double scale : {1.06, 6.6}) {  // just above the site, far
      TVector target{frame.pos.x * scale + 900.0, frame.pos.y * scale - 700.0,
                     frame.pos.z * scale + 300.0, 0.0};
      VecMagnitude(target);
      double ra = 0.0, dec = 0.0, raRef = 0.0, decRef = 0.0;
      J2000RaDecInFrame(sky, frame, target, ra, dec);
      double model[3] = {target.x, target.y, target.z};
      test::IndependentJ2000RaDec(model, c.latitudeDeg, c.longitudeDeg, altitudeKm, c.jd, raRef,
                                  decRef);
      EXPECT_LT(AngleError(ra, raRef) * std::cos(decRef), kArcsec) << scale;
      EXPECT_NEAR(dec, decRef, kArcsec) << scale;
      const TVector back = sky.ToJ2000(sky.FromJ2000(target));
      EXPECT_NEAR(std::hypot(back.x - target.x, back.y - target.y, back.z - target.z), 0.0, 1e-9);
    }
    TVector toMoon = VecSub(sky.Moon().pos, frame.pos), toSun = VecSub(sky.Sun().pos, frame.pos);
    const double psi = VecAngle(toMoon, toSun);
    EXPECT_NEAR(MoonPhase(sky, frame, 0.0).phaseAngle,
                std::atan2(toSun.w * std::sin(psi), toMoon.w - toSun.w * std::cos(psi)), 1e-9);
  }
}

// The worked example's new moon, 1977 February 18 3h37m42s TD: the age just after it, later
// in the lunation, and just before it (the lunation before, over 29 days).
TEST(SkyPhase, AgeSinceTheWorkedExampleNewMoon) {
  const double newMoon = UtcOfTt(IndependentJd(1977, 2, 18), (3 + 37 / 60.0 + 42 / 3600.0) / 24.0);
  for (const double days : {0.01, 0.5, 29.0}) {
    EXPECT_NEAR(MoonAgeDays(newMoon + days), days, kOneMinute) << days;
  }
  EXPECT_GT(MoonAgeDays(newMoon - 0.01), 29.0);
}

// Rise and set of the upper limb under 34' of refraction and the culmination, within a minute
// of a minute-by-minute scan of the local day with the full reduction; "none" where it has none.
TEST(SkyRiseSet, AgainstAMinuteByMinuteScan) {
  struct TCase {
    double dayStartUtc, latitudeDeg, longitudeDeg;
  };
  const TCase cases[] = {
      {IndependentJd(1955, 6, 1) - 2.0 / 24.0, 52.23, 21.01},
      {IndependentJd(2024, 4, 8) + 5.0 / 24.0, 30.27, -97.74},
      {IndependentJd(2099, 7, 7), 64.13, -21.9},
      {IndependentJd(2025, 1, 3) - 1.0 / 24.0, 78.22, 15.65},
      {IndependentJd(2025, 1, 7) - 1.0 / 24.0, 78.22, 15.65},
  };
  int noneDays = 0;
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << std::fixed << c.dayStartUtc << " at " << c.latitudeDeg);
    const test::TIndependentTimes noon = test::IndependentTimes(c.dayStartUtc + 0.5);
    double rc2i[3][3];
    eraC2i06a(noon.tt1, noon.tt2, rc2i);
    double limb[1441], centre[1441];
    for (int m = 0; m <= 1440; ++m) {
      const test::TIndependentLook look =
          test::IndependentBodyLook(TIndependentBody::Moon, c.latitudeDeg, c.longitudeDeg, 0.0,
                                    c.dayStartUtc + m * kOneMinute, rc2i);
      centre[m] = look.elevation;
      limb[m] = look.elevation + std::asin(kMoonRadiusKm / look.rangeKm) + 34.0 / 60.0 * ERFA_DD2R;
    }
    TRiseSet ref;
    for (int i = 1; i <= 1440; ++i) {
      const double t0 = c.dayStartUtc + (i - 1) * kOneMinute;
      const double crossing = t0 + limb[i - 1] / (limb[i - 1] - limb[i]) * kOneMinute;
      if (limb[i - 1] <= 0.0 && limb[i] > 0.0 && std::isnan(ref.rise)) ref.rise = crossing;
      if (limb[i - 1] > 0.0 && limb[i] <= 0.0 && std::isnan(ref.set)) ref.set = crossing;
      if (i < 1440 && centre[i] > centre[i - 1] && centre[i] >= centre[i + 1] &&
          std::isnan(ref.culmination)) {  // the vertex of the parabola through three minutes
        const double a = centre[i - 1], b = centre[i], d = centre[i + 1];
        ref.culmination = t0 + (1.0 + 0.5 * (a - d) / (a - 2.0 * b + d)) * kOneMinute;
      }
    }
    const TRiseSet got =
        MoonRiseSet(ObserverFromSite(c.latitudeDeg, c.longitudeDeg, 0.0), c.dayStartUtc);
    noneDays += std::isnan(ref.rise) || std::isnan(ref.set);
    const std::pair<double, double> pairs[] = {
        {got.rise, ref.rise}, {got.set, ref.set}, {got.culmination, ref.culmination}};
    for (const auto& [value, expected] : pairs) {
      EXPECT_EQ(std::isnan(value), std::isnan(expected));
      if (!std::isnan(expected)) {
        EXPECT_NEAR(value, expected, kOneMinute);
      }
    }
  }
  EXPECT_GE(noneDays, 1);
}

}  // namespace
}  // namespace zen
