// The Moon over a pass for its details: the places against the ephemeris, the samples' spacing,
// and nothing outside the sky's dates.
#include <gtest/gtest.h>

#include <cmath>

#include "prediction/moon_track.h"
#include "sky/sky_bodies.h"
#include "sky/sky_frames.h"

namespace zen {
namespace {

constexpr double kHundredthDeg = 0.01;
constexpr double kMinute = 1.0 / 1440.0;

// Azimuth and elevation (degrees) of a body straight from its J2000 place, turned to the
// models' frame and seen by the observer's own look angles.
void Seen(const TBodyState& j2000, double jd, const TGeodetic& site, double& az, double& el) {
  const TMatrix3 frame = ModelFrameFromJ2000(jd);
  const TLookAngles look = LookAngles(Rotate(frame, j2000.pos), Rotate(frame, j2000.vel), site, jd);
  az = Degrees(look.first);
  el = Degrees(look.second);
}

TEST(MoonTrack, FollowsTheEphemerisOverTheSpanAndAtTheEvent) {
  const TGeodetic site = ObserverFromSite(-33.9, 151.2, 40.0);
  const struct {
    double from, to, at;
    size_t points;
  } rows[] = {{2460711.9, 2460711.9 + 7.5 * kMinute, 2460711.9 + 3 * kMinute, 9},
              {2460720.25, 2460720.25, 2460720.25, 2},
              {2451545.0, 2451545.5, 2451545.2, kMoonTrackPoints}};
  for (const auto& row : rows) {
    const TMoonTrack moon = MoonBetween(site, row.from, row.to, row.at);
    ASSERT_EQ(moon.points.size(), row.points) << row.from;
    EXPECT_EQ(moon.points.front().timeUtc, row.from);
    EXPECT_EQ(moon.points.back().timeUtc, row.to);
    for (size_t i = 0; i < moon.points.size(); ++i) {
      const TMoonSample& s = moon.points[i];
      if (i > 0) {
        EXPECT_LE(s.timeUtc - moon.points[i - 1].timeUtc, std::max(kMinute, 0.5 / 119) + 1e-9);
      }
      double az = 0.0;
      double el = 0.0;
      Seen(MoonJ2000(s.timeUtc), s.timeUtc, site, az, el);
      EXPECT_NEAR(std::remainder(s.azimuthDeg - az, 360.0), 0.0, kHundredthDeg);
      EXPECT_NEAR(s.elevationDeg, el, kHundredthDeg);
    }
    double az = 0.0;
    double el = 0.0;
    Seen(SunJ2000(row.at), row.at, site, az, el);
    EXPECT_NEAR(std::remainder(moon.sunAzimuthDeg - az, 360.0), 0.0, kHundredthDeg);
    EXPECT_NEAR(moon.sunElevationDeg, el, kHundredthDeg);
    EXPECT_EQ(moon.atEvent.timeUtc, row.at);
    EXPECT_TRUE(moon.illuminated >= 0.0 && moon.illuminated <= 1.0);
  }
}

TEST(MoonTrack, NothingOutsideTheSkysDates) {
  const TGeodetic site = ObserverFromSite(52.0, 21.0, 0.0);
  EXPECT_TRUE(MoonBetween(site, 2415020.5, 2415020.6, 2415020.55).points.empty());  // 1900
  EXPECT_TRUE(MoonBetween(site, 2451545.0, 2451544.0, 2451545.0).points.empty());   // backwards
}

}  // namespace
}  // namespace zen
