// The Moon and the Sun as a site sees them: look angles, right ascension and declination of
// date and of J2000, the Moon's phase and age, and its rise, culmination and set.
#pragma once

#include <cmath>
#include <limits>

#include "core/observer.h"
#include "sky/sky_bodies.h"

namespace zen {

// A body seen from a site. look: azimuth, elevation refracted by the satellites' rule, range
// (km) and range rate (km/s). raDate/decDate are the topocentric right ascension and
// declination of the models' frame (as a satellite's documented values); raJ2000/decJ2000
// the astrometric direction from the site in the J2000 frame (no refraction). Radians.
struct TBodyView {
  TLookAngles look;
  double raDate = 0.0;
  double decDate = 0.0;
  double raJ2000 = 0.0;
  double decJ2000 = 0.0;
  double geometricElevation = 0.0;  // radians, before refraction
  double semidiameter = 0.0;        // radians, as seen from the site
};

// The Moon's light. phaseAngle: the angle at the Moon between the Sun and the observer
// (radians; 0 full, pi new); illuminated: the lit fraction of the disc, (1 + cos phase) / 2;
// ageDays: days since the last new Moon (geocentric conjunction in ecliptic longitude).
struct TMoonPhase {
  double phaseAngle = 0.0;
  double illuminated = 0.0;
  double ageDays = 0.0;
};

// A body's view from the observer frame of the same moment (ObserverFrameAt).
TBodyView BodyView(const TSky& sky, const TObserverFrame& frame, const TBodyState& body,
                   double radiusKm);
// The astrometric J2000 direction of any target (a satellite too) seen from the frame's
// observer: right ascension [0, 2pi) and declination, radians.
void J2000RaDecInFrame(const TSky& sky, const TObserverFrame& frame, const TVector& target,
                       double& ra, double& dec);

// The phase of the Moon seen from the frame's observer, with an age worked out before.
TMoonPhase MoonPhase(const TSky& sky, const TObserverFrame& frame, double ageDays);
// Days since the last new Moon before the moment.
double MoonAgeDays(double jdUtc);

inline constexpr double kNoEvent = std::numeric_limits<double>::quiet_NaN();
// The Moon's rise, upper culmination and set (UTC Julian dates) in the day
// [dayStartUtc, dayStartUtc + 1): rise and set when the upper limb meets the horizon under
// 34' of refraction, culmination at the highest geometric elevation. kNoEvent (NaN) for an
// event the day does not have; the first one where there are two.
struct TRiseSet {
  double rise = kNoEvent;
  double culmination = kNoEvent;
  double set = kNoEvent;
};
TRiseSet MoonRiseSet(const TGeodetic& site, double dayStartUtc);

}  // namespace zen
