// The sky layer against published cases and an independent full reduction: the Moon's and the
// Sun's places, look angles from sites over 1950-2100, a satellite's J2000 direction, the
// frame turn, the phase and the age of the Moon.
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
constexpr double kOneHundredthDeg = 0.01 * ERFA_DD2R;
constexpr double kSecondsPerDay = 86400.0;
constexpr double kOneMinute = 1.0 / 1440.0;

double DegFrom(double radians) { return radians * ERFA_DR2D; }

// The UTC Julian date of a TT one, with ERFA's own leap seconds.
double UtcOfTt(double tt1, double tt2) {
  double tai1 = 0.0, tai2 = 0.0, utc1 = 0.0, utc2 = 0.0;
  eraTttai(tt1, tt2, &tai1, &tai2);
  eraTaiutc(tai1, tai2, &utc1, &utc2);
  return utc1 + utc2;
}

double Separation(const TVector& a, double b[3]) {
  double pa[3] = {a.x, a.y, a.z};
  return eraSepp(pa, b);
}

// The worked example of a lunar position: 1992 April 12, 0h TD. Apparent right ascension and
// declination of the true equinox of date; the models' frame lies the equation of the
// equinoxes from it, and the lunar theory is the same one, so they agree to an arcsecond.
// Its phase angle and illuminated fraction are another worked example.
TEST(SkyPublished, MoonOfTheWorkedExample) {
  const double tt1 = 2448724.5, tt2 = 0.0;
  TSky sky;
  ASSERT_TRUE(sky.At(UtcOfTt(tt1, tt2)));
  double ra = 0.0, dec = 0.0;
  RaDecOf(sky.Moon().pos, ra, dec);
  const double raTrue = eraAnp(ra + eraEe06a(tt1, tt2));
  EXPECT_NEAR(DegFrom(raTrue), 134.688470, 1.0 / 3600.0);
  EXPECT_NEAR(DegFrom(dec), 13.768368, 1.0 / 3600.0);
  EXPECT_NEAR(sky.Moon().pos.w, 368409.7, 0.5);
  // The worked example of the illuminated fraction, the same moment, from the earth's centre.
  const TMoonPhase phase = MoonPhase(sky, TObserverFrame{}, 0.0);
  EXPECT_NEAR(DegFrom(phase.phaseAngle), 69.0756, 0.01);
  EXPECT_NEAR(phase.illuminated, 0.6786, 0.0002);
}

// ERFA's own test values of its lunar theory and Earth ephemeris, reached through the
// program's UTC: the Moon's place one light time back is within 1.5" (its motion in 1.3 s)
// of the geometric one; the Sun barely moves in its light time, so it stays on the geometric
// place and distance.
TEST(SkyPublished, ErfaTestValuesThroughUtc) {
  constexpr double kAuKm = ERFA_DAU / 1000.0;
  double moonAu[3] = {-0.2601295959971044180e-2, 0.6139750944302742189e-3,
                            0.2640794528229828909e-3};
  const TBodyState moon = MoonJ2000(UtcOfTt(2400000.5, 43999.9));
  EXPECT_LT(Separation(moon.pos, moonAu), 1.5 * kArcsec);
  EXPECT_NEAR(moon.pos.w, eraPm(moonAu) * kAuKm, 1.0);

  double sunAu[3] = {0.7757238809297706813, -0.5598052241363340596,
                           -0.2426998466481686993};
  const TBodyState sun = SunJ2000(UtcOfTt(2400000.5, 53411.52501161));
  EXPECT_LT(Separation(sun.pos, sunAu), 0.1 * kArcsec);
  EXPECT_NEAR(sun.pos.w, eraPm(sunAu) * kAuKm, 10.0);
}

struct TLookCase {
  int year, month, day;
  double hours;
  double latitudeDeg, longitudeDeg, altitudeM;
};

// Dates over the whole span, sites on both hemispheres, at sea level and high.
const std::vector<TLookCase> kLookCases = {
    {1950, 1, 1, 0.5, 52.23, 21.01, 110.0},    {1957, 10, 4, 19.4, 55.75, 37.62, 150.0},
    {1969, 7, 20, 20.3, 28.57, -80.65, 3.0},   {1972, 1, 1, 0.0, -33.87, 151.21, 40.0},
    {1987, 3, 1, 6.0, 64.13, -21.9, 20.0},     {1999, 8, 11, 11.1, 48.85, 2.35, 35.0},
    {2017, 1, 1, 0.0, -0.18, -78.47, 2850.0},  {2024, 4, 8, 18.3, 30.27, -97.74, 150.0},
    {2031, 5, 21, 3.7, -77.85, 166.67, 10.0},  {2048, 12, 24, 22.0, 35.68, 139.69, 40.0},
    {2063, 8, 24, 1.2, 19.82, -155.47, 4200.0}, {2077, 2, 2, 14.9, -45.87, 170.5, 100.0},
    {2090, 9, 23, 9.0, 78.22, 15.65, 10.0},    {2100, 12, 31, 23.9, -22.9, -43.2, 5.0},
};

// Over the span, from sites on both hemispheres: the Moon's and the Sun's look angles within
// 0.01 deg of the full reduction and their distance within a kilometre (the same
// ephemerides); a satellite-like position's J2000 direction within 1", near and far; the
// frame turn's round trip; and the phase angle i at the Moon against the elongation psi at
// the observer, which close one triangle: tan i = R sin psi / (d - R cos psi).
TEST(SkyAccuracy, AgainstTheFullReductionOverTheSpan) {
  TSky sky;
  for (const TLookCase& c : kLookCases) {
    SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << "-" << c.day << " "
                                    << c.hours << "h at " << c.latitudeDeg << ","
                                    << c.longitudeDeg);
    const double jd = IndependentJd(c.year, c.month, c.day, c.hours);
    const double altitudeKm = c.altitudeM / 1000.0;
    ASSERT_TRUE(sky.At(jd));
    const TObserverFrame frame =
        ObserverFrameAt(ObserverFromSite(c.latitudeDeg, c.longitudeDeg, c.altitudeM), jd);
    for (const TIndependentBody body : {TIndependentBody::Moon, TIndependentBody::Sun}) {
      const bool moon = body == TIndependentBody::Moon;
      const TBodyView view =
          BodyView(sky, frame, moon ? sky.Moon() : sky.Sun(), moon ? kMoonRadiusKm : kSunRadiusKm);
      const test::TIndependentLook ref =
          test::IndependentBodyLook(body, c.latitudeDeg, c.longitudeDeg, altitudeKm, jd);
      const double azimuthError = std::remainder(view.look.first - ref.azimuth, 2.0 * ERFA_DPI);
      EXPECT_LT(std::fabs(azimuthError) * std::cos(ref.elevation), kOneHundredthDeg) << moon;
      EXPECT_NEAR(view.geometricElevation, ref.elevation, kOneHundredthDeg) << moon;
      EXPECT_NEAR(view.look.second, RefractedElevation(ref.elevation), kOneHundredthDeg);
      EXPECT_NEAR(view.look.third, ref.rangeKm, moon ? 1.0 : 10.0) << moon;
    }

    for (const double scale : {1.06, 1.3, 6.6}) {  // above the site, low to one side, far
      TVector target{frame.pos.x * scale + 900.0, frame.pos.y * scale - 700.0,
                     frame.pos.z * scale + 300.0, 0.0};
      VecMagnitude(target);
      double ra = 0.0, dec = 0.0, raRef = 0.0, decRef = 0.0;
      J2000RaDecInFrame(sky, frame, target, ra, dec);
      double model[3] = {target.x, target.y, target.z};
      test::IndependentJ2000RaDec(model, c.latitudeDeg, c.longitudeDeg, altitudeKm, jd, raRef,
                                  decRef);
      EXPECT_LT(std::fabs(std::remainder(ra - raRef, 2.0 * ERFA_DPI)) * std::cos(decRef),
                kArcsec) << scale;
      EXPECT_NEAR(dec, decRef, kArcsec) << scale;

      const TVector back = sky.ToJ2000(sky.FromJ2000(target));
      EXPECT_NEAR(std::hypot(back.x - target.x, back.y - target.y, back.z - target.z), 0.0,
                  1e-9);
    }

    TVector toMoon = VecSub(sky.Moon().pos, frame.pos);
    TVector toSun = VecSub(sky.Sun().pos, frame.pos);
    const double psi = VecAngle(toMoon, toSun);
    EXPECT_NEAR(MoonPhase(sky, frame, 0.0).phaseAngle,
                std::atan2(toSun.w * std::sin(psi), toMoon.w - toSun.w * std::cos(psi)), 1e-9);
  }
}

// The Moon's and the Sun's geocentric ecliptic longitudes of date differ by d (-pi, pi].
double IndependentElongation(double jdUtc) {
  const test::TIndependentTimes t = test::IndependentTimes(jdUtc);
  double centre[3] = {0.0, 0.0, 0.0};
  double moon[3], sun[3], m[3][3], em[3], es[3];
  test::IndependentSeenKm(TIndependentBody::Moon, t.tt1, t.tt2, centre, moon);
  test::IndependentSeenKm(TIndependentBody::Sun, t.tt1, t.tt2, centre, sun);
  eraEcm06(t.tt1, t.tt2, m);
  eraRxp(m, moon, em);
  eraRxp(m, sun, es);
  return std::remainder(std::atan2(em[1], em[0]) - std::atan2(es[1], es[0]), 2.0 * ERFA_DPI);
}

// The last conjunction before a moment: step back a day at a time (the elongation grows by
// about 12 deg a day) to where it goes from below zero to above it, then halve to a second.
double IndependentLastNewMoon(double jdUtc) {
  double b = jdUtc, elongationB = IndependentElongation(b);
  double a = b - 1.0, elongationA = IndependentElongation(a);
  while (!(elongationA < 0.0 && elongationB >= 0.0 && elongationB < 1.0)) {
    b = a;
    elongationB = elongationA;
    a -= 1.0;
    elongationA = IndependentElongation(a);
  }
  while ((b - a) * kSecondsPerDay > 1.0) {
    const double mid = 0.5 * (a + b);
    (IndependentElongation(mid) < 0.0 ? a : b) = mid;
  }
  return 0.5 * (a + b);
}

// The age agrees with the time since the conjunction found independently, to a minute; the
// independent search itself finds the worked example's new moon, 1977 February 18, 3h37m42s
// TD.
TEST(SkyPhase, AgeSinceTheLastNewMoon) {
  const double example = UtcOfTt(IndependentJd(1977, 2, 18), (3 + 37 / 60.0 + 42 / 3600.0) / 24.0);
  EXPECT_NEAR(IndependentLastNewMoon(example + 0.5), example, kOneMinute);

  const std::vector<double> moments = {
      IndependentJd(1950, 1, 1, 0.0),     example + 0.01,
      example - 0.01,                     IndependentJd(1988, 6, 30, 12.0),
      IndependentJd(2024, 4, 8, 18.5),    IndependentJd(2024, 4, 8, 18.2),
      IndependentJd(2055, 11, 3, 7.0),    IndependentJd(2100, 12, 31, 23.0)};
  for (const double jd : moments) {
    SCOPED_TRACE(testing::Message() << "JD " << std::fixed << jd);
    const double newMoon = IndependentLastNewMoon(jd);
    EXPECT_NEAR(MoonAgeDays(jd), jd - newMoon, kOneMinute);
  }
}

struct TRiseSetCase {
  int year, month, day;
  double utcOffsetHours;
  double latitudeDeg, longitudeDeg;
};

// Rise and set of the upper limb under 34' of refraction, and the highest elevation, by a
// scan of every minute of the local day with the independent reduction.
TRiseSet IndependentRiseSet(const TRiseSetCase& c, double dayStart) {
  const test::TIndependentTimes noon = test::IndependentTimes(dayStart + 0.5);
  double rc2i[3][3];
  eraC2i06a(noon.tt1, noon.tt2, rc2i);  // moves by far less than an arcsecond in a day
  constexpr double kRefraction = 34.0 / 60.0 * ERFA_DD2R;
  std::vector<double> limb, centre;
  for (int minute = 0; minute <= 1440; ++minute) {
    const test::TIndependentLook look =
        test::IndependentBodyLook(TIndependentBody::Moon, c.latitudeDeg, c.longitudeDeg, 0.0,
                                  dayStart + minute / 1440.0, rc2i);
    centre.push_back(look.elevation);
    limb.push_back(look.elevation + std::asin(kMoonRadiusKm / look.rangeKm) + kRefraction);
  }
  TRiseSet events;
  for (int i = 1; i <= 1440; ++i) {
    const double t0 = dayStart + (i - 1) / 1440.0;
    const double crossing = t0 + limb[i - 1] / (limb[i - 1] - limb[i]) / 1440.0;
    if (limb[i - 1] <= 0.0 && limb[i] > 0.0 && std::isnan(events.rise)) events.rise = crossing;
    if (limb[i - 1] > 0.0 && limb[i] <= 0.0 && std::isnan(events.set)) events.set = crossing;
    if (i < 1440 && centre[i] > centre[i - 1] && centre[i] >= centre[i + 1] &&
        std::isnan(events.culmination)) {
      // The vertex of the parabola through three minutes.
      const double a = centre[i - 1], b = centre[i], d = centre[i + 1];
      events.culmination = t0 + (1.0 + 0.5 * (a - d) / (a - 2.0 * b + d)) / 1440.0;
    }
  }
  return events;
}

// Within a minute of the scan, "none" exactly where the scan has none; high-latitude days
// with the Moon all day up or all day down are among them.
TEST(SkyRiseSet, AgainstAMinuteByMinuteScan) {
  const std::vector<TRiseSetCase> cases = {
      {1955, 6, 1, 2.0, 52.23, 21.01},    {1986, 2, 14, 10.0, -33.87, 151.21},
      {2003, 9, 9, -5.0, -0.18, -78.47},  {2024, 4, 8, -5.0, 30.27, -97.74},
      {2045, 12, 1, 9.0, 35.68, 139.69},  {2099, 7, 7, 0.0, 64.13, -21.9},
      {2025, 1, 3, 1.0, 78.22, 15.65},    {2025, 1, 7, 1.0, 78.22, 15.65},
      {2025, 1, 10, 1.0, 78.22, 15.65},   {2025, 1, 14, 1.0, 78.22, 15.65},
      {2025, 1, 18, 1.0, 78.22, 15.65},   {2025, 1, 22, 1.0, 78.22, 15.65},
      {2025, 3, 2, 1.0, 69.65, 18.96},    {2025, 3, 12, 1.0, 69.65, 18.96},
  };
  int noneDays = 0;
  for (const TRiseSetCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << "-" << c.day << " at "
                                    << c.latitudeDeg << "," << c.longitudeDeg);
    const double dayStart = IndependentJd(c.year, c.month, c.day) - c.utcOffsetHours / 24.0;
    const TRiseSet ref = IndependentRiseSet(c, dayStart);
    const TRiseSet got = MoonRiseSet(ObserverFromSite(c.latitudeDeg, c.longitudeDeg, 0.0),
                                     dayStart);
    if (std::isnan(ref.rise) || std::isnan(ref.set)) ++noneDays;
    const std::pair<double, double> pairs[] = {
        {got.rise, ref.rise}, {got.set, ref.set}, {got.culmination, ref.culmination}};
    for (const auto& [value, expected] : pairs) {
      EXPECT_EQ(std::isnan(value), std::isnan(expected));
      if (!std::isnan(expected)) {
        EXPECT_NEAR(value, expected, kOneMinute);
      }
    }
  }
  EXPECT_GE(noneDays, 3);
}

}  // namespace
}  // namespace zen
