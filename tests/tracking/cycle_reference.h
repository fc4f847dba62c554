// How the compute cycle propagates and sees one set, worked out from that set alone: the
// near-earth sets that fit a lane through the vector path in a batch of their own (a lane's
// numbers do not depend on its neighbours), the others through their propagator, and what the
// site sees of the state from a block of its own. The tests of the cycle compare its states
// with these to the bit, and these with the one-satellite path.
#pragma once

#include <cmath>
#include <cstdint>

#include "core/observer.h"
#include "core/observer_vector.h"
#include "core/propagator.h"
#include "core/sgp4_batch.h"
#include "core/sun.h"
#include "core/timescale.h"

namespace zen::test {

// For a set that is not deep-space: a deep-space lane carries state from call to call (the
// integrator's point, the periodics reused within half an hour), so its reference is a
// TDeepSpaceBatch lane kept alongside the cycle's and fed the same moments.
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

// What the cycle sees of one state (km, km/s) at jd from the site, from a block holding that
// state alone.
struct TCycleSight {
  TGeodetic geodetic;
  TLookAngles lookAngles;
  TLookAngles raDec;
  uint8_t eclipse = 0;
};

inline TCycleSight CycleWaySight(const TVector& pos, const TVector& vel, const TGeodetic& site,
                                 double jd) {
  TSightBlock block;
  block.x[0] = pos.x;
  block.y[0] = pos.y;
  block.z[0] = pos.z;
  block.vx[0] = vel.x;
  block.vy[0] = vel.y;
  block.vz[0] = vel.z;
  SightsInFrame(ObserverFrameAt(site, jd), SiderealTime(jd), SunPosition(jd), block, 1);
  TCycleSight sight;
  sight.geodetic = {block.latitude[0], block.longitude[0], block.altitude[0], block.theta[0]};
  sight.lookAngles = {block.azimuth[0], block.elevation[0], block.range[0], block.rangeRate[0]};
  sight.raDec = {block.rightAscension[0], block.declination[0], block.range[0],
                 block.rangeRate[0]};
  sight.eclipse = block.eclipse[0];
  return sight;
}

// Whether a sight lies within a few units in the last place (angles within 1e-12 rad, the
// altitude within a millimetre) of the one-satellite functions' at jd, with the same shadow.
inline bool NearOneSatelliteSight(const TCycleSight& sight, const TVector& pos,
                                  const TVector& vel, const TGeodetic& site, double jd) {
  const TGeodetic g = EciToGeodetic(pos, jd);
  const TLookAngles look = LookAngles(pos, vel, site, jd);
  const TLookAngles raDec = TopocentricRaDec(pos, vel, site, jd);
  auto turn = [](double a, double b) { return std::fabs(std::remainder(a - b, 2.0 * kPi)); };
  constexpr double kAngle = 1e-12;
  return std::fabs(sight.geodetic.latitude - g.latitude) <= kAngle &&
         turn(sight.geodetic.longitude, g.longitude) <= kAngle &&
         turn(sight.geodetic.theta, g.theta) <= kAngle &&
         std::fabs(sight.geodetic.altitude - g.altitude) <= 1e-6 &&
         turn(sight.lookAngles.first, look.first) <= kAngle &&
         std::fabs(sight.lookAngles.second - look.second) <= kAngle &&
         std::fabs(sight.lookAngles.third - look.third) <= 1e-9 &&
         std::fabs(sight.lookAngles.fourth - look.fourth) <= 1e-12 &&
         turn(sight.raDec.first, raDec.first) <= kAngle &&
         std::fabs(sight.raDec.second - raDec.second) <= kAngle &&
         sight.eclipse == EclipseState(pos, SunPosition(jd));
}

}  // namespace zen::test
