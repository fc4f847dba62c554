// The Moon and the Sun seen from a site, worked out apart from the station's own look: the sky
// layer's geocentric places turned into the models' frame and put through a satellite's look
// angles; the range rate from the ranges a second either side.
#pragma once

#include <cmath>
#include <functional>

#include "core/observer.h"
#include "sky/sky_bodies.h"
#include "sky/sky_frames.h"

namespace zen::test {

struct TBodyReference {
  double azDeg = 0;
  double elDeg = 0;  // refracted, as a satellite's
  double rangeKm = 0;
  double rangeRateKmS = 0;
};

inline TBodyReference ReferenceLookOnce(bool moon, double latDeg, double lonDeg, double altM,
                                        double jd) {
  const TBodyState body = moon ? MoonJ2000(jd) : SunJ2000(jd);
  const TMatrix3 frame = ModelFrameFromJ2000(jd);
  const TLookAngles look = LookAngles(Rotate(frame, body.pos), Rotate(frame, body.vel),
                                      ObserverFromSite(latDeg, lonDeg, altM), jd);
  return {Degrees(look.first), Degrees(look.second), look.third, 0.0};
}

inline TBodyReference ReferenceLook(bool moon, double latDeg, double lonDeg, double altM,
                                    double jd) {
  constexpr double kSecond = 1.0 / 86400.0;
  TBodyReference r = ReferenceLookOnce(moon, latDeg, lonDeg, altM, jd);
  r.rangeRateKmS = 0.5 * (ReferenceLookOnce(moon, latDeg, lonDeg, altM, jd + kSecond).rangeKm -
                          ReferenceLookOnce(moon, latDeg, lonDeg, altM, jd - kSecond).rangeKm);
  return r;
}

// The first moment on a grid of stepDays from startJd, within days, where the body's look
// satisfies wanted; NaN when there is none.
inline double FirstMomentWhen(bool moon, double latDeg, double lonDeg, double startJd,
                              double stepDays, double days,
                              const std::function<bool(const TBodyReference&)>& wanted) {
  for (double jd = startJd; jd < startJd + days; jd += stepDays) {
    if (wanted(ReferenceLookOnce(moon, latDeg, lonDeg, 0.0, jd))) return jd;
  }
  return NAN;
}

// The difference of two azimuths in degrees, in (-180, 180].
inline double AzimuthDifferenceDeg(double a, double b) {
  return std::remainder(a - b, 360.0);
}

}  // namespace zen::test
