// The last steps both models share: long-period terms, Kepler's equation, short-period terms.
#pragma once

#include "core/propagator.h"

namespace zen::sgp4 {

// Mean elements at one moment, after the secular (and for deep space the lunar-solar) terms.
struct TMeanElements {
  double axis;  // a, earth radii
  double eccentricity;
  double argPerigee;     // rad
  double node;           // rad
  double meanLongitude;  // L = M + omega + Omega (+ the drag terms), rad
  double inclination;    // the inclination the short-period terms start from, rad
};

// Position (earth radii) and velocity (earth radii per minute); zero unless the status is Ok.
TPropagationStatus OsculatingState(const TModelInit& init, const TMeanElements& mean, TVector& pos,
                                   TVector& vel);

}  // namespace zen::sgp4
