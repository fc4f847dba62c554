// The Sun's geocentric position and the earth's shadow.
#pragma once

#include "core/numeric.h"

namespace zen {

inline constexpr double kAstronomicalUnitKm = 149597870.0;
inline constexpr double kSunRadiusKm = 696000.0;

// Shadow states: how much of the Sun a satellite sees past the earth.
inline constexpr int kSunlit = 0;
inline constexpr int kPenumbra = 1;  // part of the Sun's disc hidden
inline constexpr int kUmbra = 2;     // the whole disc hidden

// Geocentric inertial vector of the Sun (km, magnitude filled) at a Julian date (UTC), in the
// frame of the propagated satellites.
TVector SunPosition(double jd);

// Shadow state of a satellite; both vectors in km with magnitudes filled.
int EclipseState(const TVector& sat, const TVector& sun);

}  // namespace zen
