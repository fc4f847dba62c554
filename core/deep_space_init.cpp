// The deep-space routine's initialisation: lunar and solar terms and the resonance set-up.
#include <cmath>

#include "core/deep_space_constants.h"
#include "core/propagator.h"
#include "core/timescale.h"

namespace zen {

using namespace deep;

namespace {

// Secular rates and periodic coefficients of one perturbing body (the Sun or the Moon).
struct TBodyTerms {
  double se, si, sl, sgh, sh;
  double e2, e3, i2, i3, l2, l3, l4, gh2, gh3, gh4, h2, h3;
};

struct TBodyGeometry {
  double zcosg, zsing, zcosi, zsini, zcosh, zsinh;
  double cc, zn, ze;
};

struct TOrbitAtEpoch {
  double eq, eqsq, sinI, cosI, beta0, beta0Sq, sinOmega, cosOmega, inverseMotion, inclination;
};

// The report runs this block twice, with the Sun's and then the Moon's constants.
TBodyTerms BodyTerms(const TBodyGeometry& g, const TOrbitAtEpoch& o) {
  const double a1 = g.zcosg * g.zcosh + g.zsing * g.zcosi * g.zsinh;
  const double a3 = -g.zsing * g.zcosh + g.zcosg * g.zcosi * g.zsinh;
  const double a7 = -g.zcosg * g.zsinh + g.zsing * g.zcosi * g.zcosh;
  const double a8 = g.zsing * g.zsini;
  const double a9 = g.zsing * g.zsinh + g.zcosg * g.zcosi * g.zcosh;
  const double a10 = g.zcosg * g.zsini;
  const double a2 = o.cosI * a7 + o.sinI * a8;
  const double a4 = o.cosI * a9 + o.sinI * a10;
  const double a5 = -o.sinI * a7 + o.cosI * a8;
  const double a6 = -o.sinI * a9 + o.cosI * a10;

  const double x1 = a1 * o.cosOmega + a2 * o.sinOmega;
  const double x2 = a3 * o.cosOmega + a4 * o.sinOmega;
  const double x3 = -a1 * o.sinOmega + a2 * o.cosOmega;
  const double x4 = -a3 * o.sinOmega + a4 * o.cosOmega;
  const double x5 = a5 * o.sinOmega;
  const double x6 = a6 * o.sinOmega;
  const double x7 = a5 * o.cosOmega;
  const double x8 = a6 * o.cosOmega;

  const double eqsq = o.eqsq;
  const double z31 = 12.0 * x1 * x1 - 3.0 * x3 * x3;
  const double z32 = 24.0 * x1 * x2 - 6.0 * x3 * x4;
  const double z33 = 12.0 * x2 * x2 - 3.0 * x4 * x4;
  double z1 = 3.0 * (a1 * a1 + a2 * a2) + z31 * eqsq;
  double z2 = 6.0 * (a1 * a3 + a2 * a4) + z32 * eqsq;
  double z3 = 3.0 * (a3 * a3 + a4 * a4) + z33 * eqsq;
  const double z11 = -6.0 * a1 * a5 + eqsq * (-24.0 * x1 * x7 - 6.0 * x3 * x5);
  const double z12 =
      -6.0 * (a1 * a6 + a3 * a5) + eqsq * (-24.0 * (x2 * x7 + x1 * x8) - 6.0 * (x3 * x6 + x4 * x5));
  const double z13 = -6.0 * a3 * a6 + eqsq * (-24.0 * x2 * x8 - 6.0 * x4 * x6);
  const double z21 = 6.0 * a2 * a5 + eqsq * (24.0 * x1 * x5 - 6.0 * x3 * x7);
  const double z22 =
      6.0 * (a4 * a5 + a2 * a6) + eqsq * (24.0 * (x2 * x5 + x1 * x6) - 6.0 * (x4 * x7 + x3 * x8));
  const double z23 = 6.0 * a4 * a6 + eqsq * (24.0 * x2 * x6 - 6.0 * x4 * x8);
  z1 = z1 + z1 + o.beta0Sq * z31;
  z2 = z2 + z2 + o.beta0Sq * z32;
  z3 = z3 + z3 + o.beta0Sq * z33;
  const double s3 = g.cc * o.inverseMotion;
  const double s2 = -0.5 * s3 / o.beta0;
  const double s4 = s3 * o.beta0;
  const double s1 = -15.0 * o.eq * s4;
  const double s5 = x1 * x3 + x2 * x4;
  const double s6 = x2 * x3 + x1 * x4;
  const double s7 = x2 * x4 - x1 * x3;

  TBodyTerms t;
  t.se = s1 * g.zn * s5;
  t.si = s2 * g.zn * (z11 + z13);
  t.sl = -g.zn * s3 * (z1 + z3 - 14.0 - 6.0 * eqsq);
  t.sgh = s4 * g.zn * (z31 + z33 - 6.0);
  t.sh = -g.zn * s2 * (z21 + z23);
  if (o.inclination < kNodeRateMinInclination) t.sh = 0.0;
  t.e2 = 2.0 * s1 * s6;
  t.e3 = 2.0 * s1 * s7;
  t.i2 = 2.0 * s2 * z12;
  t.i3 = 2.0 * s2 * (z13 - z11);
  t.l2 = -2.0 * s3 * z2;
  t.l3 = -2.0 * s3 * (z3 - z1);
  t.l4 = -2.0 * s3 * (-21.0 - 9.0 * eqsq) * g.ze;
  t.gh2 = 2.0 * s4 * z32;
  t.gh3 = 2.0 * s4 * (z33 - z31);
  t.gh4 = -18.0 * s4 * g.ze;
  t.h2 = -2.0 * s2 * z22;
  t.h3 = -2.0 * s2 * (z23 - z21);
  return t;
}

// The node-rate term over sin i. Below 3 degrees the term is zero by rule, and it stays zero
// at an inclination of exactly 0, where the division would give 0/0.
double OverSinI(double sh, double sinI) {
  return sh == 0.0 ? 0.0 : sh / sinI;
}

}  // namespace

void TPropagator::DeepSpaceInitialise() {
  const TElements& el = CurrentElements;
  const TModelInit& m = Init;
  TDeepSpaceState& d = Deep;

  d.siderealAtEpoch = SiderealTimeAtEpoch(el.epoch, d.daysSince1950);
  d.eccentricity = el.eccentricity;
  d.motion = m.motion;
  d.inverseAxis = 1.0 / m.axis;
  d.inclination = el.inclination;
  d.meanAnomaly = el.meanAnomaly;
  d.node = el.rightAscension;
  d.argPerigee = el.argPerigee;
  d.argPerigeeRate = m.argPerigeeRate;
  d.sinI = m.sinI;
  d.cosI = m.cosI;
  const double sinq = std::sin(el.rightAscension);
  const double cosq = std::cos(el.rightAscension);

  // The Moon's orbit for the epoch day.
  const double day = d.daysSince1950 + kDayOffset;
  if (day != d.lunarDay) {
    d.lunarDay = day;
    const double xnodce = kLunarNode0 - kLunarNodeRate * day;
    const double stem = std::sin(xnodce);
    const double ctem = std::cos(xnodce);
    d.zcosil = kLunarCosI0 - kLunarCosI1 * ctem;
    d.zsinil = std::sqrt(1.0 - d.zcosil * d.zcosil);
    d.zsinhl = kLunarSinH * stem / d.zsinil;
    d.zcoshl = std::sqrt(1.0 - d.zsinhl * d.zsinhl);
    const double c = kLunarLongitude0 + kLunarLongitudeRate * day;
    const double gam = kLunarPerigee0 + kLunarPerigeeRate * day;
    d.zmol = WrapTwoPi(c - gam);
    double zx = kZsinis * stem / d.zsinil;
    const double zy = d.zcoshl * ctem + kZcosis * d.zsinhl * stem;
    zx = AngleFromSinCos(zx, zy);
    zx = gam + zx - xnodce;
    d.zcosgl = std::cos(zx);
    d.zsingl = std::sin(zx);
    d.zmos = WrapTwoPi(kSolarAnomaly0 + kSolarAnomalyRate * day);
  }
  d.periodicTime = 1.0e20;

  TOrbitAtEpoch orbit;
  orbit.eq = el.eccentricity;
  orbit.eqsq = m.eccentricitySq;
  orbit.sinI = m.sinI;
  orbit.cosI = m.cosI;
  orbit.beta0 = m.beta0;
  orbit.beta0Sq = m.beta0Sq;
  orbit.sinOmega = std::sin(el.argPerigee);
  orbit.cosOmega = std::cos(el.argPerigee);
  orbit.inverseMotion = 1.0 / m.motion;
  orbit.inclination = el.inclination;

  const TBodyTerms sun =
      BodyTerms({kZcosgs, kZsings, kZcosis, kZsinis, cosq, sinq, kC1ss, kZns, kZes}, orbit);
  d.sse = sun.se;
  d.ssi = sun.si;
  d.ssl = sun.sl;
  d.ssh = OverSinI(sun.sh, m.sinI);
  d.ssg = sun.sgh - m.cosI * d.ssh;
  d.se2 = sun.e2;
  d.si2 = sun.i2;
  d.sl2 = sun.l2;
  d.sgh2 = sun.gh2;
  d.sh2 = sun.h2;
  d.se3 = sun.e3;
  d.si3 = sun.i3;
  d.sl3 = sun.l3;
  d.sgh3 = sun.gh3;
  d.sh3 = sun.h3;
  d.sl4 = sun.l4;
  d.sgh4 = sun.gh4;

  const TBodyTerms moon =
      BodyTerms({d.zcosgl, d.zsingl, d.zcosil, d.zsinil, d.zcoshl * cosq + d.zsinhl * sinq,
                 sinq * d.zcoshl - cosq * d.zsinhl, kC1l, kZnl, kZel},
                orbit);
  d.sse += moon.se;
  d.ssi += moon.si;
  d.ssl += moon.sl;
  d.ssg += moon.sgh - m.cosI * OverSinI(moon.sh, m.sinI);
  d.ssh += OverSinI(moon.sh, m.sinI);
  d.ee2 = moon.e2;
  d.e3 = moon.e3;
  d.xi2 = moon.i2;
  d.xi3 = moon.i3;
  d.xl2 = moon.l2;
  d.xl3 = moon.l3;
  d.xl4 = moon.l4;
  d.xgh2 = moon.gh2;
  d.xgh3 = moon.gh3;
  d.xgh4 = moon.gh4;
  d.xh2 = moon.h2;
  d.xh3 = moon.h3;

  // Geopotential resonance: 24-hour (synchronous) orbits, and 12-hour orbits of high
  // eccentricity.
  d.resonant = false;
  d.synchronous = false;
  const double xnq = m.motion;
  const double aqnv = d.inverseAxis;
  const double eq = el.eccentricity;
  const double eqsq = m.eccentricitySq;
  const double siniq = m.sinI;
  const double cosiq = m.cosI;
  const double cosq2 = m.theta2;
  double bfact = 0.0;
  if (xnq < kSynchronousHigh && xnq > kSynchronousLow) {
    d.resonant = true;
    d.synchronous = true;
    const double g200 = 1.0 + eqsq * (-2.5 + 0.8125 * eqsq);
    const double g310 = 1.0 + 2.0 * eqsq;
    const double g300 = 1.0 + eqsq * (-6.0 + 6.60937 * eqsq);
    const double f220 = 0.75 * (1.0 + cosiq) * (1.0 + cosiq);
    const double f311 = 0.9375 * siniq * siniq * (1.0 + 3.0 * cosiq) - 0.75 * (1.0 + cosiq);
    double f330 = 1.0 + cosiq;
    f330 = 1.875 * f330 * f330 * f330;
    d.del1 = 3.0 * xnq * xnq * aqnv * aqnv;
    d.del2 = 2.0 * d.del1 * f220 * g200 * kQ22;
    d.del3 = 3.0 * d.del1 * f330 * g300 * kQ33 * aqnv;
    d.del1 = d.del1 * f311 * g310 * kQ31 * aqnv;
    d.lambda0 = el.meanAnomaly + el.rightAscension + el.argPerigee - d.siderealAtEpoch;
    bfact = m.meanAnomalyRate + (m.argPerigeeRate + m.nodeRate) - kThetaDot;
    bfact = bfact + d.ssl + d.ssg + d.ssh;
  } else if (xnq >= kHalfDayLow && xnq <= kHalfDayHigh && eq >= kHalfDayMinEccentricity) {
    d.resonant = true;
    const double eoc = eq * eqsq;
    const double g201 = -0.306 - (eq - 0.64) * 0.440;
    double g211, g310, g322, g410, g422, g520, g533, g521, g532;
    if (eq <= 0.65) {
      g211 = 3.616 - 13.247 * eq + 16.290 * eqsq;
      g310 = -19.302 + 117.390 * eq - 228.419 * eqsq + 156.591 * eoc;
      g322 = -18.9068 + 109.7927 * eq - 214.6334 * eqsq + 146.5816 * eoc;
      g410 = -41.122 + 242.694 * eq - 471.094 * eqsq + 313.953 * eoc;
      g422 = -146.407 + 841.880 * eq - 1629.014 * eqsq + 1083.435 * eoc;
      g520 = -532.114 + 3017.977 * eq - 5740.0 * eqsq + 3708.276 * eoc;
    } else {
      g211 = -72.099 + 331.819 * eq - 508.738 * eqsq + 266.724 * eoc;
      g310 = -346.844 + 1582.851 * eq - 2415.925 * eqsq + 1246.113 * eoc;
      g322 = -342.585 + 1554.908 * eq - 2366.899 * eqsq + 1215.972 * eoc;
      g410 = -1052.797 + 4758.686 * eq - 7193.992 * eqsq + 3651.957 * eoc;
      g422 = -3581.69 + 16178.11 * eq - 24462.77 * eqsq + 12422.52 * eoc;
      if (eq <= 0.715) {
        g520 = 1464.74 - 4664.75 * eq + 3763.64 * eqsq;
      } else {
        g520 = -5149.66 + 29936.92 * eq - 54087.36 * eqsq + 31324.56 * eoc;
      }
    }
    if (eq < 0.7) {
      g533 = -919.2277 + 4988.61 * eq - 9064.77 * eqsq + 5542.21 * eoc;
      g521 = -822.71072 + 4568.6173 * eq - 8491.4146 * eqsq + 5337.524 * eoc;
      g532 = -853.666 + 4690.25 * eq - 8624.77 * eqsq + 5341.4 * eoc;
    } else {
      g533 = -37995.78 + 161616.52 * eq - 229838.2 * eqsq + 109377.94 * eoc;
      g521 = -51752.104 + 218913.95 * eq - 309468.16 * eqsq + 146349.42 * eoc;
      g532 = -40023.88 + 170470.89 * eq - 242699.48 * eqsq + 115605.82 * eoc;
    }
    const double sini2 = siniq * siniq;
    const double f220 = 0.75 * (1.0 + 2.0 * cosiq + cosq2);
    const double f221 = 1.5 * sini2;
    const double f321 = 1.875 * siniq * (1.0 - 2.0 * cosiq - 3.0 * cosq2);
    const double f322 = -1.875 * siniq * (1.0 + 2.0 * cosiq - 3.0 * cosq2);
    const double f441 = 35.0 * sini2 * f220;
    const double f442 = 39.3750 * sini2 * sini2;
    const double f522 = 9.84375 * siniq *
                        (sini2 * (1.0 - 2.0 * cosiq - 5.0 * cosq2) +
                         0.33333333 * (-2.0 + 4.0 * cosiq + 6.0 * cosq2));
    const double f523 = siniq * (4.92187512 * sini2 * (-2.0 - 4.0 * cosiq + 10.0 * cosq2) +
                                 6.56250012 * (1.0 + 2.0 * cosiq - 3.0 * cosq2));
    const double f542 =
        29.53125 * siniq * (2.0 - 8.0 * cosiq + cosq2 * (-12.0 + 8.0 * cosiq + 10.0 * cosq2));
    const double f543 =
        29.53125 * siniq * (-2.0 - 8.0 * cosiq + cosq2 * (12.0 + 8.0 * cosiq - 10.0 * cosq2));
    const double xno2 = xnq * xnq;
    const double ainv2 = aqnv * aqnv;
    double temp1 = 3.0 * xno2 * ainv2;
    double temp = temp1 * kRoot22;
    d.d2201 = temp * f220 * g201;
    d.d2211 = temp * f221 * g211;
    temp1 = temp1 * aqnv;
    temp = temp1 * kRoot32;
    d.d3210 = temp * f321 * g310;
    d.d3222 = temp * f322 * g322;
    temp1 = temp1 * aqnv;
    temp = 2.0 * temp1 * kRoot44;
    d.d4410 = temp * f441 * g410;
    d.d4422 = temp * f442 * g422;
    temp1 = temp1 * aqnv;
    temp = temp1 * kRoot52;
    d.d5220 = temp * f522 * g520;
    d.d5232 = temp * f523 * g532;
    temp = 2.0 * temp1 * kRoot54;
    d.d5421 = temp * f542 * g521;
    d.d5433 = temp * f543 * g533;
    d.lambda0 = el.meanAnomaly + el.rightAscension + el.rightAscension - d.siderealAtEpoch -
                d.siderealAtEpoch;
    bfact = m.meanAnomalyRate + m.nodeRate + m.nodeRate - kThetaDot - kThetaDot;
    bfact = bfact + d.ssl + d.ssh + d.ssh;
  }
  if (d.resonant) {
    d.motionFactor = bfact - xnq;
    d.timeReached = 0.0;
    d.lambdaReached = d.lambda0;
    d.motionReached = xnq;
  }
}

}  // namespace zen
