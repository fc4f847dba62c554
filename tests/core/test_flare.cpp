// Panel axes of an Iridium satellite and the angle between the mirrored line of sight and the Sun.
#include <gtest/gtest.h>

#include <cmath>

#include "core/flare.h"
#include "core/observer.h"
#include "core/sun.h"
#include "core/timescale.h"

namespace zen {
namespace {

constexpr double kUnitTol = 1e-12;
// The Sun and the mirrored direction are seen from points up to a few thousand km apart:
// about 1e-5 rad of parallax at the Sun's distance.
constexpr double kParallaxTolRad = 1e-4;
// 2026-05-30 10:00 UTC.
constexpr double kMorning = 2461190.9166666665;

TVector Scaled(double k, const TVector& v) {
  TVector r{k * v.x, k * v.y, k * v.z, 0.0};
  VecMagnitude(r);
  return r;
}

TVector Sum(const TVector& a, const TVector& b) {
  TVector r{a.x + b.x, a.y + b.y, a.z + b.z, 0.0};
  VecMagnitude(r);
  return r;
}

TVector Unit(TVector v) {
  VecMagnitude(v);
  return Scaled(1.0 / v.w, v);
}

TVector Cross(const TVector& a, const TVector& b) {
  TVector c{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x, 0.0};
  VecMagnitude(c);
  return c;
}

// A satellite in a circular orbit 780 km up, above a point a little north-west of the site,
// and the geometry around it.
struct Scene {
  TGeodetic site;
  TVector sitePos;
  TVector pos;
  TVector vel;
  TVector lineOfSight;
};

Scene MakeScene(double siteLatitudeDeg, double jd) {
  Scene s;
  s.site = ObserverFromSite(siteLatitudeDeg, 0.0, 0.0);
  TVector siteVel;
  ObserverPosVel(s.site, jd, s.sitePos, siteVel);
  const TVector up = Unit(s.sitePos);
  const TVector east{-std::sin(s.site.theta), std::cos(s.site.theta), 0.0, 1.0};
  const TVector north = Cross(up, east);
  const TVector radial = Unit(Sum(Sum(up, Scaled(0.08, north)), Scaled(-0.05, east)));
  s.pos = Scaled(6378.135 + 780.0, radial);
  // Heading north-east, at right angles to the radius.
  s.vel = Scaled(7.46, Unit(Cross(Cross(radial, Sum(north, east)), radial)));
  s.lineOfSight = VecSub(s.pos, s.sitePos);
  return s;
}

// Azimuth and tilt of the panel whose normal is the given inertial unit vector.
void PanelAnglesOf(const Scene& s, const TVector& normal, double& azimuth, double& tilt) {
  const TVector xHat = Unit(s.vel);
  const TVector yHat = Unit(Cross(s.pos, s.vel));
  const TVector zHat = Unit(Cross(xHat, yHat));
  tilt = std::asin(VecDot(normal, zHat));
  azimuth = std::atan2(-VecDot(normal, yHat), VecDot(normal, xHat));
}

// The normal that reflects the Sun, seen from the satellite along towardKm, to the site.
TVector BisectingNormal(const Scene& s, const TVector& towardKm) {
  return Unit(Sum(Unit(Scaled(-1.0, s.lineOfSight)), Unit(towardKm)));
}

TEST(PanelAxes, AreOrthonormalForEveryAzimuthAndTilt) {
  const Scene s = MakeScene(45.0, kMorning);
  for (double azimuthDeg : {-120.0, 0.0, 120.0, 37.0}) {
    for (double tiltDeg : {-40.0, 0.0, 25.0, -90.0}) {
      const TPanelAxes a = PanelAxes(s.pos, s.vel, Radians(azimuthDeg), Radians(tiltDeg));
      EXPECT_NEAR(a.normal.w, 1.0, kUnitTol);
      EXPECT_NEAR(a.inPlaneP.w, 1.0, kUnitTol);
      EXPECT_NEAR(a.inPlaneQ.w, 1.0, kUnitTol);
      EXPECT_NEAR(VecDot(a.normal, a.inPlaneP), 0.0, kUnitTol);
      EXPECT_NEAR(VecDot(a.normal, a.inPlaneQ), 0.0, kUnitTol);
      EXPECT_NEAR(VecDot(a.inPlaneP, a.inPlaneQ), 0.0, kUnitTol);
    }
  }
}

TEST(PanelAxes, ForwardPanelLeansFortyDegreesBelowTheHorizontal) {
  const Scene s = MakeScene(45.0, kMorning);
  const TPanelAxes a = PanelAxes(s.pos, s.vel, 0.0, Radians(kIridiumPanelTiltDeg));
  const TVector along = Unit(s.vel);
  const TVector normalToOrbit = Unit(Cross(s.pos, s.vel));
  const TVector up = Unit(s.pos);
  EXPECT_NEAR(VecDot(a.normal, normalToOrbit), 0.0, kUnitTol);
  EXPECT_NEAR(VecDot(a.normal, along), std::cos(Radians(40.0)), kUnitTol);
  EXPECT_NEAR(Degrees(std::asin(VecDot(a.normal, up))), -40.0, 1e-9);
}

TEST(PanelAxes, SidePanelsAreTurnedAThirdOfATurnEachWay) {
  const Scene s = MakeScene(45.0, kMorning);
  const TVector leftOfTrack = Unit(Cross(s.pos, s.vel));
  for (double azimuthDeg : kIridiumPanelAzimuthsDeg) {
    const TPanelAxes a =
        PanelAxes(s.pos, s.vel, Radians(azimuthDeg), Radians(kIridiumPanelTiltDeg));
    // Positive azimuths turn the normal to the right of the track (away from the normal of
    // the orbit), negative ones to the left.
    const double side = VecDot(a.normal, leftOfTrack);
    EXPECT_NEAR(side, -std::cos(Radians(40.0)) * std::sin(Radians(azimuthDeg)), kUnitTol);
  }
}

TEST(FlareOffset, PanelBisectingSiteAndSunGivesNearZero) {
  for (double jd : {kMorning, kMorning + 0.21, kMorning + 0.43}) {
    const Scene s = MakeScene(45.0, jd);
    const TVector sun = SunPosition(jd);
    const TLookAngles sunRaDec = TopocentricRaDec(sun, TVector{}, s.site, jd);
    double azimuth = 0.0;
    double tilt = 0.0;
    const TVector normal = BisectingNormal(s, VecSub(sun, s.pos));
    PanelAnglesOf(s, normal, azimuth, tilt);
    const TPanelAxes axes = PanelAxes(s.pos, s.vel, azimuth, tilt);
    EXPECT_NEAR(VecDot(axes.normal, normal), 1.0, 1e-12);
    const double offset =
        FlareOffset(s.pos, s.vel, s.lineOfSight, jd, s.site, azimuth, tilt, sunRaDec);
    EXPECT_LT(offset, kParallaxTolRad) << jd;
    // Tipping the same panel by a degree moves the reflection by about two.
    const double tipped = FlareOffset(s.pos, s.vel, s.lineOfSight, jd, s.site, azimuth,
                                      tilt + Radians(1.0), sunRaDec);
    EXPECT_GT(tipped, Radians(1.0)) << jd;
    EXPECT_LT(tipped, Radians(4.0)) << jd;
  }
}

TEST(FlareOffset, SiteBehindThePanelGivesExactlyPi) {
  const Scene s = MakeScene(45.0, kMorning);
  const TVector sun = SunPosition(kMorning);
  double azimuth = 0.0;
  double tilt = 0.0;
  PanelAnglesOf(s, BisectingNormal(s, VecSub(sun, s.pos)), azimuth, tilt);
  // The same panel turned over: azimuth half a turn on, tilt mirrored.
  const TLookAngles suns[] = {TopocentricRaDec(sun, TVector{}, s.site, kMorning),
                              TLookAngles{0.0, 0.0, 1.0, 0.0}, TLookAngles{3.0, -1.0, 5.0, 0.0}};
  for (const TLookAngles& sunRaDec : suns) {
    EXPECT_EQ(
        FlareOffset(s.pos, s.vel, s.lineOfSight, kMorning, s.site, azimuth + kPi, -tilt, sunRaDec),
        kPi);
  }
}

TEST(FlareOffset, DirectionsEitherSideOfZeroHoursAreClose) {
  // A Sun just east of 0 h and a reflection just west of it, high in the site's sky.
  const double jd = kMorning;
  Scene s = MakeScene(45.0, jd);
  const double raWestRad = kTwoPi - 0.0005;
  const double decRad = Radians(40.0);
  s.site.longitude = WrapTwoPi(-SiderealTime(jd));
  TVector siteVel;
  ObserverPosVel(s.site, jd, s.sitePos, siteVel);
  s.pos = Scaled(7158.0, Unit(Sum(s.sitePos, TVector{0.0, 300.0, 0.0, 0.0})));
  s.vel = Scaled(7.46, Unit(Cross(TVector{0.0, 0.0, 1.0, 1.0}, s.pos)));
  s.lineOfSight = VecSub(s.pos, s.sitePos);
  const TVector toward{std::cos(decRad) * std::cos(raWestRad),
                       std::cos(decRad) * std::sin(raWestRad), std::sin(decRad), 1.0};
  double azimuth = 0.0;
  double tilt = 0.0;
  PanelAnglesOf(s, BisectingNormal(s, toward), azimuth, tilt);
  const TLookAngles sunEast{0.0005, decRad, 1.5e8, 0.0};
  const double offset =
      FlareOffset(s.pos, s.vel, s.lineOfSight, jd, s.site, azimuth, tilt, sunEast);
  // 0.001 rad of right ascension apart, plus a little refraction.
  EXPECT_NEAR(offset, 0.001, 0.0002);
}

}  // namespace
}  // namespace zen
