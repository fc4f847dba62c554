// The panel scan of a flare search: each antenna panel's offset angle followed second by second
// through a recording, and the seconds at which it had a minimum.
#pragma once

#include <array>

#include "core/numeric.h"
#include "core/observer.h"

namespace zen {

// Offset angles of panels 1..3, degrees.
using TPanelAngles = std::array<double, 3>;

// The offset angle of each panel of a satellite at pos, moving at vel (km, km/s), seen from
// the observer, whose inertial position at jd is observerPos (km); sunRaDec is the Sun's
// topocentric right ascension and declination for the same observer and moment. 180 for a
// panel the observer is behind.
TPanelAngles PanelAnglesDeg(const TVector& pos, const TVector& vel, const TVector& observerPos,
                            double jd, const TGeodetic& observer, const TLookAngles& sunRaDec);

// Follows the angles of one recording. Each panel keeps the smallest angle of a stretch and
// whether its angle fell to it; a panel whose angle fell to the smallest and then rises had
// its minimum at the sample before. A minimum found on any panel begins a new stretch for
// every panel at that sample, so a panel may show a further, shallower minimum later in the
// recording.
class TPanelScan {
 public:
  // A recording begins; before holds the angles one second before its first sample, so a
  // minimum at that first sample is found and an angle that only rises from it is not.
  void Start(const TPanelAngles& before);

  // The angles of the next second; true for each panel whose minimum was the previous second.
  std::array<bool, 3> Next(const TPanelAngles& angles);

 private:
  TPanelAngles previous_{};
  TPanelAngles smallest_{};
  std::array<bool, 3> falling_{};
};

}  // namespace zen
