// Constants of the near-earth and deep-space models (earth radii, minutes, radians).
#pragma once

#include "core/elements.h"

namespace zen::sgp4 {

// k2 = J2 / 2 in earth radii squared, and the multiples the formulas use.
inline constexpr double kK2 = 5.413079e-4;
// 1.25 k4, with k4 = -3/8 J4.
inline constexpr double kOneAndQuarterK4 = 7.762359375e-7;
// A30 / k2 = -J3 / k2.
inline constexpr double kA30OverK2 = 0.004690140306468832;
// The density function's s (78 km above the surface) and (q0 - s)^4 with q0 at 120 km.
inline constexpr double kSKm = 78.0;
inline constexpr double kQ0Km = 120.0;
inline constexpr double kS = 1.0 + kSKm / kEarthRadiusKm;
inline constexpr double kQms4 =
    ((kQ0Km - kSKm) / kEarthRadiusKm) * ((kQ0Km - kSKm) / kEarthRadiusKm) *
    ((kQ0Km - kSKm) / kEarthRadiusKm) * ((kQ0Km - kSKm) / kEarthRadiusKm);
// Perigee heights (km) where the density parameter and the drag model change.
inline constexpr double kSimplifiedDragPerigeeKm = 220.0;
inline constexpr double kLowPerigeeKm = 156.0;
inline constexpr double kVeryLowPerigeeKm = 98.0;
inline constexpr double kVeryLowSKm = 20.0;
inline constexpr double kTwoThirds = 2.0 / 3.0;
// Kepler's equation: stop when an iterate moves by this much or less, or after the count.
inline constexpr double kKeplerTolerance = 1.0e-6;
inline constexpr int kKeplerIterations = 10;
// The drag term lowers the mean eccentricity linearly with time, so a nearly circular orbit
// (a circular one at once) goes a little below zero; the formulas take that as the same
// orbit with its perigee half a turn on. Much further below, drag has left the model's range.
inline constexpr double kMinMeanEccentricity = -1.0e-3;
// 1 + cos i is floored here, so that an inclination of exactly 180 degrees stays finite.
inline constexpr double kMinOnePlusCosI = 1.5e-12;

}  // namespace zen::sgp4
