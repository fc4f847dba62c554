// Initialisation of the near-earth model, and the part of it the deep-space model shares.
#include <algorithm>
#include <cmath>

#include "core/propagator.h"
#include "core/sgp4_constants.h"

namespace zen {

using namespace sgp4;

void TPropagator::InitialiseCommon() {
  const TElements& el = CurrentElements;
  TModelInit& m = Init;
  m = TModelInit{};
  const double e0 = el.eccentricity;
  const double ke = Ke();

  // Mean motion and semi-major axis recovered from the k2 term, as the decoder does.
  m.cosI = std::cos(el.inclination);
  m.sinI = std::sin(el.inclination);
  m.theta2 = m.cosI * m.cosI;
  m.threeTheta2Minus1 = 3.0 * m.theta2 - 1.0;
  m.oneMinusTheta2 = 1.0 - m.theta2;
  m.sevenTheta2Minus1 = 7.0 * m.theta2 - 1.0;
  m.eccentricitySq = e0 * e0;
  m.beta0Sq = 1.0 - m.eccentricitySq;
  m.beta0 = std::sqrt(m.beta0Sq);
  const double a1 = std::pow(ke / el.meanMotion, kTwoThirds);
  const double del1 = 1.5 * kK2 * m.threeTheta2Minus1 / (a1 * a1 * m.beta0 * m.beta0Sq);
  const double a0 = a1 * (1.0 - del1 * (0.5 * kTwoThirds + del1 * (1.0 + 134.0 / 81.0 * del1)));
  const double del0 = 1.5 * kK2 * m.threeTheta2Minus1 / (a0 * a0 * m.beta0 * m.beta0Sq);
  m.motion = el.meanMotion / (1.0 + del0);
  m.axis = a0 / (1.0 - del0);

  m.simplifiedDrag = m.axis * (1.0 - e0) < kSimplifiedDragPerigeeKm / kEarthRadiusKm + 1.0;

  // Below 156 km of perigee the density function's s follows the perigee down.
  m.s = kS;
  m.qms4 = kQms4;
  const double perigeeKm = (m.axis * (1.0 - e0) - 1.0) * kEarthRadiusKm;
  if (perigeeKm < kLowPerigeeKm) {
    double sKm = perigeeKm - kSKm;
    if (perigeeKm <= kVeryLowPerigeeKm) sKm = kVeryLowSKm;
    const double q = (kQ0Km - sKm) / kEarthRadiusKm;
    m.qms4 = q * q * q * q;
    m.s = sKm / kEarthRadiusKm + 1.0;
  }

  const double pinvsq = 1.0 / (m.axis * m.axis * m.beta0Sq * m.beta0Sq);
  m.xi = 1.0 / (m.axis - m.s);
  m.eta = m.axis * e0 * m.xi;
  const double etasq = m.eta * m.eta;
  const double eeta = e0 * m.eta;
  const double psisq = std::fabs(1.0 - etasq);
  const double xi2 = m.xi * m.xi;
  const double coef = m.qms4 * xi2 * xi2;
  const double coef1 = coef / std::pow(psisq, 3.5);
  const double c2 =
      coef1 * m.motion *
      (m.axis * (1.0 + 1.5 * etasq + eeta * (4.0 + etasq)) +
       0.75 * kK2 * m.xi / psisq * m.threeTheta2Minus1 * (8.0 + 3.0 * etasq * (8.0 + etasq)));
  m.c1 = el.bstar * c2;
  m.c4 = 2.0 * m.motion * coef1 * m.axis * m.beta0Sq *
         (m.eta * (2.0 + 0.5 * etasq) + e0 * (0.5 + 2.0 * etasq) -
          2.0 * kK2 * m.xi / (m.axis * psisq) *
              (-3.0 * m.threeTheta2Minus1 * (1.0 - 2.0 * eeta + etasq * (1.5 - 0.5 * eeta)) +
               0.75 * m.oneMinusTheta2 * (2.0 * etasq - eeta * (1.0 + etasq)) *
                   std::cos(2.0 * el.argPerigee)));

  const double theta4 = m.theta2 * m.theta2;
  const double temp1 = 3.0 * kK2 * pinvsq * m.motion;
  const double temp2 = temp1 * kK2 * pinvsq;
  const double temp3 = kOneAndQuarterK4 * pinvsq * pinvsq * m.motion;
  m.meanAnomalyRate = m.motion + 0.5 * temp1 * m.beta0 * m.threeTheta2Minus1 +
                      0.0625 * temp2 * m.beta0 * (13.0 - 78.0 * m.theta2 + 137.0 * theta4);
  m.argPerigeeRate = -0.5 * temp1 * (1.0 - 5.0 * m.theta2) +
                     0.0625 * temp2 * (7.0 - 114.0 * m.theta2 + 395.0 * theta4) +
                     temp3 * (3.0 - 36.0 * m.theta2 + 49.0 * theta4);
  const double nodeRate1 = -temp1 * m.cosI;
  m.nodeRate =
      nodeRate1 +
      (0.5 * temp2 * (4.0 - 19.0 * m.theta2) + 2.0 * temp3 * (3.0 - 7.0 * m.theta2)) * m.cosI;
  m.nodeDragCoef = 3.5 * m.beta0Sq * nodeRate1 * m.c1;
  m.lCoef2 = 1.5 * m.c1;

  // The L coefficient divides by 1 + cos i, which is 0 for an inclination of exactly 180
  // degrees; the floor lies below every other inclination the element line can hold.
  const double onePlusCosI = std::max(1.0 + m.cosI, kMinOnePlusCosI);
  m.longPeriodLCoef = 0.125 * kA30OverK2 * m.sinI * (3.0 + 5.0 * m.cosI) / onePlusCosI;
  m.longPeriodAynCoef = 0.25 * kA30OverK2 * m.sinI;
}

void TPropagator::InitialiseNearEarth() {
  InitialiseCommon();
  const TElements& el = CurrentElements;
  TModelInit& m = Init;
  const double e0 = el.eccentricity;
  const double xi2 = m.xi * m.xi;
  const double coef = m.qms4 * xi2 * xi2;
  const double etasq = m.eta * m.eta;
  const double eeta = e0 * m.eta;
  const double coef1 = coef / std::pow(std::fabs(1.0 - etasq), 3.5);

  // C3 and the mean-anomaly drag term divide by e0; a circular set has neither term.
  if (e0 != 0.0) {
    m.c3 = coef * m.xi * kA30OverK2 * m.motion * m.sinI / e0;
    m.meanAnomalyDragCoef = -kTwoThirds * coef * el.bstar / eeta;
  }
  m.c5 = 2.0 * coef1 * m.axis * m.beta0Sq * (1.0 + 2.75 * (etasq + eeta) + eeta * etasq);
  m.argPerigeeDragCoef = el.bstar * m.c3 * std::cos(el.argPerigee);
  m.etaCosM0Cubed = std::pow(1.0 + m.eta * std::cos(el.meanAnomaly), 3.0);
  m.sinM0 = std::sin(el.meanAnomaly);

  if (m.simplifiedDrag) return;
  const double c1sq = m.c1 * m.c1;
  m.d2 = 4.0 * m.axis * m.xi * c1sq;
  const double temp = m.d2 * m.xi * m.c1 / 3.0;
  m.d3 = (17.0 * m.axis + m.s) * temp;
  // a0''^2: the factor that keeps D4 dimensionless like D2 and D3.
  m.d4 = 0.5 * temp * m.axis * m.xi * (221.0 * m.axis + 31.0 * m.s) * m.c1;
  m.lCoef3 = m.d2 + 2.0 * c1sq;
  m.lCoef4 = 0.25 * (3.0 * m.d3 + m.c1 * (12.0 * m.d2 + 10.0 * c1sq));
  m.lCoef5 = 0.2 * (3.0 * m.d4 + 12.0 * m.c1 * m.d3 + 6.0 * m.d2 * m.d2 +
                    15.0 * c1sq * (2.0 * m.d2 + c1sq));
}

}  // namespace zen
