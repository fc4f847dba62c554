// The pass of a satellite over a site that the station follows: the one under way or the next.
#pragma once

#include <cmath>
#include <limits>
#include <string>

#include "station/satellite_look.h"

namespace zen::station {

// One pass above an elevation limit. A satellite that was up for the whole day searched back has
// riseJd -infinity; one still up at the end of the search has setJd +infinity (a geostationary
// satellite in view has both), so a caller that needs a duration checks std::isfinite.
struct TPassWindow {
  double riseJd = std::numeric_limits<double>::quiet_NaN();
  double setJd = std::numeric_limits<double>::quiet_NaN();
  double culminationJd = std::numeric_limits<double>::quiet_NaN();  // the highest moment found
  double maxElevationDeg = std::numeric_limits<double>::quiet_NaN();

  // False for "no pass": the default record and what FindPass gives when none is found.
  bool Valid() const { return !std::isnan(riseJd) && !std::isnan(setJd) && riseJd <= setJd; }
  // Between rise and set, both included.
  bool Contains(double jd) const { return Valid() && riseJd <= jd && jd <= setJd; }
};

// The pass above minElevationDeg under way at fromJd, whose rise is searched back up to a day,
// or else the next one that rises within horizonDays (at most 30) after fromJd; its set is
// searched up to the end of the horizon or a day after its rise, whichever is later. The sky is
// sampled every 20 s; rise and set are then narrowed to a second, each given as the moment on
// the upper side (at or above the limit there, below it a second outside), and the culmination
// to half a second. A pass shorter than the sampling step can be missed. A moment at which the
// model breaks down counts as below the limit. Not Valid when no pass rises within the horizon.
TPassWindow FindPass(const TLookAt& lookAt, double fromJd, double minElevationDeg,
                     double horizonDays = 2.0);

// "AOS in 04:07" before the rise, "LOS in 125:07" from the rise to the set (minutes and
// seconds, rounded up, so the count reaches 00:00 at the event); "always above the horizon"
// during a pass whose set was not found. Empty for a window that is not Valid and after its
// set.
std::string AosLosText(double nowJd, const TPassWindow& pass);

}  // namespace zen::station
