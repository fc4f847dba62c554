// The Sun's position over 2026 and the shadow states of satellites around the earth.
#include <gtest/gtest.h>

#include <cmath>

#include "core/numeric.h"
#include "core/sun.h"
#include "core/timescale.h"

namespace zen {
namespace {

// The solar theory is good to about a hundredth of a degree; the moments of the equinoxes
// and solstices below are given to the minute, in which the declination moves 0.0003 degree.
constexpr double kSolarTheoryTolDeg = 0.02;
constexpr double kObliquity2026Deg = 23.436;
constexpr double kMillionKm = 1e6;

double Jd(int year, int month, int day, int hour, int minute) {
  return DateRecToJulian(TDateRec{static_cast<uint16_t>(year), static_cast<uint16_t>(month),
                                  static_cast<uint16_t>(day), static_cast<uint16_t>(hour),
                                  static_cast<uint16_t>(minute), 0, 0});
}

double DeclinationDeg(const TVector& sun) {
  return Degrees(std::asin(sun.z / sun.w));
}

struct SeasonCase {
  const char* name;
  double jd;
  double declinationDeg;
};

TEST(SunPosition, DeclinationAtTheEquinoxesAndSolsticesOf2026) {
  const SeasonCase cases[] = {
      {"March equinox", Jd(2026, 3, 20, 14, 46), 0.0},
      {"June solstice", Jd(2026, 6, 21, 8, 24), kObliquity2026Deg},
      {"September equinox", Jd(2026, 9, 23, 0, 5), 0.0},
      {"December solstice", Jd(2026, 12, 21, 20, 50), -kObliquity2026Deg},
  };
  for (const SeasonCase& c : cases) {
    const TVector sun = SunPosition(c.jd);
    EXPECT_NEAR(DeclinationDeg(sun), c.declinationDeg, kSolarTheoryTolDeg) << c.name;
  }
}

TEST(SunPosition, PointsAlongTheEquinoxInMarchAndAwayFromItInSeptember) {
  const TVector march = SunPosition(Jd(2026, 3, 20, 14, 46));
  const TVector september = SunPosition(Jd(2026, 9, 23, 0, 5));
  EXPECT_GT(march.x / march.w, 0.99999);
  EXPECT_LT(september.x / september.w, -0.99999);
}

TEST(SunPosition, DistanceOverAYearRunsFromPerihelionInJanuaryToAphelionInJuly) {
  double nearestKm = 1e12;
  double farthestKm = 0.0;
  double nearestJd = 0.0;
  double farthestJd = 0.0;
  const double start = Jd(2026, 1, 1, 0, 0);
  for (double jd = start; jd < start + 365.0; jd += 0.25) {
    const double km = SunPosition(jd).w;
    if (km < nearestKm) {
      nearestKm = km;
      nearestJd = jd;
    }
    if (km > farthestKm) {
      farthestKm = km;
      farthestJd = jd;
    }
  }
  // 2026: perihelion 3 January at 147.10 million km, aphelion 6 July at 152.09 million km.
  EXPECT_NEAR(nearestKm / kMillionKm, 147.10, 0.03);
  EXPECT_NEAR(farthestKm / kMillionKm, 152.09, 0.03);
  EXPECT_NEAR(nearestJd, Jd(2026, 1, 3, 17, 0), 2.0);
  EXPECT_NEAR(farthestJd, Jd(2026, 7, 6, 17, 0), 2.0);
}

// 0.89 degree a day at the equinoxes (the ecliptic crosses the equator aslant) to 1.13 at the
// December solstice, near perihelion.
TEST(SunPosition, RightAscensionAdvancesAboutOneDegreeADay) {
  double previous =
      std::atan2(SunPosition(Jd(2026, 1, 1, 0, 0)).y, SunPosition(Jd(2026, 1, 1, 0, 0)).x);
  for (int day = 1; day < 365; ++day) {
    const TVector sun = SunPosition(Jd(2026, 1, 1, 0, 0) + day);
    const double ra = std::atan2(sun.y, sun.x);
    const double stepDeg = Degrees(std::remainder(ra - previous, kTwoPi));
    EXPECT_GT(stepDeg, 0.88) << day;
    EXPECT_LT(stepDeg, 1.14) << day;
    previous = ra;
  }
}

// A satellite at radiusKm whose nadir makes nadirAngleDeg with the Sun's direction, that is,
// 180 - nadirAngleDeg from the Sun as seen from the earth's centre.
TVector SatelliteAt(const TVector& sun, double radiusKm, double nadirAngleDeg) {
  const double fromSun = Radians(180.0 - nadirAngleDeg);
  // The Sun's direction and a unit vector at right angles to it in the equator's plane.
  const TVector u{sun.x / sun.w, sun.y / sun.w, sun.z / sun.w, 1.0};
  const double h = std::hypot(u.x, u.y);
  const TVector v{-u.y / h, u.x / h, 0.0, 1.0};
  TVector sat{radiusKm * (std::cos(fromSun) * u.x + std::sin(fromSun) * v.x),
              radiusKm * (std::cos(fromSun) * u.y + std::sin(fromSun) * v.y),
              radiusKm * (std::cos(fromSun) * u.z + std::sin(fromSun) * v.z), 0.0};
  VecMagnitude(sat);
  return sat;
}

struct ShadowCase {
  double radiusKm;
  double nadirAngleDeg;
  int state;
};

TEST(EclipseState, StatesAroundTheEdgesOfTheShadow) {
  // The earth's semi-diameter is 65.66 degrees seen from 7000 km and 8.70 degrees from
  // 42164 km; the Sun's is 0.27 degree. The umbra ends at the difference of the two, the
  // penumbra at their sum.
  const ShadowCase cases[] = {
      {7000.0, 0.0, kUmbra},   {7000.0, 65.2, kUmbra},   {7000.0, 65.66, kPenumbra},
      {7000.0, 66.1, kSunlit}, {7000.0, 90.0, kSunlit},  {7000.0, 180.0, kSunlit},
      {42164.0, 0.0, kUmbra},  {42164.0, 8.3, kUmbra},   {42164.0, 8.7, kPenumbra},
      {42164.0, 9.1, kSunlit}, {42164.0, 45.0, kSunlit}, {6578.0, 70.0, kUmbra},
  };
  const TVector sun = SunPosition(Jd(2026, 5, 30, 12, 0));
  for (const ShadowCase& c : cases) {
    EXPECT_EQ(EclipseState(SatelliteAt(sun, c.radiusKm, c.nadirAngleDeg), sun), c.state)
        << c.radiusKm << " km, " << c.nadirAngleDeg << " degrees from the anti-Sun point";
  }
}

TEST(EclipseState, PathIntoTheShadowGoesSunlitPenumbraUmbra) {
  for (double radiusKm : {6778.0, 7000.0, 26560.0, 42164.0}) {
    const TVector sun = SunPosition(Jd(2026, 3, 1, 0, 0));
    int previous = kSunlit;
    double penumbraStartDeg = -1.0;
    double umbraStartDeg = -1.0;
    for (double angleDeg = 120.0; angleDeg >= 0.0; angleDeg -= 0.001) {
      const int state = EclipseState(SatelliteAt(sun, radiusKm, angleDeg), sun);
      ASSERT_GE(state, previous) << radiusKm << " km at " << angleDeg;
      ASSERT_LE(state - previous, 1) << "skipped the penumbra at " << angleDeg;
      if (state == kPenumbra && previous == kSunlit) penumbraStartDeg = angleDeg;
      if (state == kUmbra && previous == kPenumbra) umbraStartDeg = angleDeg;
      previous = state;
    }
    EXPECT_EQ(previous, kUmbra) << radiusKm;
    ASSERT_GT(penumbraStartDeg, 0.0) << radiusKm;
    ASSERT_GT(umbraStartDeg, 0.0) << radiusKm;
    // The penumbra is as wide as the Sun's disc: twice 0.267 degree.
    EXPECT_NEAR(penumbraStartDeg - umbraStartDeg, 0.534, 0.01) << radiusKm;
    const double earthSemiDiameterDeg = Degrees(std::asin(6378.135 / radiusKm));
    EXPECT_NEAR(0.5 * (penumbraStartDeg + umbraStartDeg), earthSemiDiameterDeg, 0.01) << radiusKm;
  }
}

}  // namespace
}  // namespace zen
