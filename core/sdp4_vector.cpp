// The deep-space model over vectors of sets: TDeepSpaceBatch's columns read a vector at a
// time, Sdp4Propagate, the deep-space routine's secular and periodic entries and
// OsculatingState computed in the vector registers, compiled once per instruction set and
// chosen at run time. The resonance integrator walks lane by lane in scalar code, and only for
// the lanes whose moment lies a step or more from the point they reached.
//
// The steps are those of core/sdp4.cpp, core/deep_space_secular.cpp,
// core/deep_space_periodic.cpp and core/sgp4_osculate.cpp in the same order; a change there
// belongs here as well. What differs is the elementary functions (core/vector_math-inl.h; the
// argument of latitude's sine and cosine from those of u by a short series, as the near-earth
// lanes take them; the power 2/3 of the axis from Highway's exponential and logarithm where the
// resonance moves the mean motion), which stay within a few units in the last place of the
// standard library's.

// foreach_target.h includes this file once per instruction set.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "core/sdp4_vector.cpp"
#include <hwy/foreach_target.h>  // must come before highway.h

#include <hwy/contrib/math/math-inl.h>
#include <hwy/highway.h>

#include <algorithm>
#include <cstddef>

#include "core/deep_space_constants.h"
#include "core/numeric.h"
#include "core/sdp4_batch.h"
#include "core/sgp4_constants.h"
#include "core/vector_math-inl.h"

HWY_BEFORE_NAMESPACE();
namespace zen::HWY_NAMESPACE {

static_assert(HWY_MAX_BYTES / sizeof(double) <= TDeepSpaceBatch::kLanePadding,
              "a vector must fit in a column's padding");

using DS = TDeepSpaceBatch;
constexpr size_t kMaxDeepLanes = HWY_MAX_BYTES / sizeof(double);

// The lanes [lane, lane + count) of one vector, count at most Lanes(d). Constants are read a
// whole vector at a time (the padding covers the end); the state of lanes past count belongs
// to whoever propagates them, so a short vector reads and writes it through a copy.
struct TDeepLanes {
  const DS::TView& view;
  size_t lane;
  size_t count;

  HWY_INLINE V At(D d, DS::TConstant c) const {
    return hn::LoadU(d, view.constants + c * view.stride + lane);
  }
  HWY_INLINE V State(D d, DS::TState s) const {
    const double* column = view.state + s * view.stride + lane;
    if (count == hn::Lanes(d)) return hn::LoadU(d, column);
    HWY_ALIGN double copy[kMaxDeepLanes] = {};
    for (size_t j = 0; j < count; ++j) copy[j] = column[j];
    return hn::Load(d, copy);
  }
  HWY_INLINE void SetState(D d, DS::TState s, V v) const {
    double* column = view.state + s * view.stride + lane;
    if (count == hn::Lanes(d)) {
      hn::StoreU(v, d, column);
      return;
    }
    HWY_ALIGN double copy[kMaxDeepLanes];
    hn::Store(v, d, copy);
    for (size_t j = 0; j < count; ++j) column[j] = copy[j];
  }
};

// std::round: the nearest whole number, halves away from zero.
HWY_INLINE V RoundHalfAway(D d, V x) {
  const V whole = hn::Trunc(x);
  const M up = hn::Ge(hn::Abs(hn::Sub(x, whole)), hn::Set(d, 0.5));
  return hn::IfThenElse(up, hn::Add(whole, hn::CopySign(hn::Set(d, 1.0), x)), whole);
}

// One body's periodic terms (DeepSpacePeriodic): e, i, M, omega and Omega.
struct TBodyPeriodics {
  V e, i, l, gh, h;
};

HWY_INLINE TBodyPeriodics BodyPeriodics(D d, const TDeepLanes& at, V t, DS::TConstant zm0,
                                        double zn, double ze, DS::TConstant first) {
  auto c = [&](size_t k) { return at.At(d, static_cast<DS::TConstant>(first + k)); };
  const V zm = hn::Add(at.At(d, zm0), hn::Mul(hn::Set(d, zn), t));
  const V zf = hn::Add(zm, hn::Mul(hn::Set(d, 2.0 * ze), SinOf(d, zm)));
  const TSineCosine zfSc = SinCosOf(d, zf);
  const V sinzf = zfSc.sin;
  const V f2 = hn::Sub(hn::Mul(hn::Mul(hn::Set(d, 0.5), sinzf), sinzf), hn::Set(d, 0.25));
  const V f3 = hn::Mul(hn::Mul(hn::Set(d, -0.5), sinzf), zfSc.cos);
  // The coefficients lie in the order e2, e3, i2, i3, l2, l3, l4, gh2, gh3, gh4, h2, h3.
  TBodyPeriodics p;
  p.e = hn::Add(hn::Mul(c(0), f2), hn::Mul(c(1), f3));
  p.i = hn::Add(hn::Mul(c(2), f2), hn::Mul(c(3), f3));
  p.l = hn::Add(hn::Add(hn::Mul(c(4), f2), hn::Mul(c(5), f3)), hn::Mul(c(6), sinzf));
  p.gh = hn::Add(hn::Add(hn::Mul(c(7), f2), hn::Mul(c(8), f3)), hn::Mul(c(9), sinzf));
  p.h = hn::Add(hn::Mul(c(10), f2), hn::Mul(c(11), f3));
  return p;
}

// One vector of lanes through Sdp4Propagate.
HWY_INLINE void PropagateDeepLanes(D d, const TDeepLanes& at, double jd, double ke,
                                   double* __restrict posOut[3], double* __restrict velOut[3],
                                   double* __restrict codeOut) {
  const V one = hn::Set(d, 1.0);
  const V zero = hn::Zero(d);
  // Lanes past count are no lanes of this call: they start failed and are never written.
  TLaneStatus status{zero, hn::FirstN(d, at.count)};

  // The checks of Propagate and Sdp4Propagate before the model.
  const V t = hn::Mul(hn::Sub(hn::Set(d, jd), at.At(d, DS::kEpoch)), hn::Set(d, kMinutesPerDay));
  FailWhere(d, status, hn::Not(hn::IsFinite(t)), TPropagationStatus::NonFinite);
  const M resonant = hn::Ne(at.At(d, DS::kResonant), zero);
  FailWhere(d, status,
            hn::And(resonant, hn::Gt(hn::Abs(t), hn::Set(d, deep::kMaxResonanceMinutes))),
            TPropagationStatus::NonFinite);

  // Secular gravity and drag.
  V xmdf = hn::Add(at.At(d, DS::kMeanAnomaly), hn::Mul(at.At(d, DS::kMeanAnomalyRate), t));
  V omgadf = hn::Add(at.At(d, DS::kArgPerigee), hn::Mul(at.At(d, DS::kArgPerigeeRate), t));
  const V xnoddf = hn::Add(at.At(d, DS::kNode), hn::Mul(at.At(d, DS::kNodeRate), t));
  const V tsq = hn::Mul(t, t);
  V xnode = hn::Add(xnoddf, hn::Mul(at.At(d, DS::kNodeDragCoef), tsq));
  const V tempa = hn::Sub(one, hn::Mul(at.At(d, DS::kC1), t));
  const V tempe = hn::Mul(at.At(d, DS::kBstarC4), t);
  const V templ = hn::Mul(at.At(d, DS::kLCoef2), tsq);
  const V motion0 = at.At(d, DS::kMotion);
  V xn = motion0;
  V axisFactor = at.At(d, DS::kMotionAxis);

  // The lunar-solar secular terms (DeepSpaceSecular).
  xmdf = hn::Add(xmdf, hn::Mul(at.At(d, DS::kSsl), t));
  omgadf = hn::Add(omgadf, hn::Mul(at.At(d, DS::kSsg), t));
  xnode = hn::Add(xnode, hn::Mul(at.At(d, DS::kSsh), t));
  const V em = hn::Add(at.At(d, DS::kEccentricity), hn::Mul(at.At(d, DS::kSse), t));
  V xinc = hn::Add(at.At(d, DS::kInclination), hn::Mul(at.At(d, DS::kSsi), t));
  const M negative = hn::Lt(xinc, zero);
  const V pi = hn::Set(d, kPi);
  xinc = hn::IfThenElse(negative, hn::Neg(xinc), xinc);
  xnode = hn::IfThenElse(negative, hn::Add(xnode, pi), xnode);
  omgadf = hn::IfThenElse(negative, hn::Sub(omgadf, pi), omgadf);

  // The resonance: the integrator moved lane by lane where it has to walk, then the Taylor
  // step from its point to t.
  const M resonantOk = hn::And(resonant, status.ok);
  if (!hn::AllFalse(d, resonantOk)) {
    const V step = hn::Set(d, deep::kStep);
    V reached = at.State(d, DS::kTimeReached);
    const M sameSide =
        hn::Or(hn::Eq(reached, zero), hn::Or(hn::And(hn::Ge(t, zero), hn::Gt(reached, zero)),
                                             hn::And(hn::Lt(t, zero), hn::Lt(reached, zero))));
    const M stays = hn::And(sameSide, hn::And(hn::Ge(hn::Abs(t), hn::Abs(reached)),
                                              hn::Lt(hn::Abs(hn::Sub(t, reached)), step)));
    const M moves = hn::AndNot(stays, resonantOk);
    if (!hn::AllFalse(d, moves)) {
      HWY_ALIGN double moving[kMaxDeepLanes], times[kMaxDeepLanes];
      hn::Store(hn::IfThenElseZero(moves, one), d, moving);
      hn::Store(t, d, times);
      for (size_t j = 0; j < at.count; ++j) {
        if (moving[j] != 0.0) DS::MoveResonance(at.view, at.lane + j, times[j]);
      }
      reached = at.State(d, DS::kTimeReached);
    }
    const V half = hn::Set(d, 0.5);
    const V ft = hn::Sub(t, reached);
    const V motionRate = at.State(d, DS::kMotionRate);
    const V xnResonant =
        hn::Add(hn::Add(at.State(d, DS::kMotionReached), hn::Mul(motionRate, ft)),
                hn::Mul(hn::Mul(hn::Mul(at.State(d, DS::kMotionRate2), ft), ft), half));
    const V xl =
        hn::Add(hn::Add(at.State(d, DS::kLambdaReached), hn::Mul(at.State(d, DS::kLambdaRate), ft)),
                hn::Mul(hn::Mul(hn::Mul(motionRate, ft), ft), half));
    const V temp = hn::Add(hn::Add(hn::Neg(xnode), at.At(d, DS::kSiderealAtEpoch)),
                           hn::Mul(t, hn::Set(d, deep::kThetaDot)));
    const M synchronous = hn::Ne(at.At(d, DS::kSynchronous), zero);
    const V xll = hn::IfThenElse(synchronous, hn::Add(hn::Sub(xl, omgadf), temp),
                                 hn::Add(hn::Add(xl, temp), temp));
    xmdf = hn::IfThenElse(resonant, xll, xmdf);
    xn = hn::IfThenElse(resonant, xnResonant, xn);
    // pow(ke / n, 2/3) where the resonance has moved the mean motion.
    const V power = hn::Exp(
        d, hn::Mul(hn::Set(d, sgp4::kTwoThirds), hn::Log(d, hn::Div(hn::Set(d, ke), xnResonant))));
    axisFactor = hn::IfThenElse(resonant, power, axisFactor);
  }

  const M axisGone = hn::Or(hn::Not(hn::Gt(xn, zero)), hn::Not(hn::Gt(tempa, zero)));
  const M finite = hn::And(hn::IsFinite(xn), hn::IsFinite(tempa));
  FailWhere(d, status, hn::AndNot(finite, axisGone), TPropagationStatus::NonFinite);
  FailWhere(d, status, axisGone, TPropagationStatus::NonPositiveAxis);
  const V a = hn::Mul(hn::Mul(axisFactor, tempa), tempa);
  V e = hn::Sub(em, tempe);
  V xmam = hn::Add(xmdf, hn::Mul(motion0, templ));

  // The lunar-solar periodics (DeepSpacePeriodic), evaluated afresh for the lanes 30 minutes
  // or more from their last evaluation.
  V pe = at.State(d, DS::kPe);
  V pinc = at.State(d, DS::kPinc);
  V pl = at.State(d, DS::kPl);
  V pgh = at.State(d, DS::kPgh);
  V ph = at.State(d, DS::kPh);
  const V periodicTime = at.State(d, DS::kPeriodicTime);
  const M refresh = hn::And(status.ok, hn::Ge(hn::Abs(hn::Sub(periodicTime, t)),
                                              hn::Set(d, deep::kPeriodicReuseMinutes)));
  if (!hn::AllFalse(d, refresh)) {
    const TBodyPeriodics sun = BodyPeriodics(d, at, t, DS::kZmos, deep::kZns, deep::kZes, DS::kSe2);
    const TBodyPeriodics moon =
        BodyPeriodics(d, at, t, DS::kZmol, deep::kZnl, deep::kZel, DS::kEe2);
    pe = hn::IfThenElse(refresh, hn::Add(sun.e, moon.e), pe);
    pinc = hn::IfThenElse(refresh, hn::Add(sun.i, moon.i), pinc);
    pl = hn::IfThenElse(refresh, hn::Add(sun.l, moon.l), pl);
    pgh = hn::IfThenElse(refresh, hn::Add(sun.gh, moon.gh), pgh);
    ph = hn::IfThenElse(refresh, hn::Add(sun.h, moon.h), ph);
    at.SetState(d, DS::kPeriodicTime, hn::IfThenElse(refresh, t, periodicTime));
    at.SetState(d, DS::kPe, pe);
    at.SetState(d, DS::kPinc, pinc);
    at.SetState(d, DS::kPl, pl);
    at.SetState(d, DS::kPgh, pgh);
    at.SetState(d, DS::kPh, ph);
  }
  const V xincMean = xinc;
  xinc = hn::Add(xinc, pinc);
  e = hn::Add(e, pe);

  const V inclination0 = at.At(d, DS::kInclination);
  const M low = hn::Lt(inclination0, hn::Set(d, deep::kVectorPeriodicsInclination));
  const V sinI = at.At(d, DS::kSinI);
  const V cosI = at.At(d, DS::kCosI);
  const V phHigh = hn::Div(ph, sinI);
  V omgasm = hn::Add(omgadf, hn::Sub(pgh, hn::Mul(cosI, phHigh)));
  V xnodes = hn::Add(xnode, phHigh);
  const V xmamMean = xmam;
  xmam = hn::Add(xmam, pl);
  if (!hn::AllFalse(d, hn::And(low, status.ok))) {
    // At low inclination the node is corrected through its vector form.
    const TSineCosine isSc = SinCosOf(d, xincMean);
    const TSineCosine okSc = SinCosOf(d, xnode);
    const V sinis = isSc.sin;
    const V cosis = isSc.cos;
    const V pincCos = hn::Mul(pinc, cosis);
    const V dalf = hn::Add(hn::Mul(ph, okSc.cos), hn::Mul(pincCos, okSc.sin));
    const V dbet = hn::Add(hn::Mul(hn::Neg(ph), okSc.sin), hn::Mul(pincCos, okSc.cos));
    const V alfdp = hn::Add(hn::Mul(sinis, okSc.sin), dalf);
    const V betdp = hn::Add(hn::Mul(sinis, okSc.cos), dbet);
    const V dls = hn::Sub(hn::Add(pl, pgh), hn::Mul(hn::Mul(pinc, xnode), sinis));
    const V xls = hn::Add(hn::Add(hn::Add(xmamMean, omgadf), hn::Mul(cosis, xnode)), dls);
    const V twoPi = hn::Set(d, kTwoPi);
    V node = AngleOf(d, alfdp, betdp);
    node = hn::Add(node, hn::Mul(twoPi, RoundHalfAway(d, hn::Div(hn::Sub(xnode, node), twoPi))));
    const V omgasmLow = hn::Sub(hn::Sub(xls, xmam), hn::Mul(CosOf(d, xinc), node));
    omgasm = hn::IfThenElse(low, omgasmLow, omgasm);
    xnodes = hn::IfThenElse(low, node, xnodes);
  }
  const V meanLongitude = hn::Add(hn::Add(xmam, omgasm), xnodes);
  const TOsculatingTerms terms{at.At(d, DS::kLongPeriodLCoef),
                               at.At(d, DS::kLongPeriodAynCoef),
                               at.At(d, DS::kThreeTheta2Minus1),
                               at.At(d, DS::kOneMinusTheta2),
                               at.At(d, DS::kSevenTheta2Minus1),
                               at.At(d, DS::kCosI),
                               at.At(d, DS::kSinI)};
  OsculateLanes(d, terms, ke, a, e, omgasm, xnodes, meanLongitude, xinc, status, posOut, velOut,
                codeOut);
}

void PropagateDeepSpaceLanes(const DS::TView& view, size_t begin, size_t end, double jd) {
  const D d;
  const size_t n = hn::Lanes(d);
  const double ke = Ke();
  HWY_ALIGN double pos[3][kMaxDeepLanes];
  HWY_ALIGN double vel[3][kMaxDeepLanes];
  HWY_ALIGN double code[kMaxDeepLanes];
  double* posOut[3] = {pos[0], pos[1], pos[2]};
  double* velOut[3] = {vel[0], vel[1], vel[2]};
  for (size_t lane = begin; lane < end; lane += n) {
    const size_t count = std::min(n, end - lane);
    PropagateDeepLanes(d, TDeepLanes{view, lane, count}, jd, ke, posOut, velOut, code);
    for (int axis = 0; axis < 3; ++axis) {
      double* posColumn = view.results + (DS::kPosX + axis) * view.stride + lane;
      double* velColumn = view.results + (DS::kVelX + axis) * view.stride + lane;
      for (size_t j = 0; j < count; ++j) {
        posColumn[j] = pos[axis][j];
        velColumn[j] = vel[axis][j];
      }
    }
    for (size_t j = 0; j < count; ++j) {
      view.status[lane + j] = static_cast<TPropagationStatus>(static_cast<int>(code[j]));
    }
  }
}

}  // namespace zen::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace zen {

HWY_EXPORT(PropagateDeepSpaceLanes);

void TDeepSpaceBatch::PropagateVector(size_t begin, size_t end, double jd) {
  if (begin >= end) return;
  const TView view{constants_.data(), state_.data(),     results_.data(),
                   status_.data(),    resonance_.data(), stride_};
  HWY_DYNAMIC_DISPATCH(PropagateDeepSpaceLanes)(view, begin, end, jd);
}

}  // namespace zen
#endif  // HWY_ONCE
