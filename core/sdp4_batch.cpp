// The deep-space lanes' set-up and the scalar part of their propagation: the resonance
// integrator, one lane at a time.
#include "core/sdp4_batch.h"

#include <cmath>

#include "core/deep_space_resonance.h"
#include "core/sgp4_constants.h"

namespace zen {

namespace {

// The integrator's point and the rates there into the lane's state columns.
void StoreResonancePoint(const TDeepSpaceBatch::TResonance& r, double* state, size_t stride,
                         size_t lane) {
  double lambdaRate = 0.0, motionRate = 0.0, motionRate2 = 0.0;
  deep::ResonanceRates(r, lambdaRate, motionRate, motionRate2);
  const double values[] = {r.timeReached, r.lambdaReached, r.motionReached,
                           lambdaRate,    motionRate,      motionRate2};
  for (size_t s = 0; s < sizeof values / sizeof values[0]; ++s) {
    state[(TDeepSpaceBatch::kTimeReached + s) * stride + lane] = values[s];
  }
}

}  // namespace

bool TDeepSpaceBatch::Fits(const TPropagator& propagator) {
  const TElements& el = propagator.CurrentElements;
  return !el.ModelInitPending && el.eccentricity < 1.0 && el.UseDeepSpace;
}

void TDeepSpaceBatch::Resize(size_t count) {
  lanes_ = count;
  stride_ = (count + kLanePadding - 1) / kLanePadding * kLanePadding;
  // A vector that starts at the last column's last lanes reads up to a vector past its end.
  constants_.assign(kConstantCount * stride_ + kLanePadding, 0.0);
  state_.assign(kStateCount * stride_ + kLanePadding, 0.0);
  results_.assign(kResultCount * stride_, 0.0);
  status_.assign(count, TPropagationStatus::Ok);
  resonance_.assign(count, TResonance{});
}

void TDeepSpaceBatch::SetLane(size_t lane, const TPropagator& propagator) {
  const TElements& el = propagator.CurrentElements;
  const TModelInit& m = propagator.Init;
  const TDeepSpaceState& d = propagator.Deep;
  const double values[kConstantCount] = {
      el.epochJulian,
      el.meanAnomaly,
      el.argPerigee,
      el.rightAscension,
      d.eccentricity,
      d.inclination,
      m.meanAnomalyRate,
      m.argPerigeeRate,
      m.nodeRate,
      m.nodeDragCoef,
      m.c1,
      el.bstar * m.c4,
      m.lCoef2,
      m.motion,
      std::pow(Ke() / m.motion, sgp4::kTwoThirds),
      m.longPeriodLCoef,
      m.longPeriodAynCoef,
      m.threeTheta2Minus1,
      m.oneMinusTheta2,
      m.sevenTheta2Minus1,
      m.cosI,
      m.sinI,
      d.siderealAtEpoch,
      d.resonant ? 1.0 : 0.0,
      d.synchronous ? 1.0 : 0.0,
      d.sse,
      d.ssi,
      d.ssl,
      d.ssg,
      d.ssh,
      d.zmos,
      d.zmol,
      d.se2,
      d.se3,
      d.si2,
      d.si3,
      d.sl2,
      d.sl3,
      d.sl4,
      d.sgh2,
      d.sgh3,
      d.sgh4,
      d.sh2,
      d.sh3,
      d.ee2,
      d.e3,
      d.xi2,
      d.xi3,
      d.xl2,
      d.xl3,
      d.xl4,
      d.xgh2,
      d.xgh3,
      d.xgh4,
      d.xh2,
      d.xh3,
  };
  for (size_t c = 0; c < kConstantCount; ++c) constants_[c * stride_ + lane] = values[c];

  const double periodics[] = {d.periodicTime, d.pe, d.pinc, d.pl, d.sghs + d.sghl, d.shs + d.shl};
  for (size_t s = 0; s < sizeof periodics / sizeof periodics[0]; ++s) {
    state_[(kPeriodicTime + s) * stride_ + lane] = periodics[s];
  }
  TResonance& r = resonance_[lane];
  r = TResonance{};
  if (d.resonant) {
    r.synchronous = d.synchronous;
    r.del1 = d.del1;
    r.del2 = d.del2;
    r.del3 = d.del3;
    r.d2201 = d.d2201;
    r.d2211 = d.d2211;
    r.d3210 = d.d3210;
    r.d3222 = d.d3222;
    r.d4410 = d.d4410;
    r.d4422 = d.d4422;
    r.d5220 = d.d5220;
    r.d5232 = d.d5232;
    r.d5421 = d.d5421;
    r.d5433 = d.d5433;
    r.argPerigee = d.argPerigee;
    r.argPerigeeRate = d.argPerigeeRate;
    r.motion = d.motion;
    r.lambda0 = d.lambda0;
    r.motionFactor = d.motionFactor;
    r.timeReached = d.timeReached;
    r.lambdaReached = d.lambdaReached;
    r.motionReached = d.motionReached;
  }
  // The point's rates, as the propagator computes them at its next call.
  StoreResonancePoint(r, state_.data(), stride_, lane);
}

void TDeepSpaceBatch::MoveResonance(const TView& view, size_t lane, double t) {
  TResonance& r = view.resonance[lane];
  deep::IntegrateResonance(r, t);
  StoreResonancePoint(r, view.state, view.stride, lane);
}

TPropagationStatus TDeepSpaceBatch::Result(size_t lane, TVector& pos, TVector& vel) const {
  pos = TVector{results_[kPosX * stride_ + lane], results_[kPosY * stride_ + lane],
                results_[kPosZ * stride_ + lane], 0.0};
  vel = TVector{results_[kVelX * stride_ + lane], results_[kVelY * stride_ + lane],
                results_[kVelZ * stride_ + lane], 0.0};
  return status_[lane];
}

}  // namespace zen
