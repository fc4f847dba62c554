// Observer geometry: site positions, sub-points, azimuths, refraction and topocentric angles.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <vector>

#include "core/elements.h"
#include "core/observer.h"
#include "core/timescale.h"

namespace zen {
namespace {

constexpr double kTenthMillimetreKm = 1e-7;
constexpr double kMicroMetrePerS = 1e-9;
constexpr double kLatitudeTolRad = 1e-10;
constexpr double kAltitudeTolKm = 1e-6;  // a millimetre
constexpr double kAngleTolRad = 1e-9;
constexpr double kOneArcminuteRad = 2.9e-4;
// 2026-05-30 12:00 UTC.
constexpr double kNoon = 2461191.0;

// A site whose local sidereal angle at jd is 0, so its x axis is the inertial x axis.
TGeodetic SiteOnMeridianOfEquinox(double latitudeDeg, double jd) {
  TGeodetic site = ObserverFromSite(latitudeDeg, 0.0, 0.0);
  site.longitude = WrapTwoPi(-SiderealTime(jd));
  return site;
}

// Unit vectors of the site's horizon: up, north and east, in the inertial frame.
struct Horizon {
  TVector up;
  TVector north;
  TVector east;
};

Horizon HorizonOf(const TGeodetic& observer) {
  const double sp = std::sin(observer.latitude);
  const double cp = std::cos(observer.latitude);
  const double st = std::sin(observer.theta);
  const double ct = std::cos(observer.theta);
  return Horizon{{cp * ct, cp * st, sp, 1.0}, {-sp * ct, -sp * st, cp, 1.0}, {-st, ct, 0.0, 1.0}};
}

TVector Along(const TVector& from, double km, const TVector& dir) {
  TVector v{from.x + km * dir.x, from.y + km * dir.y, from.z + km * dir.z, 0.0};
  VecMagnitude(v);
  return v;
}

// Azimuths differ by at most this, going round the short way.
double AzimuthGap(double a, double b) {
  double d = std::fabs(a - b);
  return std::fmin(d, kTwoPi - d);
}

TEST(EarthModel, ConstantsAreThoseOfTheGeometry) {
  EXPECT_NEAR(kEarthEccentricitySquared, 0.006694317778266722, 1e-17);
  EXPECT_NEAR(kEarthPolarFactor, 0.9933056822217334, 1e-16);
  EXPECT_NEAR(1.0 - kEarthFlattening, 0.9966472205458325, 1e-16);
}

TEST(ObserverPosVel, SiteOnEquatorAtZeroSiderealAngleLiesOnXAxis) {
  TGeodetic site = SiteOnMeridianOfEquinox(0.0, kNoon);
  TVector pos;
  TVector vel;
  ObserverPosVel(site, kNoon, pos, vel);
  EXPECT_NEAR(pos.x, 6378.135, kTenthMillimetreKm);
  EXPECT_NEAR(pos.y, 0.0, kTenthMillimetreKm);
  EXPECT_NEAR(pos.z, 0.0, kTenthMillimetreKm);
  EXPECT_NEAR(pos.w, 6378.135, kTenthMillimetreKm);
  EXPECT_NEAR(vel.x, 0.0, kMicroMetrePerS);
  EXPECT_NEAR(vel.y, 6378.135 * 7.292115855228083e-5, kMicroMetrePerS);  // 0.4651... km/s
  EXPECT_NEAR(vel.z, 0.0, kMicroMetrePerS);
  EXPECT_NEAR(vel.w, 0.46510, 1e-5);
}

TEST(ObserverPosVel, NorthPoleSiteLiesOnPolarRadiusAndStandsStill) {
  TGeodetic site = ObserverFromSite(90.0, 17.0, 0.0);
  TVector pos;
  TVector vel;
  ObserverPosVel(site, kNoon, pos, vel);
  EXPECT_NEAR(pos.x, 0.0, kTenthMillimetreKm);
  EXPECT_NEAR(pos.y, 0.0, kTenthMillimetreKm);
  EXPECT_NEAR(pos.z, 6356.7505, 1e-4);
  EXPECT_NEAR(vel.w, 0.0, kMicroMetrePerS);
}

TEST(ObserverPosVel, WritesTheLocalSiderealAngle) {
  TGeodetic site = ObserverFromSite(10.0, -75.0, 0.0);
  TVector pos;
  TVector vel;
  ObserverPosVel(site, kNoon, pos, vel);
  EXPECT_NEAR(site.theta, WrapTwoPi(SiderealTime(kNoon) + Radians(285.0)), kAngleTolRad);
  EXPECT_NEAR(std::atan2(pos.y, pos.x), std::remainder(site.theta, kTwoPi), kAngleTolRad);
}

TEST(ObserverFromSite, TakesLongitudeIntoZeroTo360) {
  TGeodetic west = ObserverFromSite(-33.9, -18.4, 25.0);
  EXPECT_NEAR(west.longitude, Radians(341.6), kAngleTolRad);
  EXPECT_NEAR(west.latitude, Radians(-33.9), kAngleTolRad);
  EXPECT_DOUBLE_EQ(west.altitude, 0.025);
}

struct SiteCase {
  double latitudeDeg;
  double longitudeDeg;
  double altitudeM;
};

void PrintTo(const SiteCase& c, std::ostream* os) {
  *os << c.latitudeDeg << "," << c.longitudeDeg << "," << c.altitudeM << "m";
}

class SubPointOfSite : public testing::TestWithParam<SiteCase> {};

TEST_P(SubPointOfSite, GivesTheSiteBack) {
  const SiteCase c = GetParam();
  for (double jd : {kNoon, kNoon + 0.3711, 2451545.0}) {
    TGeodetic site = ObserverFromSite(c.latitudeDeg, c.longitudeDeg, c.altitudeM);
    TVector pos;
    TVector vel;
    ObserverPosVel(site, jd, pos, vel);
    const TGeodetic back = EciToGeodetic(pos, jd);
    EXPECT_NEAR(back.latitude, site.latitude, kLatitudeTolRad) << jd;
    EXPECT_NEAR(back.altitude, site.altitude, kAltitudeTolKm) << jd;
    EXPECT_GE(back.longitude, 0.0);
    EXPECT_LT(back.longitude, kTwoPi);
    if (std::fabs(c.latitudeDeg) < 90.0) {
      EXPECT_LT(AzimuthGap(back.longitude, Radians(Modulus(c.longitudeDeg, 360.0))), 1e-9);
      EXPECT_LT(AzimuthGap(back.theta, site.theta), 1e-9);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sites, SubPointOfSite,
    testing::Values(SiteCase{0.0, 0.0, 0.0}, SiteCase{0.0, -179.9, 120.0},
                    SiteCase{51.4779, -0.0015, 46.0}, SiteCase{-33.8688, 151.2093, 58.0},
                    SiteCase{27.9881, 86.925, 8848.0}, SiteCase{-77.85, 166.67, 24.0},
                    SiteCase{64.1, -21.9, -400.0}, SiteCase{45.0, 90.0, 400000.0},
                    SiteCase{-89.9, 45.0, 2835.0}, SiteCase{89.999, 10.0, 0.0},
                    SiteCase{1e-6, 359.5, 0.0}));

TEST(EciToGeodetic, LongitudeIsEastOfGreenwichInZeroToTwoPi) {
  // A point over the Greenwich meridian's antimeridian, in the inertial frame.
  const double gmst = SiderealTime(kNoon);
  TVector pos{-7000.0 * std::cos(gmst), -7000.0 * std::sin(gmst), 0.0, 7000.0};
  const TGeodetic g = EciToGeodetic(pos, kNoon);
  EXPECT_NEAR(g.longitude, kPi, 1e-12);
  EXPECT_NEAR(g.latitude, 0.0, 1e-12);
  EXPECT_NEAR(g.altitude, 7000.0 - 6378.135, kAltitudeTolKm);
}

struct PolarCase {
  double zKm;
  double latitude;
  double altitudeKm;
};

TEST(EciToGeodetic, PositionOnThePolarAxisIsAboveThePole) {
  const double polarRadiusKm = 6378.135 * 0.9966472205458325;
  const PolarCase cases[] = {
      {7000.0, kHalfPi, 7000.0 - polarRadiusKm},
      {-7000.0, -kHalfPi, 7000.0 - polarRadiusKm},
      {-polarRadiusKm, -kHalfPi, 0.0},
      {42164.0, kHalfPi, 42164.0 - polarRadiusKm},
  };
  for (const PolarCase& c : cases) {
    const TGeodetic g = EciToGeodetic(TVector{0.0, 0.0, c.zKm, std::fabs(c.zKm)}, kNoon);
    EXPECT_DOUBLE_EQ(g.latitude, c.latitude) << c.zKm;
    EXPECT_NEAR(g.altitude, c.altitudeKm, kAltitudeTolKm) << c.zKm;
    EXPECT_TRUE(std::isfinite(g.longitude));
  }
}

TEST(EciToGeodetic, PositionJustOffTheAxisAgreesWithTheAxis) {
  const TGeodetic on = EciToGeodetic(TVector{0.0, 0.0, -7000.0, 7000.0}, kNoon);
  const TGeodetic off = EciToGeodetic(TVector{1e-3, 0.0, -7000.0, 7000.0}, kNoon);
  // A metre off the axis is 1.6e-7 rad of latitude away from the pole.
  EXPECT_NEAR(off.latitude, on.latitude, 2e-7);
  EXPECT_NEAR(off.altitude, on.altitude, 10 * kAltitudeTolKm);
}

TEST(EciToGeodetic, PositionThatIsNotFiniteGivesNoNumbersAndReturns) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const TVector bad[] = {{nan, 0.0, 7000.0, nan},
                         {7000.0, inf, 0.0, inf},
                         {0.0, 0.0, -inf, inf},
                         {nan, nan, nan, nan}};
  for (const TVector& pos : bad) {
    const TGeodetic g = EciToGeodetic(pos, kNoon);
    EXPECT_TRUE(std::isnan(g.latitude));
    EXPECT_TRUE(std::isnan(g.longitude));
    EXPECT_TRUE(std::isnan(g.altitude));
  }
}

struct DirectionCase {
  const char* name;
  double northShare;
  double eastShare;
  double azimuth;
};

TEST(LookAngles, AzimuthOfTargetsAtTheCompassPoints) {
  const DirectionCase cases[] = {
      {"north", 1.0, 0.0, 0.0},         {"north-east", 1.0, 1.0, kPi / 4},
      {"east", 0.0, 1.0, kHalfPi},      {"south-east", -1.0, 1.0, 3 * kPi / 4},
      {"south", -1.0, 0.0, kPi},        {"south-west", -1.0, -1.0, 5 * kPi / 4},
      {"west", 0.0, -1.0, 3 * kHalfPi}, {"north-west", 1.0, -1.0, 7 * kPi / 4},
  };
  for (double latitudeDeg : {0.0, 48.2, -35.0, 70.0}) {
    for (double jd : {kNoon, kNoon + 0.1234}) {
      TGeodetic site = ObserverFromSite(latitudeDeg, 16.4, 200.0);
      TVector sitePos;
      TVector siteVel;
      ObserverPosVel(site, jd, sitePos, siteVel);
      const Horizon h = HorizonOf(site);
      for (const DirectionCase& c : cases) {
        const double norm = std::hypot(c.northShare, c.eastShare);
        TVector dir{(c.northShare * h.north.x + c.eastShare * h.east.x) / norm,
                    (c.northShare * h.north.y + c.eastShare * h.east.y) / norm,
                    (c.northShare * h.north.z + c.eastShare * h.east.z) / norm, 1.0};
        const TVector target = Along(sitePos, 1500.0, dir);
        const TLookAngles look = LookAngles(target, TVector{}, site, jd);
        EXPECT_GE(look.first, 0.0) << c.name;
        EXPECT_LT(look.first, kTwoPi) << c.name;
        EXPECT_LT(AzimuthGap(look.first, c.azimuth), kAngleTolRad)
            << c.name << " at latitude " << latitudeDeg << ": " << Degrees(look.first);
        EXPECT_NEAR(look.third, 1500.0, 1e-8) << c.name;
      }
    }
  }
}

TEST(LookAngles, TargetOnThePrimeVerticalAtTheEquatorIsNotTurnedRound) {
  // At latitude 0 the south component of a target level with the site is a signed zero,
  // which an arc tangent of east over south turns into the opposite direction.
  TGeodetic site = ObserverFromSite(0.0, 0.0, 0.0);
  TVector sitePos;
  TVector siteVel;
  ObserverPosVel(site, kNoon, sitePos, siteVel);
  for (double eastKm : {800.0, -800.0}) {
    TVector target{sitePos.x - eastKm * std::sin(site.theta),
                   sitePos.y + eastKm * std::cos(site.theta), sitePos.z, 0.0};
    VecMagnitude(target);
    const TLookAngles look = LookAngles(target, TVector{}, site, kNoon);
    EXPECT_LT(AzimuthGap(look.first, eastKm > 0 ? kHalfPi : 3 * kHalfPi), 1e-6) << eastKm;
  }
}

TEST(LookAngles, TargetOverheadIsAtNinetyDegrees) {
  for (double latitudeDeg : {0.0, 37.0, -62.5, 89.0}) {
    TGeodetic site = ObserverFromSite(latitudeDeg, 250.0, 1000.0);
    TVector sitePos;
    TVector siteVel;
    ObserverPosVel(site, kNoon, sitePos, siteVel);
    const TVector target = Along(sitePos, 420.0, HorizonOf(site).up);
    const TLookAngles look = LookAngles(target, TVector{}, site, kNoon);
    EXPECT_NEAR(Degrees(look.second), 90.0, 1e-4) << latitudeDeg;
    EXPECT_NEAR(look.third, 420.0, 1e-9);
    // The sub-point of a target straight above a site is the site.
    const TGeodetic under = EciToGeodetic(target, kNoon);
    EXPECT_NEAR(under.latitude, site.latitude, 1e-9) << latitudeDeg;
    EXPECT_NEAR(under.altitude, 1.0 + 420.0, 1e-6) << latitudeDeg;
  }
}

struct RangeRateCase {
  double alongKmPerS;
  double acrossKmPerS;
};

TEST(LookAngles, RangeRateIsTheSpeedAlongTheLineOfSight) {
  const RangeRateCase cases[] = {{7.0, 0.0}, {-3.5, 0.0}, {0.0, 7.5}, {1.25, -6.0}};
  TGeodetic site = ObserverFromSite(40.0, 10.0, 0.0);
  TVector sitePos;
  TVector siteVel;
  ObserverPosVel(site, kNoon, sitePos, siteVel);
  const Horizon h = HorizonOf(site);
  TVector los{(h.up.x + h.north.x) / std::sqrt(2.0), (h.up.y + h.north.y) / std::sqrt(2.0),
              (h.up.z + h.north.z) / std::sqrt(2.0), 1.0};
  const TVector target = Along(sitePos, 1000.0, los);
  for (const RangeRateCase& c : cases) {
    // The site's own motion is added, so only the relative motion counts.
    TVector vel{siteVel.x + c.alongKmPerS * los.x + c.acrossKmPerS * h.east.x,
                siteVel.y + c.alongKmPerS * los.y + c.acrossKmPerS * h.east.y,
                siteVel.z + c.alongKmPerS * los.z + c.acrossKmPerS * h.east.z, 0.0};
    VecMagnitude(vel);
    const TLookAngles look = LookAngles(target, vel, site, kNoon);
    EXPECT_NEAR(look.fourth, c.alongKmPerS, 1e-9) << c.alongKmPerS << " " << c.acrossKmPerS;
  }
}

struct RefractionCase {
  double geometricDeg;
  double shownDeg;
  double tolDeg;
};

TEST(RefractedElevation, LiftsLowTargetsAndLeavesDeepOnesAlone) {
  const RefractionCase cases[] = {
      {90.0, 90.0, 1e-4},     // no refraction at the zenith
      {45.0, 45.0169, 1e-4},  // about one minute of arc
      {10.0, 10.0901, 1e-3},  // about five minutes
      {0.0, 0.4830, 1e-3},    // about half a degree at the horizon
      {-0.5, 0.0615, 1e-3},   // just below the horizon is shown just above it
      {-1.0, -1.0, 1e-12},    // too deep: kept as it is
      {-30.0, -30.0, 1e-12}, {-90.0, -90.0, 1e-12},
  };
  for (const RefractionCase& c : cases) {
    EXPECT_NEAR(Degrees(RefractedElevation(Radians(c.geometricDeg))), c.shownDeg, c.tolDeg)
        << c.geometricDeg;
  }
}

TEST(RefractedElevation, NeverRaisesATargetWellBelowTheHorizonAboveIt) {
  // The formula's argument turns through whole turns near -5.11 degrees, where it once lifted
  // targets at -5.17 degrees to +26 degrees.
  for (double h = -90.0; h < -1.0; h += 0.001) {
    ASSERT_LT(RefractedElevation(Radians(h)), 0.0) << h;
  }
  for (double h = -5.3; h < -4.9; h += 1e-6) {
    ASSERT_LT(RefractedElevation(Radians(h)), 0.0) << h;
  }
}

TEST(RefractedElevation, GrowsWithTheGeometricElevationAboveTheHorizon) {
  double previous = RefractedElevation(Radians(-0.5));
  for (double h = -0.49; h <= 90.0; h += 0.01) {
    const double shown = RefractedElevation(Radians(h));
    ASSERT_GT(shown, previous) << h;
    ASSERT_GE(shown, Radians(h) - 1e-6) << h;
    previous = shown;
  }
}

struct RaDecCase {
  double raRad;
  double decRad;
};

TEST(TopocentricRaDec, DistantTargetKeepsItsRightAscensionAndDeclination) {
  const RaDecCase cases[] = {{1.0, 0.3}, {6.25, -0.2}, {0.02, 0.6}, {3.5, -0.9}, {kPi, 0.0}};
  for (const RaDecCase& c : cases) {
    const double distanceKm = 1e9;
    TVector target{distanceKm * std::cos(c.decRad) * std::cos(c.raRad),
                   distanceKm * std::cos(c.decRad) * std::sin(c.raRad),
                   distanceKm * std::sin(c.decRad), distanceKm};
    // A site where the target is close to the zenith, so refraction is a fraction of a minute.
    TGeodetic site = ObserverFromSite(Degrees(c.decRad), 0.0, 0.0);
    site.longitude = WrapTwoPi(c.raRad - SiderealTime(kNoon) + 0.05);
    const TLookAngles radec = TopocentricRaDec(target, TVector{}, site, kNoon);
    EXPECT_GE(radec.first, 0.0);
    EXPECT_LT(radec.first, kTwoPi);
    EXPECT_LT(AzimuthGap(radec.first, c.raRad) * std::cos(c.decRad), kOneArcminuteRad) << c.raRad;
    EXPECT_NEAR(radec.second, c.decRad, kOneArcminuteRad) << c.raRad;
    const TLookAngles look = LookAngles(target, TVector{}, site, kNoon);
    EXPECT_EQ(radec.third, look.third);
    EXPECT_EQ(radec.fourth, look.fourth);
  }
}

TEST(TopocentricRaDec, NearbyTargetShowsParallax) {
  // A target 1000 km straight above a site at 45 degrees: geocentric and topocentric
  // declinations differ by the angle between the geocentric and the geodetic vertical.
  TGeodetic site = ObserverFromSite(45.0, 0.0, 0.0);
  TVector sitePos;
  TVector siteVel;
  ObserverPosVel(site, kNoon, sitePos, siteVel);
  const TVector target = Along(sitePos, 1000.0, HorizonOf(site).up);
  const TLookAngles radec = TopocentricRaDec(target, TVector{}, site, kNoon);
  EXPECT_NEAR(radec.second, Radians(45.0), 1e-6);
  EXPECT_LT(AzimuthGap(radec.first, site.longitude + SiderealTime(kNoon)), 1e-6);
  EXPECT_GT(std::fabs(std::asin(target.z / target.w) - radec.second), Radians(0.1));
}

}  // namespace
}  // namespace zen

namespace zen {
namespace {

// The look angles computed step by step from the observer's position, velocity and sidereal
// angle, as they were before the observer's part was split off to be shared.
TLookAngles LookAnglesStepByStep(const TVector& pos, const TVector& vel, TGeodetic observer,
                                 double jd) {
  TVector observerPos;
  TVector observerVel;
  ObserverPosVel(observer, jd, observerPos, observerVel);
  const TVector range = VecSub(pos, observerPos);
  const TVector rangeVel = VecSub(vel, observerVel);
  const double sinLat = std::sin(observer.latitude);
  const double cosLat = std::cos(observer.latitude);
  const double sinTheta = std::sin(observer.theta);
  const double cosTheta = std::cos(observer.theta);
  const double south = sinLat * cosTheta * range.x + sinLat * sinTheta * range.y - cosLat * range.z;
  const double east = -sinTheta * range.x + cosTheta * range.y;
  const double zenith =
      cosLat * cosTheta * range.x + cosLat * sinTheta * range.y + sinLat * range.z;
  double azimuth = WrapTwoPi(AngleFromSinCos(east, -south));
  if (azimuth >= kTwoPi) azimuth -= kTwoPi;
  return {azimuth, RefractedElevation(ArcSin(zenith / range.w)), range.w,
          VecDot(range, rangeVel) / range.w};
}

// The shared frame gives the same bits as the step-by-step computation for targets all round
// the sky, near and far, the Sun (no velocity) among them.
TEST(ObserverFrame, GivesTheLookAnglesBitForBit) {
  struct TTarget {
    TVector pos;
    TVector vel;
  };
  const std::vector<TTarget> targets = {
      {{6878.0, 0.0, 0.0, 0.0}, {0.0, 7.6, 0.0, 0.0}},
      {{4000.0, 4000.0, 4500.0, 0.0}, {-3.0, 5.0, 4.0, 0.0}},
      {{-3000.0, 5000.0, 3100.0, 0.0}, {6.0, 1.0, -4.0, 0.0}},
      {{3500.0, 1200.0, 5100.0, 0.0}, {0.1, -7.0, 1.0, 0.0}},
      {{-42164.0, 10.0, 5.0, 0.0}, {0.0, -3.07, 0.0, 0.0}},
      {{1.2e8, -7.9e7, -3.4e7, 0.0}, {0.0, 0.0, 0.0, 0.0}},
  };
  const std::vector<TGeodetic> sites = {ObserverFromSite(53.0217, 18.6107, 65.0),
                                        ObserverFromSite(-33.9, -70.6, 2500.0),
                                        ObserverFromSite(0.0, 180.0, 0.0)};
  for (const TGeodetic& site : sites) {
    for (double jd : {kNoon, kNoon + 0.3712, 2451545.0}) {
      const TObserverFrame frame = ObserverFrameAt(site, jd);
      for (TTarget t : targets) {
        VecMagnitude(t.pos);
        VecMagnitude(t.vel);
        const TLookAngles expected = LookAnglesStepByStep(t.pos, t.vel, site, jd);
        for (const TLookAngles& look :
             {LookAngles(t.pos, t.vel, site, jd), LookAnglesInFrame(frame, t.pos, t.vel)}) {
          EXPECT_EQ(look.first, expected.first);
          EXPECT_EQ(look.second, expected.second);
          EXPECT_EQ(look.third, expected.third);
          EXPECT_EQ(look.fourth, expected.fourth);
        }
        double rangeKm = 0.0;
        const double sine = ElevationSineInFrame(frame, t.pos, rangeKm);
        EXPECT_EQ(RefractedElevation(ArcSin(sine)), expected.second);
        EXPECT_EQ(rangeKm, expected.third);
        EXPECT_EQ(ElevationInFrame(frame, t.pos), expected.second);
      }
    }
  }
}

}  // namespace
}  // namespace zen
