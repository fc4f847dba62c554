// The vector sights (sub-point, look angles, right ascension and declination, shadow) against
// the one-target functions, over random targets and the awkward ones (the poles and the polar
// axis, both sides of the antimeridian and of longitude 0, the zenith, the horizon, just above
// and below the refraction's floor, the nadir, the four cardinal directions, the earth's shadow,
// positions that are not finite), seen from several sites, on every instruction set.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "core/numeric.h"
#include "core/observer.h"
#include "core/observer_vector.h"
#include "core/sgp4_vector.h"
#include "core/sun.h"
#include "core/timescale.h"
#include "tests/core/vector_targets.h"

namespace zen {
namespace {

// Far below anything shown (a hundredth of a degree, a tenth of a kilometre): a few units in the
// last place of an angle, and a micrometre of altitude or range.
constexpr double kAngleRad = 1e-12;
constexpr double kDistanceKm = 1e-9;
constexpr double kRangeRateKmPerS = 1e-12;

using test::TPinnedTarget;

struct TTarget {
  TVector pos;
  TVector vel;
  const char* kind;
};

// The difference of two angles as the shortest turn between them: 2 pi - 1e-15 and 1e-15 are
// one direction.
double AngleApart(double a, double b) { return std::fabs(std::remainder(a - b, kTwoPi)); }

TVector Along(const TVector& from, double k, const TVector& dir) {
  return TVector{from.x + k * dir.x, from.y + k * dir.y, from.z + k * dir.z, 0.0};
}

// The site's zenith, east and north as inertial unit vectors.
struct THorizon {
  TVector up, east, north;
};
THorizon HorizonOf(const TObserverFrame& f) {
  THorizon h;
  h.up = {f.cosLatitude * f.cosTheta, f.cosLatitude * f.sinTheta, f.sinLatitude, 1.0};
  h.east = {-f.sinTheta, f.cosTheta, 0.0, 1.0};
  h.north = {-f.sinLatitude * f.cosTheta, -f.sinLatitude * f.sinTheta, f.cosLatitude, 1.0};
  return h;
}

// A direction from the site at an elevation (geometric, degrees) and azimuth.
TVector Direction(const THorizon& h, double elevationDeg, double azimuthDeg) {
  const double e = Radians(elevationDeg);
  const double a = Radians(azimuthDeg);
  const double ce = std::cos(e);
  TVector d;
  d.x = std::sin(e) * h.up.x + ce * (std::cos(a) * h.north.x + std::sin(a) * h.east.x);
  d.y = std::sin(e) * h.up.y + ce * (std::cos(a) * h.north.y + std::sin(a) * h.east.y);
  d.z = std::sin(e) * h.up.z + ce * (std::cos(a) * h.north.z + std::sin(a) * h.east.z);
  return d;
}

std::vector<TTarget> TargetsFor(const TObserverFrame& frame, double sidereal, const TVector& sun,
                                std::mt19937_64& random) {
  std::vector<TTarget> targets;
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::uniform_real_distribution<double> radius(6400.0, 45000.0);
  auto add = [&](TVector pos, const char* kind, TVector vel = TVector{1.3, -6.2, 3.1, 0.0}) {
    VecMagnitude(pos);
    VecMagnitude(vel);
    targets.push_back(TTarget{pos, vel, kind});
  };
  for (int i = 0; i < 3000; ++i) {
    TVector dir{unit(random), unit(random), unit(random), 0.0};
    VecMagnitude(dir);
    const double r = i % 10 == 0 ? 3.0e5 + 1e5 * unit(random) : radius(random);
    add(VecScale(r / dir.w, dir), "random",
        TVector{7.0 * unit(random), 7.0 * unit(random), 7.0 * unit(random), 0.0});
  }
  // The poles, the polar axis and its neighbourhood.
  for (double z : {7000.0, -7000.0, 42164.0, -6356.0}) {
    add(TVector{0.0, 0.0, z, 0.0}, "on the polar axis");
    add(TVector{1e-9, 0.0, z, 0.0}, "a nanometre off the axis");
    add(TVector{0.0, -1e-3, z, 0.0}, "a metre off the axis");
    add(TVector{3.0, 4.0, z, 0.0}, "near a pole");
  }
  // Sub-points on both sides of the antimeridian and of the prime meridian.
  for (double lonDeg : {180.0, 0.0}) {
    for (double offset : {-1e-9, -1e-13, 0.0, 1e-13, 1e-9}) {
      for (double latDeg : {0.0, 51.6, -80.0}) {
        const double ra = sidereal + Radians(lonDeg) + offset;
        const double lat = Radians(latDeg);
        add(TVector{7000.0 * std::cos(lat) * std::cos(ra), 7000.0 * std::cos(lat) * std::sin(ra),
                    7000.0 * std::sin(lat), 0.0},
            "at a meridian");
      }
    }
  }
  // The sky of the site: zenith, horizon, the refraction's floor, below the horizon, nadir, the
  // cardinal directions.
  const THorizon h = HorizonOf(frame);
  add(Along(frame.pos, 1000.0, h.up), "at the zenith");
  add(Along(frame.pos, 36000.0, h.up), "at the zenith, high");
  add(Along(frame.pos, -500.0, h.up), "at the nadir");
  for (double az : {0.0, 45.0, 90.0, 180.0, 270.0, 359.9999999}) {
    for (double el : {89.9999, 60.0, 10.0, 0.5, 1e-9, 0.0, -1e-9, -0.5, -1.9999999, -2.0,
                      -2.0000001, -5.11, -30.0, -89.0}) {
      add(Along(frame.pos, 2500.0, Direction(h, el, az)), "in the site's sky");
    }
  }
  // The earth's shadow: behind the earth, at the edge of the half shadow and in full Sun.
  TVector toSun = sun;
  VecMagnitude(toSun);
  const TVector sunDir = VecScale(1.0 / toSun.w, toSun);
  add(VecScale(-7000.0, sunDir), "behind the earth");
  add(VecScale(-42164.0, sunDir), "behind the earth, high");
  add(VecScale(7000.0, sunDir), "towards the Sun");
  TVector side{-sunDir.y, sunDir.x, 0.0, 0.0};
  VecMagnitude(side);
  for (double k : {6370.0, 6378.0, 6400.0, 6500.0}) {
    add(Along(VecScale(-20000.0, sunDir), k / side.w, side), "at the shadow's edge");
  }
  add(TVector{0.0, 0.0, 0.0, 0.0}, "at the centre");
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  add(TVector{nan, 1.0, 1.0, 0.0}, "not a number");
  add(TVector{7000.0, inf, 0.0, 0.0}, "infinite");
  add(TVector{7000.0, 0.0, -inf, 0.0}, "infinite");
  add(TVector{7000.0, 0.0, 0.0, 0.0}, "a velocity not a number", TVector{nan, 0.0, 0.0, 0.0});
  return targets;
}

// Fills a block from targets [first, first + count) and computes it.
void ComputeBlock(const std::vector<TTarget>& targets, size_t first, size_t count,
                  const TObserverFrame& frame, double sidereal, const TVector& sun,
                  TSightBlock& block) {
  for (size_t k = 0; k < count; ++k) {
    const TTarget& t = targets[first + k];
    block.x[k] = t.pos.x;
    block.y[k] = t.pos.y;
    block.z[k] = t.pos.z;
    block.vx[k] = t.vel.x;
    block.vy[k] = t.vel.y;
    block.vz[k] = t.vel.z;
  }
  SightsInFrame(frame, sidereal, sun, block, count);
}

void ExpectNear(double got, double want, double tolerance, bool angle, const char* what,
                const TTarget& t) {
  if (std::isnan(want) || std::isnan(got)) {
    EXPECT_EQ(std::isnan(got), std::isnan(want)) << what << " " << t.kind;
    return;
  }
  if (std::isinf(want) || std::isinf(got)) {
    EXPECT_EQ(got, want) << what << " " << t.kind;
    return;
  }
  const double apart = angle ? AngleApart(got, want) : std::fabs(got - want);
  EXPECT_LE(apart, tolerance) << what << " " << t.kind << " at " << t.pos.x << " " << t.pos.y
                              << " " << t.pos.z << ": " << got << " against " << want;
}

TEST(VectorSights, AgreeWithTheOneTargetFunctionsOnEveryInstructionSet) {
  struct TSite {
    double latitudeDeg, longitudeDeg, altitudeM;
  };
  const TSite sites[] = {{52.23, 21.01, 110.0}, {0.0, 0.0, 0.0},      {-33.9, 151.2, 40.0},
                         {89.9, 180.0, 2000.0}, {-90.0, 0.0, 2800.0}, {19.8, -155.5, 4200.0}};
  const double moments[] = {JulianDateOfEpoch(26150.5), JulianDateOfEpoch(24001.13)};
  int checked = 0;
  int umbra = 0;
  int penumbra = 0;
  for (int64_t target : VectorTargets()) {
    TPinnedTarget pin(target);
    std::mt19937_64 random(43);
    for (const TSite& site : sites) {
      for (double jd : moments) {
        const TGeodetic observer =
            ObserverFromSite(site.latitudeDeg, site.longitudeDeg, site.altitudeM);
        const TObserverFrame frame = ObserverFrameAt(observer, jd);
        const double sidereal = SiderealTime(jd);
        const TVector sun = SunPosition(jd);
        const std::vector<TTarget> targets = TargetsFor(frame, sidereal, sun, random);
        // Blocks of uneven sizes, so that every lane of a vector meets a part-filled one.
        TSightBlock block;
        size_t first = 0;
        for (size_t size = 1; first < targets.size(); size = (size + 36) % TSightBlock::kCapacity + 1) {
          const size_t count = std::min(size, targets.size() - first);
          ComputeBlock(targets, first, count, frame, sidereal, sun, block);
          for (size_t k = 0; k < count; ++k) {
            const TTarget& t = targets[first + k];
            const TGeodetic g = EciToGeodeticAtSidereal(t.pos, sidereal);
            const TLookAngles look = LookAnglesInFrame(frame, t.pos, t.vel);
            const TLookAngles raDec = RaDecInFrame(frame, look);
            const int shadow = EclipseState(t.pos, sun);
            ExpectNear(block.latitude[k], g.latitude, kAngleRad, false, "latitude", t);
            ExpectNear(block.longitude[k], g.longitude, kAngleRad, true, "longitude", t);
            // The one-target altitude, r / cos(latitude) - a c, loses digits as cos(latitude)
            // vanishes (a nanometre off the axis, by two kilometres); within a metre of the axis
            // the altitude is |z| less the polar radius, to 1e-10 km.
            const double offAxis = std::hypot(t.pos.x, t.pos.y);
            if (offAxis <= 1e-3) {
              ExpectNear(block.altitude[k], std::fabs(t.pos.z) - kEarthPolarRadiusKm, kDistanceKm,
                         false, "altitude on the axis", t);
            } else {
              ExpectNear(block.altitude[k], g.altitude,
                         kDistanceKm / std::max(std::cos(g.latitude), 1e-6), false, "altitude", t);
            }
            ExpectNear(block.theta[k], g.theta, kAngleRad, true, "theta", t);
            ExpectNear(block.elevation[k], look.second, kAngleRad, false, "elevation", t);
            ExpectNear(block.range[k], look.third, kDistanceKm, false, "range", t);
            // The magnitudes are VecMagnitude's, to the bit.
            EXPECT_TRUE(std::isnan(t.pos.w) ? std::isnan(block.distance[k])
                                            : block.distance[k] == t.pos.w)
                << t.kind;
            EXPECT_TRUE(std::isnan(t.vel.w) ? std::isnan(block.speed[k]) : block.speed[k] == t.vel.w)
                << t.kind;
            ExpectNear(block.rangeRate[k], look.fourth, kRangeRateKmPerS, false, "range rate", t);
            ExpectNear(block.declination[k], raDec.second, kAngleRad, false, "declination", t);
            // Straight up every azimuth is the same direction, and so is every right ascension
            // at a celestial pole: only the elevation and declination say anything there.
            if (std::fabs(look.second) < Radians(89.99)) {
              ExpectNear(block.azimuth[k], look.first, kAngleRad, true, "azimuth", t);
            }
            if (std::fabs(raDec.second) < Radians(89.99)) {
              ExpectNear(block.rightAscension[k], raDec.first, kAngleRad, true, "right ascension",
                         t);
            }
            EXPECT_EQ(block.eclipse[k], shadow) << t.kind;
            // The degrees the tracker stores are Degrees() of the radians, to the bit.
            const std::pair<double, double> degrees[] = {
                {block.latitudeDeg[k], block.latitude[k]},
                {block.longitudeDeg[k], block.longitude[k]},
                {block.azimuthDeg[k], block.azimuth[k]},
                {block.elevationDeg[k], block.elevation[k]},
                {block.rightAscensionDeg[k], block.rightAscension[k]},
                {block.declinationDeg[k], block.declination[k]}};
            for (const auto& [deg, rad] : degrees) {
              EXPECT_TRUE(std::isnan(rad) ? std::isnan(deg) : deg == Degrees(rad)) << t.kind;
            }
            umbra += shadow == kUmbra ? 1 : 0;
            penumbra += shadow == kPenumbra ? 1 : 0;
            ++checked;
          }
          ASSERT_FALSE(HasFailure()) << VectorTargetName(target) << " from " << site.latitudeDeg
                                     << " " << site.longitudeDeg;
          first += count;
        }
      }
    }
  }
  EXPECT_GT(checked, 30000);
  EXPECT_GT(umbra, 100);
  EXPECT_GT(penumbra, 0);
}

// Lanes each seen at a moment of its own: the targets above taken in turn at eight moments a
// minute apart (so that neighbouring lanes have different frames and Suns), against the
// one-target elevation, refraction and shadow of each at its own moment.
TEST(VectorSights, LanesAtMomentsOfTheirOwnAgreeWithTheOneTargetFunctions) {
  const double start = JulianDateOfEpoch(26150.5);
  const TGeodetic observer = ObserverFromSite(53.02, 18.61, 65.0);
  std::vector<TObserverFrame> frames;
  std::vector<TVector> suns;
  for (int m = 0; m < 8; ++m) {
    frames.push_back(ObserverFrameAt(observer, start + m / 1440.0));
    suns.push_back(SunPosition(start + m / 1440.0));
  }
  int checked = 0;
  int sunlit = 0;
  int dark = 0;
  for (int64_t target : VectorTargets()) {
    TPinnedTarget pin(target);
    std::mt19937_64 random(7);
    const std::vector<TTarget> targets =
        TargetsFor(frames[0], SiderealTime(start), suns[0], random);
    TLaneSightBlock block;
    size_t first = 0;
    for (size_t size = 1; first < targets.size();
         size = (size + 5) % TLaneSightBlock::kCapacity + 1) {
      const size_t count = std::min(size, targets.size() - first);
      for (size_t k = 0; k < count; ++k) {
        const TTarget& t = targets[first + k];
        block.x[k] = t.pos.x;
        block.y[k] = t.pos.y;
        block.z[k] = t.pos.z;
        SetLaneMoment(block, k, frames[(first + k) % frames.size()],
                      suns[(first + k) % suns.size()]);
      }
      LaneSights(block, count);
      for (size_t k = 0; k < count; ++k) {
        const TTarget& t = targets[first + k];
        const TObserverFrame& frame = frames[(first + k) % frames.size()];
        const TVector& sun = suns[(first + k) % suns.size()];
        double rangeKm = 0.0;
        const double sine = ElevationSineInFrame(frame, t.pos, rangeKm);
        ExpectNear(block.elevationSine[k], sine, kAngleRad, false, "elevation sine", t);
        ExpectNear(block.range[k], rangeKm, kDistanceKm, false, "range", t);
        ExpectNear(block.geometric[k], ArcSin(sine), kAngleRad, false, "geometric elevation", t);
        ExpectNear(block.elevationDeg[k], Degrees(RefractedElevation(ArcSin(sine))),
                   Degrees(kAngleRad), false, "refracted elevation", t);
        // The shadow's edge: sunlit on its outer side, as EclipseState has it.
        TVector sunDir = sun;
        TVector nadir = VecScale(-1.0, t.pos);
        const double margin =
            VecAngle(sunDir, nadir) -
            (ArcSin(kEarthRadiusKm / t.pos.w) + ArcSin(kSunRadiusKm / VecSub(sun, t.pos).w));
        ExpectNear(block.shadowMargin[k], margin, kAngleRad, false, "shadow margin", t);
        if (std::fabs(margin) > kAngleRad) {
          EXPECT_EQ(block.shadowMargin[k] > 0.0, EclipseState(t.pos, sun) == kSunlit) << t.kind;
          sunlit += margin > 0.0 ? 1 : 0;
          dark += margin < 0.0 ? 1 : 0;
        }
        ++checked;
      }
      ASSERT_FALSE(HasFailure()) << VectorTargetName(target);
      first += count;
    }
  }
  EXPECT_GT(checked, 3000);
  EXPECT_GT(sunlit, 1000);
  EXPECT_GT(dark, 10);
}

}  // namespace
}  // namespace zen
