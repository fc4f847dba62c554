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

// Kepler's equation for E + omega as the short-period terms take it: the sine and cosine of
// the iterate the last correction started from, and the products with axn and ayn.
struct TKeplerSolution {
  double sinepw = 0.0;
  double cosepw = 0.0;
  double temp3 = 0.0;  // axn sin
  double temp4 = 0.0;  // ayn cos
  double temp5 = 0.0;  // axn cos
  double temp6 = 0.0;  // ayn sin
};

// Solves U = E + omega - axn sin + ayn cos for a finite U; false when the plain iteration does
// not settle and the equation has no single root (axn^2 + ayn^2 of 1 or more).
bool SolveKepler(double capu, double axn, double ayn, TKeplerSolution& k);

// Position (earth radii) and velocity (earth radii per minute); zero unless the status is Ok.
TPropagationStatus OsculatingState(const TModelInit& init, const TMeanElements& mean, TVector& pos,
                                   TVector& vel);

}  // namespace zen::sgp4
