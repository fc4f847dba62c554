// Elementary functions of the vector propagation paths, compiled once per instruction set:
// the sine and cosine of one argument from one reduction, the angle of a sine and cosine, the
// wrap into [0, 2 pi), the lanes' status codes and Kepler's equation over a vector of sets.
// Include it, after hwy/foreach_target.h, from a file that foreach_target.h compiles per target.

// Per-target include guard: foreach_target.h toggles HWY_TARGET_TOGGLE for each pass.
#if defined(ZEN_CORE_VECTOR_MATH_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef ZEN_CORE_VECTOR_MATH_INL_H_
#undef ZEN_CORE_VECTOR_MATH_INL_H_
#else
#define ZEN_CORE_VECTOR_MATH_INL_H_
#endif

#include <hwy/contrib/math/math-inl.h>
#include <hwy/highway.h>

#include <cstddef>

#include "core/numeric.h"
#include "core/propagator.h"
#include "core/sgp4_constants.h"
#include "core/sgp4_osculate.h"

HWY_BEFORE_NAMESPACE();
namespace zen::HWY_NAMESPACE {

namespace hn = hwy::HWY_NAMESPACE;
using D = hn::ScalableTag<double>;
using V = hn::Vec<D>;
using M = hn::Mask<D>;

// A right angle in three parts: the first two have 24 significant bits, so their products with
// a whole number of right angles below 2^29 are exact and the reduction loses nothing to them.
constexpr double kHalfPiHi = 1.570796251296997;
constexpr double kHalfPiMid = 7.549789415861596e-08;
constexpr double kHalfPiLo = 5.390302858158119e-15;
constexpr double kRightAnglesPerRadian = 0.63661977236758134;

struct TSineCosine {
  V sin, cos;
};

// The sine and cosine of x from one reduction and two short polynomials: x less the nearest
// whole number k of right angles, r in [-pi/4, pi/4], gives sin r and cos r (minimax
// polynomials within an ulp there), which k's remainder modulo 4 swaps and signs. The
// reduction holds its accuracy up to about 8e8 rad (k below 2^29), far beyond a low orbit's mean
// anomaly fifteen years from epoch (about 6e5 rad). Only floating-point operations, so a lane whose
// argument is not finite gives NaN, as the standard library does, and disturbs no other lane.
HWY_INLINE TSineCosine SinCosOf(D d, V x) {
  const V k = hn::Round(hn::Mul(x, hn::Set(d, kRightAnglesPerRadian)));
  V r = hn::Sub(x, hn::Mul(k, hn::Set(d, kHalfPiHi)));
  r = hn::Sub(r, hn::Mul(k, hn::Set(d, kHalfPiMid)));
  r = hn::Sub(r, hn::Mul(k, hn::Set(d, kHalfPiLo)));
  const V z = hn::Mul(r, r);
  V ps = hn::MulAdd(z, hn::Set(d, 1.58969099521155010221e-10),
                    hn::Set(d, -2.50507602534068634195e-08));
  ps = hn::MulAdd(z, ps, hn::Set(d, 2.75573137070700676789e-06));
  ps = hn::MulAdd(z, ps, hn::Set(d, -1.98412698298579493134e-04));
  ps = hn::MulAdd(z, ps, hn::Set(d, 8.33333333332248946124e-03));
  ps = hn::MulAdd(z, ps, hn::Set(d, -1.66666666666666324348e-01));
  const V sinR = hn::MulAdd(hn::Mul(z, r), ps, r);
  V pc = hn::MulAdd(z, hn::Set(d, -1.13596475577881948265e-11),
                    hn::Set(d, 2.08757232129817482790e-09));
  pc = hn::MulAdd(z, pc, hn::Set(d, -2.75573143513906633035e-07));
  pc = hn::MulAdd(z, pc, hn::Set(d, 2.48015872894767294178e-05));
  pc = hn::MulAdd(z, pc, hn::Set(d, -1.38888888888741095749e-03));
  pc = hn::MulAdd(z, pc, hn::Set(d, 4.16666666666666019037e-02));
  // 1 - z/2 + z^2 pc, with the rounding of 1 - z/2 carried into the small terms.
  const V one = hn::Set(d, 1.0);
  const V halfZ = hn::Mul(hn::Set(d, 0.5), z);
  const V w = hn::Sub(one, halfZ);
  const V cosR = hn::Add(w, hn::Add(hn::Sub(hn::Sub(one, w), halfZ), hn::Mul(hn::Mul(z, z), pc)));
  // q = k - 4 round(k/4) is k modulo 4 as one of -2 (or 2), -1, 0, 1.
  const V q = hn::Sub(k, hn::Mul(hn::Set(d, 4.0), hn::Round(hn::Mul(k, hn::Set(d, 0.25)))));
  const V absQ = hn::Abs(q);
  const M odd = hn::Eq(absQ, one);
  const M half = hn::Eq(absQ, hn::Set(d, 2.0));
  const V s = hn::IfThenElse(odd, cosR, sinR);
  const V c = hn::IfThenElse(odd, sinR, cosR);
  return TSineCosine{hn::IfThenElse(hn::Or(half, hn::Eq(q, hn::Set(d, -1.0))), hn::Neg(s), s),
                     hn::IfThenElse(hn::Or(half, hn::Eq(q, one)), hn::Neg(c), c)};
}
HWY_INLINE V SinOf(D d, V x) {
  return SinCosOf(d, x).sin;
}
HWY_INLINE V CosOf(D d, V x) {
  return SinCosOf(d, x).cos;
}

// AngleFromSinCos: the arc tangent of s / c turned into (-pi/2, 3pi/2] by the sign of c.
HWY_INLINE V AngleOf(D d, V s, V c) {
  const V zero = hn::Zero(d);
  const V base = hn::Atan(d, hn::Div(s, c));
  const V turned = hn::IfThenElse(hn::Lt(c, zero), hn::Add(base, hn::Set(d, kPi)), base);
  const V onAxis = hn::IfThenElse(hn::Gt(s, zero), hn::Set(d, kHalfPi), hn::Set(d, 3.0 * kHalfPi));
  return hn::IfThenElse(hn::Eq(c, zero), onAxis, turned);
}

// WrapTwoPi with the same operations, so the same bits.
HWY_INLINE V WrapAngle(D d, V x) {
  const V twoPi = hn::Set(d, kTwoPi);
  const V r = hn::Sub(x, hn::Mul(twoPi, hn::Trunc(hn::Div(x, twoPi))));
  return hn::IfThenElse(hn::Lt(r, hn::Zero(d)), hn::Add(r, twoPi), r);
}

// The status of each lane as a number (TPropagationStatus's value), and which lanes are still
// Ok: a check fails only lanes that passed every check before it, as the scalar path returns at
// the first failure.
struct TLaneStatus {
  V code;
  M ok;
};

HWY_INLINE void FailWhere(D d, TLaneStatus& status, M failed, TPropagationStatus code) {
  const M now = hn::And(status.ok, failed);
  status.code = hn::IfThenElse(now, hn::Set(d, static_cast<double>(code)), status.code);
  status.ok = hn::AndNot(failed, status.ok);
}

// Kepler's equation as SolveKepler keeps it: the sine and cosine of the iterate the last
// correction started from. All lanes iterate together; a lane stops changing once its step is
// within the tolerance, and the loop ends when every lane has settled or after the same count
// as the one-set solution. Lanes that never settle take the one-set solution, bracketed
// fallback included.
struct TKeplerLanes {
  V sinepw, cosepw;
};

HWY_INLINE TKeplerLanes SolveKeplerLanes(D d, V capu, V axn, V ayn, TLaneStatus& status) {
  const V one = hn::Set(d, 1.0);
  const V tolerance = hn::Set(d, sgp4::kKeplerTolerance);
  V epw = capu;
  V sinepw = hn::Zero(d);
  V cosepw = hn::Zero(d);
  M active = status.ok;
  for (int i = 0; i < sgp4::kKeplerIterations && !hn::AllFalse(d, active); ++i) {
    const TSineCosine sc = SinCosOf(d, epw);
    const V s = sc.sin;
    const V c = sc.cos;
    sinepw = hn::IfThenElse(active, s, sinepw);
    cosepw = hn::IfThenElse(active, c, cosepw);
    const V temp3 = hn::Mul(axn, s);
    const V temp4 = hn::Mul(ayn, c);
    const V temp5 = hn::Mul(axn, c);
    const V temp6 = hn::Mul(ayn, s);
    const V next = hn::Add(hn::Div(hn::Sub(hn::Add(hn::Sub(capu, temp4), temp3), epw),
                                   hn::Sub(hn::Sub(one, temp5), temp6)),
                           epw);
    const M settled = hn::Le(hn::Abs(hn::Sub(next, epw)), tolerance);
    active = hn::AndNot(settled, active);
    epw = hn::IfThenElse(active, next, epw);
  }
  if (!hn::AllFalse(d, active)) {
    constexpr size_t kMax = HWY_MAX_BYTES / sizeof(double);
    HWY_ALIGN double capuLanes[kMax], axnLanes[kMax], aynLanes[kMax];
    HWY_ALIGN double sinLanes[kMax], cosLanes[kMax], failedLanes[kMax];
    HWY_ALIGN double activeLanes[kMax];
    hn::Store(capu, d, capuLanes);
    hn::Store(axn, d, axnLanes);
    hn::Store(ayn, d, aynLanes);
    hn::Store(sinepw, d, sinLanes);
    hn::Store(cosepw, d, cosLanes);
    hn::Store(hn::IfThenElseZero(active, one), d, activeLanes);
    for (size_t j = 0; j < hn::Lanes(d); ++j) {
      failedLanes[j] = 0.0;
      if (activeLanes[j] == 0.0) continue;
      sgp4::TKeplerSolution k;
      if (sgp4::SolveKepler(capuLanes[j], axnLanes[j], aynLanes[j], k)) {
        sinLanes[j] = k.sinepw;
        cosLanes[j] = k.cosepw;
      } else {
        sinLanes[j] = 0.0;
        cosLanes[j] = 0.0;
        failedLanes[j] = 1.0;
      }
    }
    sinepw = hn::Load(d, sinLanes);
    cosepw = hn::Load(d, cosLanes);
    FailWhere(d, status, hn::Ne(hn::Load(d, failedLanes), hn::Zero(d)),
              TPropagationStatus::EccentricityOutOfRange);
  }
  return TKeplerLanes{sinepw, cosepw};
}

// The constants of a vector of lanes that OsculatingState reads.
struct TOsculatingTerms {
  V longPeriodLCoef, longPeriodAynCoef, threeTheta2Minus1, oneMinusTheta2, sevenTheta2Minus1;
  V cosI, sinI;
};

// OsculatingState over a vector of lanes, for both models: long-period periodics, Kepler's
// equation, short-period periodics, orientation. Writes pos, vel (zeros where a lane failed)
// and the status codes.
HWY_INLINE void OsculateLanes(D d, const TOsculatingTerms& c, double ke, V a, V e, V omega, V xnode,
                              V meanLongitude, V inclination, TLaneStatus& status,
                              double* __restrict posOut[3], double* __restrict velOut[3],
                              double* __restrict codeOut) {
  const V one = hn::Set(d, 1.0);
  const V zero = hn::Zero(d);
  FailWhere(d, status, hn::Not(hn::Gt(a, zero)), TPropagationStatus::NonPositiveAxis);
  const M eccentricityOk =
      hn::And(hn::Ge(e, hn::Set(d, sgp4::kMinMeanEccentricity)), hn::Lt(e, one));
  FailWhere(d, status, hn::Not(eccentricityOk), TPropagationStatus::EccentricityOutOfRange);
  const V betaSq = hn::Sub(one, hn::Mul(e, e));
  const V motion = hn::Div(hn::Set(d, ke), hn::Mul(a, hn::Sqrt(a)));

  // Long-period periodics.
  const TSineCosine omegaSc = SinCosOf(d, omega);
  const V axn = hn::Mul(e, omegaSc.cos);
  V temp = hn::Div(one, hn::Mul(a, betaSq));
  const V xll = hn::Mul(hn::Mul(temp, c.longPeriodLCoef), axn);
  const V aynl = hn::Mul(temp, c.longPeriodAynCoef);
  const V xlt = hn::Add(meanLongitude, xll);
  const V ayn = hn::Add(hn::Mul(e, omegaSc.sin), aynl);

  // Kepler's equation.
  const V capu = WrapAngle(d, hn::Sub(xlt, xnode));
  FailWhere(d, status, hn::Not(hn::IsFinite(capu)), TPropagationStatus::NonFinite);
  const TKeplerLanes k = SolveKeplerLanes(d, capu, axn, ayn, status);
  const V sinepw = hn::IfThenElseZero(status.ok, k.sinepw);
  const V cosepw = hn::IfThenElseZero(status.ok, k.cosepw);
  const V temp3k = hn::Mul(axn, sinepw);
  const V temp4k = hn::Mul(ayn, cosepw);
  const V temp5k = hn::Mul(axn, cosepw);
  const V temp6k = hn::Mul(ayn, sinepw);

  // Short-period preliminary quantities.
  const V vke = hn::Set(d, ke);
  const V ecose = hn::Add(temp5k, temp6k);
  const V esine = hn::Sub(temp3k, temp4k);
  const V elsq = hn::Add(hn::Mul(axn, axn), hn::Mul(ayn, ayn));
  temp = hn::Sub(one, elsq);
  const V pl = hn::Mul(a, temp);
  FailWhere(d, status, hn::Not(hn::Gt(pl, zero)), TPropagationStatus::EccentricityOutOfRange);
  const V r = hn::Mul(a, hn::Sub(one, ecose));
  V temp1 = hn::Div(one, r);
  const V rdot = hn::Mul(hn::Mul(hn::Mul(vke, hn::Sqrt(a)), esine), temp1);
  const V rfdot = hn::Mul(hn::Mul(vke, hn::Sqrt(pl)), temp1);
  V temp2 = hn::Mul(a, temp1);
  const V betal = hn::Sqrt(temp);
  const V temp3 = hn::Div(one, hn::Add(one, betal));
  const V cosu = hn::Mul(temp2, hn::Add(hn::Sub(cosepw, axn), hn::Mul(hn::Mul(ayn, esine), temp3)));
  const V sinu = hn::Mul(temp2, hn::Sub(hn::Sub(sinepw, ayn), hn::Mul(hn::Mul(axn, esine), temp3)));
  const V two = hn::Set(d, 2.0);
  const V sin2u = hn::Mul(hn::Mul(two, sinu), cosu);
  const V cos2u = hn::Sub(hn::Mul(hn::Mul(two, cosu), cosu), one);
  temp = hn::Div(one, pl);
  temp1 = hn::Mul(hn::Set(d, sgp4::kK2), temp);
  temp2 = hn::Mul(temp1, temp);

  // The short-period periodics give the osculating quantities.
  const V oneAndHalf = hn::Set(d, 1.5);
  const V threeTheta2Minus1 = c.threeTheta2Minus1;
  const V oneMinusTheta2 = c.oneMinusTheta2;
  const V cosI = c.cosI;
  const V rk = hn::Add(hn::Mul(r, hn::Sub(one, hn::Mul(hn::Mul(hn::Mul(oneAndHalf, temp2), betal),
                                                       threeTheta2Minus1))),
                       hn::Mul(hn::Mul(hn::Mul(hn::Set(d, 0.5), temp1), oneMinusTheta2), cos2u));
  // uk = u - du, du at most 1.5 k2 / pl^2 (a few milliradians even where pl is half an earth
  // radius): the sine and cosine of uk follow from those of u, which sinu and cosu already are,
  // and a short series in du, without the arc tangent of u and a second reduction.
  const V du = hn::Mul(hn::Mul(hn::Mul(hn::Set(d, 0.25), temp2), c.sevenTheta2Minus1), sin2u);
  const V nodek = hn::Add(xnode, hn::Mul(hn::Mul(hn::Mul(oneAndHalf, temp2), cosI), sin2u));
  const V inclk = hn::Add(
      inclination, hn::Mul(hn::Mul(hn::Mul(hn::Mul(oneAndHalf, temp2), cosI), c.sinI), cos2u));
  const V rdotk = hn::Sub(rdot, hn::Mul(hn::Mul(hn::Mul(motion, temp1), oneMinusTheta2), sin2u));
  const V rfdotk = hn::Add(
      rfdot, hn::Mul(hn::Mul(motion, temp1), hn::Add(hn::Mul(oneMinusTheta2, cos2u),
                                                     hn::Mul(oneAndHalf, threeTheta2Minus1))));

  // Orientation vectors.
  // sin du = du (1 - du^2/6 (1 - du^2/20)), cos du = 1 - du^2/2 (1 - du^2/12 (1 - du^2/30)).
  const V du2 = hn::Mul(du, du);
  const V sinDu =
      hn::Mul(du, hn::Sub(one, hn::Mul(hn::Mul(du2, hn::Set(d, 1.0 / 6.0)),
                                       hn::Sub(one, hn::Mul(du2, hn::Set(d, 1.0 / 20.0))))));
  const V cosDu = hn::Sub(
      one, hn::Mul(hn::Mul(du2, hn::Set(d, 0.5)),
                   hn::Sub(one, hn::Mul(hn::Mul(du2, hn::Set(d, 1.0 / 12.0)),
                                        hn::Sub(one, hn::Mul(du2, hn::Set(d, 1.0 / 30.0)))))));
  const TSineCosine ukSc{hn::Sub(hn::Mul(sinu, cosDu), hn::Mul(cosu, sinDu)),
                         hn::Add(hn::Mul(cosu, cosDu), hn::Mul(sinu, sinDu))};
  const TSineCosine ikSc = SinCosOf(d, inclk);
  const TSineCosine nokSc = SinCosOf(d, nodek);
  const V xmx = hn::Mul(hn::Neg(nokSc.sin), ikSc.cos);
  const V xmy = hn::Mul(nokSc.cos, ikSc.cos);
  const V ux = hn::Add(hn::Mul(xmx, ukSc.sin), hn::Mul(nokSc.cos, ukSc.cos));
  const V uy = hn::Add(hn::Mul(xmy, ukSc.sin), hn::Mul(nokSc.sin, ukSc.cos));
  const V uz = hn::Mul(ikSc.sin, ukSc.sin);
  const V vx = hn::Sub(hn::Mul(xmx, ukSc.cos), hn::Mul(nokSc.cos, ukSc.sin));
  const V vy = hn::Sub(hn::Mul(xmy, ukSc.cos), hn::Mul(nokSc.sin, ukSc.sin));
  const V vz = hn::Mul(ikSc.sin, ukSc.cos);
  const V pos[3] = {hn::Mul(rk, ux), hn::Mul(rk, uy), hn::Mul(rk, uz)};
  const V vel[3] = {hn::Add(hn::Mul(rdotk, ux), hn::Mul(rfdotk, vx)),
                    hn::Add(hn::Mul(rdotk, uy), hn::Mul(rfdotk, vy)),
                    hn::Add(hn::Mul(rdotk, uz), hn::Mul(rfdotk, vz))};
  M finite = hn::Eq(zero, zero);
  for (int axis = 0; axis < 3; ++axis) {
    finite = hn::And(finite, hn::And(hn::IsFinite(pos[axis]), hn::IsFinite(vel[axis])));
  }
  FailWhere(d, status, hn::Not(finite), TPropagationStatus::NonFinite);
  // A position inside the Earth: the model has decayed for this moment.
  FailWhere(d, status, hn::Lt(rk, one), TPropagationStatus::Decayed);

  for (int axis = 0; axis < 3; ++axis) {
    hn::Store(hn::IfThenElseZero(status.ok, pos[axis]), d, posOut[axis]);
    hn::Store(hn::IfThenElseZero(status.ok, vel[axis]), d, velOut[axis]);
  }
  hn::Store(status.code, d, codeOut);
}

}  // namespace zen::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#endif  // ZEN_CORE_VECTOR_MATH_INL_H_
