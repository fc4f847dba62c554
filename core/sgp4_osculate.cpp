// Long-period periodics, Kepler's equation for E + omega, short-period periodics and the
// orientation vectors, shared by the near-earth and deep-space models.
#include "core/sgp4_osculate.h"

#include <cmath>

#include "core/sgp4_constants.h"

namespace zen::sgp4 {

namespace {

// The fallback solution of Kepler's equation runs to full precision.
constexpr int kBracketedIterations = 200;
constexpr double kBracketedTolerance = 1.0e-12;

TPropagationStatus Fail(TPropagationStatus status, TVector& pos, TVector& vel) {
  pos = TVector{};
  vel = TVector{};
  return status;
}

// The root of E - axn sin E + ayn cos E = U, which lies within U -+ sqrt(axn^2 + ayn^2)
// (less than 1): Newton steps kept inside a bracket that shrinks at every step.
double SolveKeplerBracketed(double capu, double axn, double ayn) {
  const double el = std::sqrt(axn * axn + ayn * ayn);
  double low = capu - el;
  double high = capu + el;
  double x = capu;
  for (int i = 0; i < kBracketedIterations; ++i) {
    const double s = std::sin(x);
    const double c = std::cos(x);
    const double g = x - axn * s + ayn * c - capu;
    if (g == 0.0) return x;
    if (g > 0.0) {
      high = x;
    } else {
      low = x;
    }
    double next = x - g / (1.0 - axn * c - ayn * s);
    if (!(next > low && next < high)) next = 0.5 * (low + high);
    if (std::fabs(next - x) <= kBracketedTolerance) return next;
    x = next;
  }
  return x;
}

}  // namespace

bool SolveKepler(double capu, double axn, double ayn, TKeplerSolution& k) {
  // The sine and cosine kept are those of the iterate the last correction started from, as
  // the report's loop leaves them.
  auto keep = [&](double epw) {
    k.sinepw = std::sin(epw);
    k.cosepw = std::cos(epw);
    k.temp3 = axn * k.sinepw;
    k.temp4 = ayn * k.cosepw;
    k.temp5 = axn * k.cosepw;
    k.temp6 = ayn * k.sinepw;
  };
  double epw = capu;
  bool converged = false;
  for (int i = 0; i < kKeplerIterations && !converged; ++i) {
    keep(epw);
    const double next = (capu - k.temp4 + k.temp3 - epw) / (1.0 - k.temp5 - k.temp6) + epw;
    converged = std::fabs(next - epw) <= kKeplerTolerance;
    if (!converged) epw = next;
  }
  if (converged) return true;
  // At high eccentricity the plain iteration can swing between far points and stop after ten
  // tries anywhere. The equation has exactly one root, so solve it within its bracket.
  if (!(axn * axn + ayn * ayn < 1.0)) return false;
  keep(SolveKeplerBracketed(capu, axn, ayn));
  return true;
}

TPropagationStatus OsculatingState(const TModelInit& init, const TMeanElements& mean, TVector& pos,
                                   TVector& vel) {
  const double a = mean.axis;
  const double e = mean.eccentricity;
  if (!(a > 0.0)) return Fail(TPropagationStatus::NonPositiveAxis, pos, vel);
  if (!(e >= kMinMeanEccentricity && e < 1.0)) {
    return Fail(TPropagationStatus::EccentricityOutOfRange, pos, vel);
  }
  const double ke = Ke();
  const double betaSq = 1.0 - e * e;
  const double motion = ke / (a * std::sqrt(a));

  // Long-period periodics.
  const double sinOmega = std::sin(mean.argPerigee);
  const double cosOmega = std::cos(mean.argPerigee);
  const double axn = e * cosOmega;
  double temp = 1.0 / (a * betaSq);
  const double xll = temp * init.longPeriodLCoef * axn;
  const double aynl = temp * init.longPeriodAynCoef;
  const double xlt = mean.meanLongitude + xll;
  const double ayn = e * sinOmega + aynl;

  // Kepler's equation.
  const double capu = WrapTwoPi(xlt - mean.node);
  if (!std::isfinite(capu)) return Fail(TPropagationStatus::NonFinite, pos, vel);
  TKeplerSolution k;
  if (!SolveKepler(capu, axn, ayn, k)) {
    return Fail(TPropagationStatus::EccentricityOutOfRange, pos, vel);
  }
  const double sinepw = k.sinepw;
  const double cosepw = k.cosepw;

  // Short-period preliminary quantities.
  const double ecose = k.temp5 + k.temp6;
  const double esine = k.temp3 - k.temp4;
  const double elsq = axn * axn + ayn * ayn;
  temp = 1.0 - elsq;
  const double pl = a * temp;
  if (!(pl > 0.0)) return Fail(TPropagationStatus::EccentricityOutOfRange, pos, vel);
  const double r = a * (1.0 - ecose);
  double temp1 = 1.0 / r;
  const double rdot = ke * std::sqrt(a) * esine * temp1;
  const double rfdot = ke * std::sqrt(pl) * temp1;
  double temp2 = a * temp1;
  const double betal = std::sqrt(temp);
  const double temp3 = 1.0 / (1.0 + betal);
  const double cosu = temp2 * (cosepw - axn + ayn * esine * temp3);
  const double sinu = temp2 * (sinepw - ayn - axn * esine * temp3);
  const double u = AngleFromSinCos(sinu, cosu);
  const double sin2u = 2.0 * sinu * cosu;
  const double cos2u = 2.0 * cosu * cosu - 1.0;
  temp = 1.0 / pl;
  temp1 = kK2 * temp;
  temp2 = temp1 * temp;

  // The short-period periodics give the osculating quantities.
  const double rk = r * (1.0 - 1.5 * temp2 * betal * init.threeTheta2Minus1) +
                    0.5 * temp1 * init.oneMinusTheta2 * cos2u;
  const double uk = u - 0.25 * temp2 * init.sevenTheta2Minus1 * sin2u;
  const double nodek = mean.node + 1.5 * temp2 * init.cosI * sin2u;
  const double inclk = mean.inclination + 1.5 * temp2 * init.cosI * init.sinI * cos2u;
  const double rdotk = rdot - motion * temp1 * init.oneMinusTheta2 * sin2u;
  const double rfdotk =
      rfdot + motion * temp1 * (init.oneMinusTheta2 * cos2u + 1.5 * init.threeTheta2Minus1);

  // Orientation vectors.
  const double sinuk = std::sin(uk);
  const double cosuk = std::cos(uk);
  const double sinik = std::sin(inclk);
  const double cosik = std::cos(inclk);
  const double sinnok = std::sin(nodek);
  const double cosnok = std::cos(nodek);
  const double xmx = -sinnok * cosik;
  const double xmy = cosnok * cosik;
  const double ux = xmx * sinuk + cosnok * cosuk;
  const double uy = xmy * sinuk + sinnok * cosuk;
  const double uz = sinik * sinuk;
  const double vx = xmx * cosuk - cosnok * sinuk;
  const double vy = xmy * cosuk - sinnok * sinuk;
  const double vz = sinik * cosuk;

  pos = TVector{rk * ux, rk * uy, rk * uz, 0.0};
  vel = TVector{rdotk * ux + rfdotk * vx, rdotk * uy + rfdotk * vy, rdotk * uz + rfdotk * vz, 0.0};
  if (!(std::isfinite(pos.x) && std::isfinite(pos.y) && std::isfinite(pos.z) &&
        std::isfinite(vel.x) && std::isfinite(vel.y) && std::isfinite(vel.z))) {
    return Fail(TPropagationStatus::NonFinite, pos, vel);
  }
  // A position inside the Earth: the model has decayed for this moment.
  if (rk < 1.0) return Fail(TPropagationStatus::Decayed, pos, vel);
  return TPropagationStatus::Ok;
}

}  // namespace zen::sgp4
