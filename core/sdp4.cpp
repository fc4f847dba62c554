// The deep-space model: secular gravity and drag, the deep-space routine, then the shared
// periodic steps.
#include <cmath>

#include "core/deep_space_constants.h"
#include "core/propagator.h"
#include "core/sgp4_constants.h"
#include "core/sgp4_osculate.h"

namespace zen {

TPropagationStatus TPropagator::Sdp4Propagate(bool& initPending, TVector& pos, TVector& vel,
                                              double tsince) {
  if (initPending) {
    InitialiseCommon();
    initPending = false;
    DeepSpaceInitialise();
  }
  const TElements& el = CurrentElements;
  const TModelInit& m = Init;
  auto fail = [&pos, &vel](TPropagationStatus status) {
    pos = TVector{};
    vel = TVector{};
    return status;
  };
  if (Deep.resonant && std::fabs(tsince) > deep::kMaxResonanceMinutes) {
    return fail(TPropagationStatus::NonFinite);
  }

  // Secular gravity and drag.
  double xmdf = el.meanAnomaly + m.meanAnomalyRate * tsince;
  double omgadf = el.argPerigee + m.argPerigeeRate * tsince;
  const double xnoddf = el.rightAscension + m.nodeRate * tsince;
  const double tsq = tsince * tsince;
  double xnode = xnoddf + m.nodeDragCoef * tsq;
  const double tempa = 1.0 - m.c1 * tsince;
  const double tempe = el.bstar * m.c4 * tsince;
  const double templ = m.lCoef2 * tsq;
  double xn = m.motion;
  double em = 0.0;
  double xinc = 0.0;
  DeepSpaceSecular(xmdf, omgadf, xnode, em, xinc, xn, tsince);
  if (!(xn > 0.0) || !(tempa > 0.0)) {
    return fail(std::isfinite(xn) && std::isfinite(tempa) ? TPropagationStatus::NonPositiveAxis
                                                          : TPropagationStatus::NonFinite);
  }
  sgp4::TMeanElements mean;
  mean.axis = std::pow(Ke() / xn, sgp4::kTwoThirds) * tempa * tempa;
  double e = em - tempe;
  double xmam = xmdf + m.motion * templ;
  DeepSpacePeriodic(e, xinc, omgadf, xnode, xmam, tsince);
  mean.eccentricity = e;
  mean.argPerigee = omgadf;
  mean.node = xnode;
  mean.meanLongitude = xmam + omgadf + xnode;
  mean.inclination = xinc;
  return sgp4::OsculatingState(m, mean, pos, vel);
}

}  // namespace zen
