// The deep-space resonance integrator, for any state that carries the deep-space routine's
// resonance fields by their names (TDeepSpaceState for one satellite, a lane's copy of them for
// the vector path), so that both walk the same steps and reach the same bits.
#pragma once

#include <cmath>

#include "core/deep_space_constants.h"

namespace zen::deep {

// Rates of the mean longitude and mean motion, and the second rate of the mean motion, at the
// integrator's current point.
template <class TState>
void ResonanceRates(const TState& d, double& lambdaRate, double& motionRate, double& motionRate2) {
  const double xli = d.lambdaReached;
  if (d.synchronous) {
    motionRate = d.del1 * std::sin(xli - kFasx2) + d.del2 * std::sin(2.0 * (xli - kFasx4)) +
                 d.del3 * std::sin(3.0 * (xli - kFasx6));
    motionRate2 = d.del1 * std::cos(xli - kFasx2) + 2.0 * d.del2 * std::cos(2.0 * (xli - kFasx4)) +
                  3.0 * d.del3 * std::cos(3.0 * (xli - kFasx6));
  } else {
    // The 12-hour terms use the argument of perigee advanced to the time reached.
    const double xomi = d.argPerigee + d.argPerigeeRate * d.timeReached;
    const double x2omi = xomi + xomi;
    const double x2li = xli + xli;
    motionRate = d.d2201 * std::sin(x2omi + xli - kG22) + d.d2211 * std::sin(xli - kG22) +
                 d.d3210 * std::sin(xomi + xli - kG32) + d.d3222 * std::sin(-xomi + xli - kG32) +
                 d.d4410 * std::sin(x2omi + x2li - kG44) + d.d4422 * std::sin(x2li - kG44) +
                 d.d5220 * std::sin(xomi + xli - kG52) + d.d5232 * std::sin(-xomi + xli - kG52) +
                 d.d5421 * std::sin(xomi + x2li - kG54) + d.d5433 * std::sin(-xomi + x2li - kG54);
    motionRate2 =
        d.d2201 * std::cos(x2omi + xli - kG22) + d.d2211 * std::cos(xli - kG22) +
        d.d3210 * std::cos(xomi + xli - kG32) + d.d3222 * std::cos(-xomi + xli - kG32) +
        d.d5220 * std::cos(xomi + xli - kG52) + d.d5232 * std::cos(-xomi + xli - kG52) +
        2.0 * (d.d4410 * std::cos(x2omi + x2li - kG44) + d.d4422 * std::cos(x2li - kG44) +
               d.d5421 * std::cos(xomi + x2li - kG54) + d.d5433 * std::cos(-xomi + x2li - kG54));
  }
  lambdaRate = d.motionReached + d.motionFactor;
  motionRate2 = motionRate2 * lambdaRate;
}

// Moves the integrator to within one step of t: back to epoch when t lies on the other side
// of it, back toward epoch while t is nearer to epoch than the time reached, then forward.
template <class TState>
void IntegrateResonance(TState& d, double t) {
  auto step = [&d](double delt) {
    double lambdaRate = 0.0, motionRate = 0.0, motionRate2 = 0.0;
    ResonanceRates(d, lambdaRate, motionRate, motionRate2);
    d.lambdaReached += lambdaRate * delt + motionRate * kHalfStepSq;
    d.motionReached += motionRate * delt + motionRate2 * kHalfStepSq;
    d.timeReached += delt;
  };
  auto restartNeeded = [&d, t]() {
    return d.timeReached == 0.0 || (t >= 0.0 && d.timeReached < 0.0) ||
           (t < 0.0 && d.timeReached >= 0.0);
  };
  for (;;) {
    if (restartNeeded()) {
      d.timeReached = 0.0;
      d.motionReached = d.motion;
      d.lambdaReached = d.lambda0;
      break;
    }
    if (std::fabs(t) >= std::fabs(d.timeReached)) break;
    step(t >= 0.0 ? -kStep : kStep);
  }
  const double delt = t > 0.0 ? kStep : -kStep;
  while (std::fabs(t - d.timeReached) >= kStep) step(delt);
}

}  // namespace zen::deep
