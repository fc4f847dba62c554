// The Moon over a site while an event lasts, for the sky plot of a pass's or a flare's details.
#include "prediction/moon_track.h"

#include <algorithm>
#include <cmath>

#include "core/sun.h"
#include "sky/sky_site.h"

namespace zen {

namespace {

constexpr double kMinuteDays = 1.0 / 1440.0;

bool SampleAt(TSky& sky, const TGeodetic& site, double timeUtc, TMoonSample& sample,
              TObserverFrame& frame) {
  if (!sky.At(timeUtc)) return false;
  frame = ObserverFrameAt(site, timeUtc);
  const TBodyView moon = BodyView(sky, frame, sky.Moon(), kMoonRadiusKm);
  sample = {timeUtc, Degrees(moon.look.first), Degrees(moon.look.second)};
  return true;
}

}  // namespace

TMoonTrack MoonBetween(const TGeodetic& site, double fromUtc, double toUtc, double atUtc) {
  TMoonTrack track;
  TSky sky;
  TObserverFrame frame;
  TMoonSample sample;
  if (!(toUtc >= fromUtc)) return track;
  const double span = toUtc - fromUtc;
  const int steps =
      std::clamp(static_cast<int>(std::ceil(span / kMinuteDays)), 1, kMoonTrackPoints - 1);
  for (int i = 0; i <= steps; ++i) {
    const double t = i == steps ? toUtc : fromUtc + span * i / steps;
    if (SampleAt(sky, site, t, sample, frame)) track.points.push_back(sample);
  }
  if (!SampleAt(sky, site, atUtc, track.atEvent, frame)) {
    track.points.clear();
    return track;
  }
  track.illuminated = MoonPhase(sky, frame, 0.0).illuminated;
  const TBodyView sun = BodyView(sky, frame, sky.Sun(), kSunRadiusKm);
  track.sunAzimuthDeg = Degrees(sun.look.first);
  track.sunElevationDeg = Degrees(sun.look.second);
  return track;
}

}  // namespace zen
