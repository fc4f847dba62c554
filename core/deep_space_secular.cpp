// The deep-space routine's secular entry: lunar-solar secular rates and the resonance
// integrator (core/deep_space_resonance.h) for the mean longitude and mean motion.
#include <cmath>

#include "core/deep_space_constants.h"
#include "core/deep_space_resonance.h"
#include "core/propagator.h"

namespace zen {

using namespace deep;

void TPropagator::ResonanceRates(double& lambdaRate, double& motionRate,
                                 double& motionRate2) const {
  deep::ResonanceRates(Deep, lambdaRate, motionRate, motionRate2);
}

void TPropagator::IntegrateResonance(double t) {
  deep::IntegrateResonance(Deep, t);
}

void TPropagator::DeepSpaceSecular(double& xll, double& omgasm, double& xnodes, double& em,
                                   double& xinc, double& xn, double t) {
  TDeepSpaceState& d = Deep;
  xll = xll + d.ssl * t;
  omgasm = omgasm + d.ssg * t;
  xnodes = xnodes + d.ssh * t;
  em = d.eccentricity + d.sse * t;
  xinc = d.inclination + d.ssi * t;
  if (xinc < 0.0) {
    xinc = -xinc;
    xnodes = xnodes + kPi;
    omgasm = omgasm - kPi;
  }
  if (!d.resonant) return;

  IntegrateResonance(t);
  const double ft = t - d.timeReached;
  double lambdaRate = 0.0, motionRate = 0.0, motionRate2 = 0.0;
  ResonanceRates(lambdaRate, motionRate, motionRate2);
  xn = d.motionReached + motionRate * ft + motionRate2 * ft * ft * 0.5;
  const double xl = d.lambdaReached + lambdaRate * ft + motionRate * ft * ft * 0.5;
  const double temp = -xnodes + d.siderealAtEpoch + t * kThetaDot;
  xll = d.synchronous ? xl - omgasm + temp : xl + temp + temp;
}

}  // namespace zen
