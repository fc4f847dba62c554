// Near-earth sets propagated side by side. Every model constant lies in an array of its own,
// one lane per set, and every step between two library calls is a loop over the lanes, so the
// arithmetic runs over several sets per instruction. The library calls (sine, cosine, arc
// tangent) and Kepler's equation stay one set at a time in Propagate; PropagateVector
// (core/sgp4_vector.cpp) runs the whole model, those included, in the processor's vector units.
//
// Each lane gives the bits TPropagator::Propagate gives for its set: the steps carry out the
// near-earth model's operations (core/sgp4.cpp, core/sgp4_osculate.cpp) in the same order, and
// both paths solve Kepler's equation with the same function. A change to either file belongs
// in the other as well.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/propagator.h"

namespace zen {

class TNearEarthBatch {
 public:
  // Lanes whose intermediate results are kept together while one block is propagated.
  static constexpr size_t kBlockLanes = 128;

  // Whether a propagator's set can take a lane: set up (PrepareModel), an ellipse, near-earth
  // and with the full drag terms. The others go through TPropagator::Propagate.
  static bool Fits(const TPropagator& propagator);

  // Room for count lanes, the only allocation; the lanes' contents are undefined until set.
  void Resize(size_t count);
  size_t Size() const { return lanes_; }

  // Copies the constants of a propagator that Fits into a lane.
  void SetLane(size_t lane, const TPropagator& propagator);

  // Propagates lanes [begin, end) to a Julian date (UTC).
  void Propagate(size_t begin, size_t end, double jd);

  // The same with vector sines, cosines, arc tangents and Kepler's equation, on the widest
  // instruction set the processor offers. Not bit-identical to Propagate: the states agree to
  // well under a millimetre and a micrometre per second, the statuses exactly. Threads may
  // propagate disjoint ranges of lanes at once.
  void PropagateVector(size_t begin, size_t end, double jd);
  // The same with a moment of its own for every lane: jd[i] (Julian date, UTC) for lane
  // begin + i. Lanes may hold the same set, to follow one satellite through many moments.
  void PropagateVector(size_t begin, size_t end, const double* jd);

  // What TPropagator::Propagate returns and leaves in pos and vel (earth radii, earth radii per
  // minute, magnitudes not set) for the lane's set at the last Propagate over the lane.
  TPropagationStatus Result(size_t lane, TVector& pos, TVector& vel) const;

  // Each column is padded to a whole number of the widest vectors (8 doubles), and the last is
  // followed by one more vector, so the vector path loads whole vectors wherever a range of
  // lanes begins and ends; the lanes past the range are computed and thrown away.
  static constexpr size_t kLanePadding = 8;

  // The model constants a lane holds, one array (column) each.
  enum TConstant : size_t {
    kEpoch,  // Julian date
    kMeanAnomaly,
    kArgPerigee,
    kNode,
    kEccentricity,
    kInclination,
    kBstar,
    kMeanAnomalyRate,
    kArgPerigeeRate,
    kNodeRate,
    kNodeDragCoef,
    kC1,
    kC4,
    kC5,
    kD2,
    kD3,
    kD4,
    kLCoef2,
    kLCoef3,
    kLCoef4,
    kLCoef5,
    kEta,
    kArgPerigeeDragCoef,
    kMeanAnomalyDragCoef,
    kEtaCosM0Cubed,
    kSinM0,
    kAxis,
    kMotion,
    kLongPeriodLCoef,
    kLongPeriodAynCoef,
    kThreeTheta2Minus1,
    kOneMinusTheta2,
    kSevenTheta2Minus1,
    kCosI,
    kSinI,
    kConstantCount
  };

  // The results of the last Propagate, one array each.
  enum TResult : size_t { kPosX, kPosY, kPosZ, kVelX, kVelY, kVelZ, kResultCount };

 private:
  struct TBlock;

  const double* Column(TConstant constant, size_t begin) const {
    return constants_.data() + constant * stride_ + begin;
  }
  double* ResultColumn(TResult result, size_t begin) {
    return results_.data() + result * stride_ + begin;
  }
  void PropagateBlock(size_t begin, size_t count, double jd, TBlock& __restrict b);
  void SecularStep(size_t begin, size_t count, double jd, TBlock& __restrict b) const;
  void DragStep(size_t begin, size_t count, TBlock& __restrict b) const;
  void MeanElementsStep(size_t begin, size_t count, TBlock& __restrict b) const;
  void LongPeriodStep(size_t begin, size_t count, TBlock& __restrict b) const;
  void KeplerStep(size_t count, TBlock& __restrict b) const;
  void ShortPeriodPreliminaryStep(size_t count, TBlock& __restrict b) const;
  void ShortPeriodStep(size_t begin, size_t count, TBlock& __restrict b) const;
  void OrientationStep(size_t count, TBlock& __restrict b) const;
  void FinishStep(size_t begin, size_t count, TBlock& __restrict b);

  size_t lanes_ = 0;
  size_t stride_ = 0;              // lanes_ rounded up to kLanePadding
  std::vector<double> constants_;  // kConstantCount columns of stride_ values
  std::vector<double> results_;    // kResultCount columns of stride_ values
  std::vector<TPropagationStatus> status_;
};

}  // namespace zen
