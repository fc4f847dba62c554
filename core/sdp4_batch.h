// Deep-space sets (periods of 225 minutes or more) propagated side by side in the processor's
// vector units, shaped as TNearEarthBatch: one column per model constant, one lane per set.
//
// A lane is a copy of the propagator it was set from, state included: the resonance
// integrator's point and the lunar-solar periodics of the last evaluation (reused within 30
// minutes of it) move with every call over the lane as they move in TPropagator, and nothing
// is shared with that propagator afterwards. So a lane called at the same moments as its
// propagator gives its answers: the states within a millimetre and a micrometre per second,
// the statuses equal.
//
// The secular terms, the lunar-solar periodics, Kepler's equation, the short-period terms and
// the orientation run in the vector units (core/sdp4_vector.cpp). The resonance integrator
// runs lane by lane in scalar code (core/deep_space_resonance.h, the one-satellite path's own
// steps) only when a lane's moment lies a step or more from the point it reached; the rates
// at that point are kept with it, so a call near the last one costs no trigonometry for them.
#pragma once

#include <cstddef>
#include <vector>

#include "core/propagator.h"

namespace zen {

class TDeepSpaceBatch {
 public:
  // Whether a propagator's set can take a lane: set up (PrepareModel), an ellipse and
  // deep-space. The others go through TNearEarthBatch or TPropagator::Propagate.
  static bool Fits(const TPropagator& propagator);

  // Room for count lanes, the only allocation; the lanes' contents are undefined until set.
  void Resize(size_t count);
  size_t Size() const { return lanes_; }

  // Copies the constants and the present state of a propagator that Fits into a lane.
  void SetLane(size_t lane, const TPropagator& propagator);

  // Propagates lanes [begin, end) to a Julian date (UTC) on the widest instruction set the
  // processor offers (PinVectorTarget pins another). Threads may propagate disjoint ranges of
  // lanes at once: a call reads and writes the state of its own lanes only.
  void PropagateVector(size_t begin, size_t end, double jd);

  // What TPropagator::Propagate returns and leaves in pos and vel (earth radii, earth radii per
  // minute, magnitudes not set) for the lane's set at the last PropagateVector over the lane.
  TPropagationStatus Result(size_t lane, TVector& pos, TVector& vel) const;

  // Columns are padded to whole vectors as TNearEarthBatch's are.
  static constexpr size_t kLanePadding = 8;

  // The model constants a lane holds, one column each; flags are 1 or 0.
  enum TConstant : size_t {
    kEpoch,  // Julian date
    kMeanAnomaly,
    kArgPerigee,
    kNode,
    kEccentricity,
    kInclination,
    kMeanAnomalyRate,
    kArgPerigeeRate,
    kNodeRate,
    kNodeDragCoef,
    kC1,
    kBstarC4,  // B* C4
    kLCoef2,
    kMotion,      // n0''
    kMotionAxis,  // (ke / n0'')^(2/3), the axis while the mean motion stays n0''
    kLongPeriodLCoef,
    kLongPeriodAynCoef,
    kThreeTheta2Minus1,
    kOneMinusTheta2,
    kSevenTheta2Minus1,
    kCosI,
    kSinI,
    kSiderealAtEpoch,
    kResonant,
    kSynchronous,
    // Lunar-solar secular rates.
    kSse,
    kSsi,
    kSsl,
    kSsg,
    kSsh,
    // The Sun's and the Moon's mean anomalies at epoch and periodic coefficients.
    kZmos,
    kZmol,
    kSe2,
    kSe3,
    kSi2,
    kSi3,
    kSl2,
    kSl3,
    kSl4,
    kSgh2,
    kSgh3,
    kSgh4,
    kSh2,
    kSh3,
    kEe2,
    kE3,
    kXi2,
    kXi3,
    kXl2,
    kXl3,
    kXl4,
    kXgh2,
    kXgh3,
    kXgh4,
    kXh2,
    kXh3,
    kConstantCount
  };

  // What each call may change, one column each: the lunar-solar periodics of the last
  // evaluation (their time, and the sums the model adds), and the integrator's point (time,
  // mean longitude, mean motion) with the rates there.
  enum TState : size_t {
    kPeriodicTime,
    kPe,
    kPinc,
    kPl,
    kPgh,
    kPh,
    kTimeReached,
    kLambdaReached,
    kMotionReached,
    kLambdaRate,
    kMotionRate,
    kMotionRate2,
    kStateCount
  };

  enum TResult : size_t { kPosX, kPosY, kPosZ, kVelX, kVelY, kVelZ, kResultCount };

  // A resonant lane's integrator in the names core/deep_space_resonance.h reads.
  struct TResonance {
    bool synchronous = false;
    double del1 = 0.0, del2 = 0.0, del3 = 0.0;
    double d2201 = 0.0, d2211 = 0.0, d3210 = 0.0, d3222 = 0.0, d4410 = 0.0, d4422 = 0.0;
    double d5220 = 0.0, d5232 = 0.0, d5421 = 0.0, d5433 = 0.0;
    double argPerigee = 0.0, argPerigeeRate = 0.0;
    double motion = 0.0, lambda0 = 0.0, motionFactor = 0.0;
    double timeReached = 0.0, lambdaReached = 0.0, motionReached = 0.0;
  };

  // Where the vector kernel finds a range's columns; it calls MoveResonance for each lane
  // whose integrator has to walk.
  struct TView {
    const double* constants;
    double* state;
    double* results;
    TPropagationStatus* status;
    TResonance* resonance;
    size_t stride;
  };

  // Walks lane's integrator to within a step of t and puts its point and rates in the state
  // columns.
  static void MoveResonance(const TView& view, size_t lane, double t);

 private:
  size_t lanes_ = 0;
  size_t stride_ = 0;              // lanes_ rounded up to kLanePadding
  std::vector<double> constants_;  // kConstantCount columns of stride_ values
  std::vector<double> state_;      // kStateCount columns
  std::vector<double> results_;    // kResultCount columns
  std::vector<TPropagationStatus> status_;
  std::vector<TResonance> resonance_;
};

}  // namespace zen
