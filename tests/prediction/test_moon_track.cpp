// The Moon over a pass for its details, against the ephemeris seen by the observer's own look
// angles; nothing outside the sky's dates.
#include <gtest/gtest.h>

#include <cmath>

#include "prediction/moon_track.h"
#include "sky/sky_bodies.h"
#include "sky/sky_frames.h"

namespace zen {
namespace {

constexpr double kHundredthDeg = 0.01;

TEST(MoonTrack, FollowsTheEphemerisAMinuteApartOrCloser) {
  const TGeodetic site = ObserverFromSite(-33.9, 151.2, 40.0);
  for (const auto& [from, to, count] :
       {std::tuple{2460711.9, 2460711.9 + 7.5 / 1440.0, size_t{9}},
        std::tuple{2451545.0, 2451545.5, size_t{kMoonTrackPoints}}}) {
    const TMoonTrack moon = MoonBetween(site, from, to, (from + to) / 2.0);
    ASSERT_EQ(moon.points.size(), count);
    EXPECT_EQ(moon.points.front().timeUtc, from);
    EXPECT_EQ(moon.points.back().timeUtc, to);
    for (const TMoonSample& s : moon.points) {
      const TMatrix3 frame = ModelFrameFromJ2000(s.timeUtc);
      const TBodyState j2000 = MoonJ2000(s.timeUtc);
      const TLookAngles look =
          LookAngles(Rotate(frame, j2000.pos), Rotate(frame, j2000.vel), site, s.timeUtc);
      EXPECT_NEAR(std::remainder(s.azimuthDeg - Degrees(look.first), 360.0), 0.0, kHundredthDeg);
      EXPECT_NEAR(s.elevationDeg, Degrees(look.second), kHundredthDeg);
    }
  }
  EXPECT_TRUE(MoonBetween(site, 2415020.5, 2415020.6, 2415020.55).points.empty());  // 1900
}

}  // namespace
}  // namespace zen
