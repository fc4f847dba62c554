// How the compute cycle propagates one set, worked out from that set alone: the near-earth sets
// that fit a lane through the vector path in a batch of their own (a lane's numbers do not
// depend on its neighbours), the others through their propagator. The tests of the cycle
// compare its states with these to the bit, and these with the one-satellite path.
#pragma once

#include "core/propagator.h"
#include "core/sgp4_batch.h"

namespace zen::test {

inline TPropagationStatus CycleWayState(TPropagator& model, double jd, TVector& pos,
                                        TVector& vel) {
  model.PrepareModel();
  if (!TNearEarthBatch::Fits(model)) return model.Propagate(pos, vel, jd);
  TNearEarthBatch alone;
  alone.Resize(1);
  alone.SetLane(0, model);
  alone.PropagateVector(0, 1, jd);
  return alone.Result(0, pos, vel);
}

// Whether two states (earth radii, earth radii per minute) lie within a millimetre and a
// micrometre per second of each other.
inline bool WithinMillimetre(const TVector& pos, const TVector& vel, const TVector& wantPos,
                             const TVector& wantVel) {
  TVector p = pos;
  TVector v = vel;
  TVector wp = wantPos;
  TVector wv = wantVel;
  TPropagator::ScaleStateToKm(p, v);
  TPropagator::ScaleStateToKm(wp, wv);
  auto apart = [](const TVector& a, const TVector& b) {
    return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z);
  };
  return apart(p, wp) <= 1e-6 && apart(v, wv) <= 1e-9;
}

}  // namespace zen::test
