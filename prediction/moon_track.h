// The Moon over a site while an event lasts, for the sky plot of a pass's or a flare's details.
#pragma once

#include <vector>

#include "core/observer.h"

namespace zen {

struct TMoonSample {
  double timeUtc = 0.0;  // Julian date
  double azimuthDeg = 0.0;
  double elevationDeg = 0.0;  // refracted as the satellites'
};

// Where the Moon is over the span and at the event's moment, and how it is lit then: the
// illuminated fraction and the precise Sun it faces. No points outside the sky's dates.
struct TMoonTrack {
  std::vector<TMoonSample> points;  // from the span's start to its end, in time order
  TMoonSample atEvent;
  double illuminated = 0.0;
  double sunAzimuthDeg = 0.0;
  double sunElevationDeg = 0.0;
};

// The Moon seen from the site from fromUtc to toUtc (both included, a point a minute or more
// often for a short span, about kMoonTrackPoints for a long one), and at atUtc.
inline constexpr int kMoonTrackPoints = 120;
TMoonTrack MoonBetween(const TGeodetic& site, double fromUtc, double toUtc, double atUtc);

}  // namespace zen
