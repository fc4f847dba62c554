// The deep-space routine's periodic entry: lunar and solar periodic terms.
#include <cmath>

#include "core/deep_space_constants.h"
#include "core/propagator.h"

namespace zen {

using namespace deep;

void TPropagator::DeepSpacePeriodic(double& em, double& xinc, double& omgasm, double& xnodes,
                                    double& xll, double t) {
  TDeepSpaceState& d = Deep;
  const double sinis = std::sin(xinc);
  const double cosis = std::cos(xinc);
  if (std::fabs(d.periodicTime - t) >= kPeriodicReuseMinutes) {
    d.periodicTime = t;
    double zm = d.zmos + kZns * t;
    double zf = zm + 2.0 * kZes * std::sin(zm);
    double sinzf = std::sin(zf);
    double f2 = 0.5 * sinzf * sinzf - 0.25;
    double f3 = -0.5 * sinzf * std::cos(zf);
    const double ses = d.se2 * f2 + d.se3 * f3;
    const double sis = d.si2 * f2 + d.si3 * f3;
    const double sls = d.sl2 * f2 + d.sl3 * f3 + d.sl4 * sinzf;
    d.sghs = d.sgh2 * f2 + d.sgh3 * f3 + d.sgh4 * sinzf;
    d.shs = d.sh2 * f2 + d.sh3 * f3;
    zm = d.zmol + kZnl * t;
    zf = zm + 2.0 * kZel * std::sin(zm);
    sinzf = std::sin(zf);
    f2 = 0.5 * sinzf * sinzf - 0.25;
    f3 = -0.5 * sinzf * std::cos(zf);
    const double sel = d.ee2 * f2 + d.e3 * f3;
    const double sil = d.xi2 * f2 + d.xi3 * f3;
    const double sll = d.xl2 * f2 + d.xl3 * f3 + d.xl4 * sinzf;
    d.sghl = d.xgh2 * f2 + d.xgh3 * f3 + d.xgh4 * sinzf;
    d.shl = d.xh2 * f2 + d.xh3 * f3;
    d.pe = ses + sel;
    d.pinc = sis + sil;
    d.pl = sls + sll;
  }
  double pgh = d.sghs + d.sghl;
  double ph = d.shs + d.shl;
  xinc = xinc + d.pinc;
  em = em + d.pe;

  if (d.inclination >= kVectorPeriodicsInclination) {
    ph = ph / d.sinI;
    pgh = pgh - d.cosI * ph;
    omgasm = omgasm + pgh;
    xnodes = xnodes + ph;
    xll = xll + d.pl;
    return;
  }

  // At low inclination the node is corrected through its vector form (sin i sin Omega,
  // sin i cos Omega), which stays defined as i goes to 0.
  const double sinok = std::sin(xnodes);
  const double cosok = std::cos(xnodes);
  double alfdp = sinis * sinok;
  double betdp = sinis * cosok;
  const double dalf = ph * cosok + d.pinc * cosis * sinok;
  const double dbet = -ph * sinok + d.pinc * cosis * cosok;
  alfdp = alfdp + dalf;
  betdp = betdp + dbet;
  double xls = xll + omgasm + cosis * xnodes;
  const double dls = d.pl + pgh - d.pinc * xnodes * sinis;
  xls = xls + dls;
  // The rebuilt node is put on the same turn as the node it corrects: the argument of
  // perigee is taken from the mean longitude less cos i times the node, so a node moved by
  // a whole turn would move the satellite by 2 pi (1 - cos i) along its orbit.
  double node = AngleFromSinCos(alfdp, betdp);
  node += kTwoPi * std::round((xnodes - node) / kTwoPi);
  xnodes = node;
  xll = xll + d.pl;
  omgasm = xls - xll - std::cos(xinc) * xnodes;
}

}  // namespace zen
