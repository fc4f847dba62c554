// A pass or a flare followed through time: its path across the observer's sky for the sky plot
// and the elevation curve, and the seconds the satellite spends in sunlight.
#pragma once

#include <cstdint>
#include <vector>

#include "core/catalog.h"
#include "core/observer.h"
#include "core/propagator.h"

namespace zen {

// One moment of a path, seen from the site.
struct TTrackPoint {
  double timeUtc = 0.0;  // Julian date
  double azimuthDeg = 0.0;
  double elevationDeg = 0.0;  // refracted, as the search's
  double rangeKm = 0.0;
  bool sunlit = false;  // the penumbra counts as dark, as in the search
};

// The path of a satellite over a site.
struct TPassTrack {
  std::vector<TTrackPoint> points;  // in time order
  // The Sun seen from the site at the moment the track was asked for (a culmination, a flare).
  double sunAzimuthDeg = 0.0;
  double sunElevationDeg = 0.0;
};

// The seconds s of 0..seconds-1 at which the satellite is sunlit at fromUtc + s / 86400 (the
// seconds of a pass from its rise to its set). Sampled every 20 s, each change of light found
// to the second; a propagation that fails counts as dark.
int64_t SunlitSeconds(TPropagator& propagator, double fromUtc, int64_t seconds);

// The moments a picture of an event spans: from the satellite's rise above the horizon before
// fromUtc to its set after toUtc, each found to the second and at most reachSeconds away (a
// satellite that stays up is followed that far).
struct TTrackSpan {
  double fromUtc = 0.0;
  double toUtc = 0.0;
};
TTrackSpan HorizonSpan(const TCatalogSet& set, const TGeodetic& site, double fromUtc, double toUtc,
                       int64_t reachSeconds);

// The path from fromUtc to toUtc, both included, a point every whole second of UTC when the span
// is short and about 2000 points when it is long, and the Sun at sunAtUtc. Moments that cannot be
// propagated are left out; a set that cannot be decoded gives no points.
TPassTrack TrackBetween(const TCatalogSet& set, const TGeodetic& site, double fromUtc,
                        double toUtc, double sunAtUtc);

}  // namespace zen
