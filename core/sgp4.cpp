// The near-earth model: secular gravity and drag, then the shared periodic steps.
#include <cmath>

#include "core/propagator.h"
#include "core/sgp4_osculate.h"

namespace zen {

TPropagationStatus TPropagator::Sgp4Propagate(bool& initPending, TVector& pos, TVector& vel,
                                              double tsince) {
  if (initPending) {
    InitialiseNearEarth();
    initPending = false;
  }
  const TElements& el = CurrentElements;
  const TModelInit& m = Init;

  // Secular gravity and atmospheric drag.
  const double xmdf = el.meanAnomaly + m.meanAnomalyRate * tsince;
  const double omgadf = el.argPerigee + m.argPerigeeRate * tsince;
  const double xnoddf = el.rightAscension + m.nodeRate * tsince;
  double omega = omgadf;
  double xmp = xmdf;
  const double tsq = tsince * tsince;
  const double xnode = xnoddf + m.nodeDragCoef * tsq;
  double tempa = 1.0 - m.c1 * tsince;
  double tempe = el.bstar * m.c4 * tsince;
  double templ = m.lCoef2 * tsq;
  if (!m.simplifiedDrag) {
    const double delomg = m.argPerigeeDragCoef * tsince;
    const double etaCos = 1.0 + m.eta * std::cos(xmdf);
    const double delm = m.meanAnomalyDragCoef * (etaCos * etaCos * etaCos - m.etaCosM0Cubed);
    const double temp = delomg + delm;
    xmp = xmdf + temp;
    omega = omgadf - temp;
    const double tcube = tsq * tsince;
    const double tfour = tsince * tcube;
    tempa = tempa - m.d2 * tsq - m.d3 * tcube - m.d4 * tfour;
    tempe = tempe + el.bstar * m.c5 * (std::sin(xmp) - m.sinM0);
    templ = templ + m.lCoef3 * tcube + tfour * (m.lCoef4 + tsince * m.lCoef5);
  }
  // Past the zero of (1 - C1 t ...) the square would give a growing orbit again: the
  // model has decayed through a = 0.
  if (!(tempa > 0.0)) {
    pos = TVector{};
    vel = TVector{};
    return std::isfinite(tempa) ? TPropagationStatus::NonPositiveAxis
                                : TPropagationStatus::NonFinite;
  }
  sgp4::TMeanElements mean;
  mean.axis = m.axis * tempa * tempa;
  mean.eccentricity = el.eccentricity - tempe;
  mean.argPerigee = omega;
  mean.node = xnode;
  mean.meanLongitude = xmp + omega + xnode + m.motion * templ;
  mean.inclination = el.inclination;
  return sgp4::OsculatingState(m, mean, pos, vel);
}

}  // namespace zen
