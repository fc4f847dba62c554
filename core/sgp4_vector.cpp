// The near-earth model over vectors of sets: TNearEarthBatch's columns read a vector at a time,
// the whole of Sgp4Propagate and OsculatingState (sines, cosines, the arc tangent and Kepler's
// equation included) computed in the vector registers, compiled once per instruction set and
// chosen at run time.
//
// The steps are those of core/sgp4.cpp and core/sgp4_osculate.cpp in the same order; a change
// there belongs here as well. What differs is only the elementary functions: a sine and cosine
// computed together from one reduction, and the argument of latitude's sine and cosine taken from
// those of u by a short series instead of an arc tangent and a second reduction, which stay
// within a few units in the last place of the standard library's. Their errors reach the state only
// through the model's smooth formulas, far below a millimetre.

// foreach_target.h includes this file once per instruction set.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "core/sgp4_vector.cpp"
#include <hwy/foreach_target.h>  // must come before highway.h

#include <hwy/contrib/math/math-inl.h>
#include <hwy/highway.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

#include "core/numeric.h"
#include "core/sgp4_batch.h"
#include "core/sgp4_constants.h"
#include "core/sgp4_osculate.h"
#include "core/sgp4_vector.h"
#include "core/vector_math-inl.h"

HWY_BEFORE_NAMESPACE();
namespace zen::HWY_NAMESPACE {

static_assert(HWY_MAX_BYTES / sizeof(double) <= TNearEarthBatch::kLanePadding,
              "a vector must fit in a column's padding");

// The constants of lanes [lane, lane + Lanes(d)).
struct TConstantReader {
  const double* constants;
  size_t stride;
  size_t lane;
  HWY_INLINE V operator()(D d, TNearEarthBatch::TConstant c) const {
    return hn::LoadU(d, constants + c * stride + lane);
  }
};

// One vector of lanes through the whole model; writes pos, vel (3 columns each, zeros where
// a lane failed) and the status codes into the given lane arrays.
HWY_INLINE void PropagateLanes(D d, const TConstantReader& at, V jd, double ke,
                               double* __restrict posOut[3], double* __restrict velOut[3],
                               double* __restrict codeOut) {
  using C = TNearEarthBatch;
  const V one = hn::Set(d, 1.0);
  const V zero = hn::Zero(d);
  TLaneStatus status{zero, hn::Eq(zero, zero)};

  // Secular gravity and atmospheric drag (Sgp4Propagate).
  const V tsince = hn::Mul(hn::Sub(jd, at(d, C::kEpoch)), hn::Set(d, kMinutesPerDay));
  const V xmdf = hn::Add(at(d, C::kMeanAnomaly), hn::Mul(at(d, C::kMeanAnomalyRate), tsince));
  const V omgadf = hn::Add(at(d, C::kArgPerigee), hn::Mul(at(d, C::kArgPerigeeRate), tsince));
  const V xnoddf = hn::Add(at(d, C::kNode), hn::Mul(at(d, C::kNodeRate), tsince));
  const V tsq = hn::Mul(tsince, tsince);
  const V xnode = hn::Add(xnoddf, hn::Mul(at(d, C::kNodeDragCoef), tsq));
  V tempa = hn::Sub(one, hn::Mul(at(d, C::kC1), tsince));
  const V bstar = at(d, C::kBstar);
  V tempe = hn::Mul(hn::Mul(bstar, at(d, C::kC4)), tsince);
  V templ = hn::Mul(at(d, C::kLCoef2), tsq);
  const V delomg = hn::Mul(at(d, C::kArgPerigeeDragCoef), tsince);
  const V etaCos = hn::Add(one, hn::Mul(at(d, C::kEta), CosOf(d, xmdf)));
  const V delm =
      hn::Mul(at(d, C::kMeanAnomalyDragCoef),
              hn::Sub(hn::Mul(hn::Mul(etaCos, etaCos), etaCos), at(d, C::kEtaCosM0Cubed)));
  const V dragTemp = hn::Add(delomg, delm);
  const V xmp = hn::Add(xmdf, dragTemp);
  const V omega = hn::Sub(omgadf, dragTemp);
  const V tcube = hn::Mul(tsq, tsince);
  const V tfour = hn::Mul(tsince, tcube);
  tempa =
      hn::Sub(hn::Sub(hn::Sub(tempa, hn::Mul(at(d, C::kD2), tsq)), hn::Mul(at(d, C::kD3), tcube)),
              hn::Mul(at(d, C::kD4), tfour));
  tempe = hn::Add(tempe,
                  hn::Mul(hn::Mul(bstar, at(d, C::kC5)), hn::Sub(SinOf(d, xmp), at(d, C::kSinM0))));
  templ = hn::Add(hn::Add(templ, hn::Mul(at(d, C::kLCoef3), tcube)),
                  hn::Mul(tfour, hn::Add(at(d, C::kLCoef4), hn::Mul(tsince, at(d, C::kLCoef5)))));

  // The checks of Propagate, Sgp4Propagate and OsculatingState in their order.
  FailWhere(d, status, hn::Not(hn::IsFinite(tsince)), TPropagationStatus::NonFinite);
  const M axisGone = hn::Not(hn::Gt(tempa, zero));
  FailWhere(d, status, hn::AndNot(hn::IsFinite(tempa), axisGone), TPropagationStatus::NonFinite);
  FailWhere(d, status, axisGone, TPropagationStatus::NonPositiveAxis);
  const V a = hn::Mul(hn::Mul(at(d, C::kAxis), tempa), tempa);
  const V e = hn::Sub(at(d, C::kEccentricity), tempe);
  const V meanLongitude =
      hn::Add(hn::Add(hn::Add(xmp, omega), xnode), hn::Mul(at(d, C::kMotion), templ));
  const TOsculatingTerms terms{at(d, C::kLongPeriodLCoef),
                               at(d, C::kLongPeriodAynCoef),
                               at(d, C::kThreeTheta2Minus1),
                               at(d, C::kOneMinusTheta2),
                               at(d, C::kSevenTheta2Minus1),
                               at(d, C::kCosI),
                               at(d, C::kSinI)};
  OsculateLanes(d, terms, ke, a, e, omega, xnode, meanLongitude, at(d, C::kInclination), status,
                posOut, velOut, codeOut);
}

// Lanes [begin, end) through the model, each at the moment momentOf(d, lane) gives for the
// vector of lanes that begins there.
template <class MomentOf>
HWY_INLINE void PropagateRange(const double* constants, double* results,
                               TPropagationStatus* statusOut, size_t stride, size_t begin,
                               size_t end, const MomentOf& momentOf) {
  const D d;
  const size_t n = hn::Lanes(d);
  const double ke = Ke();
  constexpr size_t kMax = HWY_MAX_BYTES / sizeof(double);
  HWY_ALIGN double pos[3][kMax];
  HWY_ALIGN double vel[3][kMax];
  HWY_ALIGN double code[kMax];
  double* posOut[3] = {pos[0], pos[1], pos[2]};
  double* velOut[3] = {vel[0], vel[1], vel[2]};
  // Whole vectors are read past end up to the column's padding but written only up to end, so
  // threads on neighbouring ranges never touch each other's results.
  for (size_t lane = begin; lane < end; lane += n) {
    const size_t count = std::min(n, end - lane);
    PropagateLanes(d, TConstantReader{constants, stride, lane}, momentOf(d, lane, count), ke,
                   posOut, velOut, code);
    for (int axis = 0; axis < 3; ++axis) {
      double* posColumn = results + (TNearEarthBatch::kPosX + axis) * stride + lane;
      double* velColumn = results + (TNearEarthBatch::kVelX + axis) * stride + lane;
      for (size_t j = 0; j < count; ++j) {
        posColumn[j] = pos[axis][j];
        velColumn[j] = vel[axis][j];
      }
    }
    for (size_t j = 0; j < count; ++j) {
      statusOut[lane + j] = static_cast<TPropagationStatus>(static_cast<int>(code[j]));
    }
  }
}

void PropagateNearEarthLanes(const double* constants, double* results,
                             TPropagationStatus* statusOut, size_t stride, size_t begin, size_t end,
                             double jd) {
  PropagateRange(constants, results, statusOut, stride, begin, end,
                 [jd](D d, size_t, size_t) { return hn::Set(d, jd); });
}

// jd[i] is the moment of lane begin + i; a vector cut short by end repeats the last moment.
void PropagateNearEarthLanesAt(const double* constants, double* results,
                               TPropagationStatus* statusOut, size_t stride, size_t begin,
                               size_t end, const double* jd) {
  PropagateRange(constants, results, statusOut, stride, begin, end,
                 [jd, begin](D d, size_t lane, size_t count) {
                   const double* first = jd + (lane - begin);
                   if (count == hn::Lanes(d)) return hn::LoadU(d, first);
                   HWY_ALIGN double part[HWY_MAX_BYTES / sizeof(double)];
                   for (size_t j = 0; j < hn::Lanes(d); ++j)
                     part[j] = first[std::min(j, count - 1)];
                   return hn::Load(d, part);
                 });
}

int64_t RunningTarget() {
  return HWY_TARGET;
}

void SineCosineLanes(const double* x, double* sine, double* cosine, size_t count) {
  const D d;
  const size_t n = hn::Lanes(d);
  constexpr size_t kMax = HWY_MAX_BYTES / sizeof(double);
  HWY_ALIGN double in[kMax], s[kMax], c[kMax];
  for (size_t i = 0; i < count; i += n) {
    const size_t m = std::min(n, count - i);
    for (size_t j = 0; j < n; ++j) in[j] = j < m ? x[i + j] : 0.0;
    const V v = hn::Load(d, in);
    const TSineCosine sc = SinCosOf(d, v);
    hn::Store(sc.sin, d, s);
    hn::Store(sc.cos, d, c);
    for (size_t j = 0; j < m; ++j) {
      sine[i + j] = s[j];
      cosine[i + j] = c[j];
    }
  }
}

}  // namespace zen::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace zen {

HWY_EXPORT(PropagateNearEarthLanes);
HWY_EXPORT(PropagateNearEarthLanesAt);
HWY_EXPORT(RunningTarget);
HWY_EXPORT(SineCosineLanes);

void TNearEarthBatch::PropagateVector(size_t begin, size_t end, double jd) {
  if (begin >= end) return;
  HWY_DYNAMIC_DISPATCH(PropagateNearEarthLanes)
  (constants_.data(), results_.data(), status_.data(), stride_, begin, end, jd);
}

void TNearEarthBatch::PropagateVector(size_t begin, size_t end, const double* jd) {
  if (begin >= end) return;
  HWY_DYNAMIC_DISPATCH(PropagateNearEarthLanesAt)
  (constants_.data(), results_.data(), status_.data(), stride_, begin, end, jd);
}

std::vector<int64_t> VectorTargets() {
  return hwy::SupportedAndGeneratedTargets();
}

const char* VectorTargetName(int64_t target) {
  return hwy::TargetName(target);
}

const char* VectorTargetName() {
  return hwy::TargetName(HWY_DYNAMIC_DISPATCH(RunningTarget)());
}

void VectorSineCosine(const double* x, double* sine, double* cosine, size_t count) {
  HWY_DYNAMIC_DISPATCH(SineCosineLanes)(x, sine, cosine, count);
}

void PinVectorTarget(int64_t target) {
  hwy::SetSupportedTargetsForTest(target);
}

}  // namespace zen
#endif  // HWY_ONCE
