// The NORAD SGP4 and SDP4 propagators: one object per satellite, no shared state.
#pragma once

#include "core/elements.h"
#include "core/numeric.h"

namespace zen {

// Why a moment could not be propagated. Anything but Ok leaves the outputs zero.
enum class TPropagationStatus { Ok, EccentricityOutOfRange, NonPositiveAxis, NonFinite, Decayed };

// One lower-case word per status ("ok", "eccentricity", "axis", "nonfinite", "decayed").
const char* PropagationStatusText(TPropagationStatus status);

// What both models compute once per element set (the report's initialisation section).
struct TModelInit {
  double cosI = 0.0;  // of the epoch inclination
  double sinI = 0.0;
  double theta2 = 0.0;             // cos^2 i
  double threeTheta2Minus1 = 0.0;  // 3 theta^2 - 1
  double oneMinusTheta2 = 0.0;     // 1 - theta^2
  double sevenTheta2Minus1 = 0.0;  // 7 theta^2 - 1
  double eccentricitySq = 0.0;     // e0^2
  double beta0 = 0.0;              // sqrt(1 - e0^2)
  double beta0Sq = 0.0;
  double axis = 0.0;    // a0'', earth radii, recovered from the k2 term
  double motion = 0.0;  // n0'', rad/min, recovered from the k2 term
  double s = 0.0;       // density parameter s, earth radii
  double qms4 = 0.0;    // (q0 - s)^4, earth radii^4
  double xi = 0.0;      // 1 / (a0'' - s)
  double eta = 0.0;
  double c1 = 0.0;
  double c3 = 0.0;  // near-earth only
  double c4 = 0.0;
  double c5 = 0.0;  // near-earth only
  double d2 = 0.0;  // near-earth full drag only: d2..d4 and the L polynomial
  double d3 = 0.0;
  double d4 = 0.0;
  double lCoef2 = 0.0;  // 1.5 C1, coefficient of t^2 in L
  double lCoef3 = 0.0;
  double lCoef4 = 0.0;
  double lCoef5 = 0.0;
  double meanAnomalyRate = 0.0;  // rad/min, secular gravity
  double argPerigeeRate = 0.0;
  double nodeRate = 0.0;
  double nodeDragCoef = 0.0;         // coefficient of t^2 in the node
  double argPerigeeDragCoef = 0.0;   // B* C3 cos(omega0), delta omega per minute
  double meanAnomalyDragCoef = 0.0;  // -2/3 (q0 - s)^4 B* xi^4 / (e0 eta), delta M factor
  double longPeriodLCoef = 0.0;      // A30 sin i (3 + 5 theta) / (8 k2 (1 + theta))
  double longPeriodAynCoef = 0.0;    // A30 sin i / (4 k2)
  double etaCosM0Cubed = 0.0;        // (1 + eta cos M0)^3
  double sinM0 = 0.0;
  bool simplifiedDrag = false;  // perigee below 220 km: drag truncated after C1
};

// The deep-space routine's state: set up per element set, the integrator moves with every call.
struct TDeepSpaceState {
  // Epoch quantities.
  double siderealAtEpoch = 0.0;  // Greenwich sidereal angle at epoch, rad
  double daysSince1950 = 0.0;    // of the epoch
  double motion = 0.0;           // n0'', rad/min
  double inverseAxis = 0.0;      // 1 / a0''
  double eccentricity = 0.0;     // e0
  double inclination = 0.0;      // i0, rad
  double meanAnomaly = 0.0;      // M0
  double node = 0.0;             // Omega0
  double argPerigee = 0.0;       // omega0
  double argPerigeeRate = 0.0;   // secular gravity rates passed in by the model
  double sinI = 0.0;
  double cosI = 0.0;

  // Lunar and solar secular rates of e, i, M, omega and Omega.
  double sse = 0.0, ssi = 0.0, ssl = 0.0, ssg = 0.0, ssh = 0.0;
  // Solar periodic coefficients.
  double se2 = 0.0, se3 = 0.0, si2 = 0.0, si3 = 0.0, sl2 = 0.0, sl3 = 0.0, sl4 = 0.0;
  double sgh2 = 0.0, sgh3 = 0.0, sgh4 = 0.0, sh2 = 0.0, sh3 = 0.0;
  // Lunar periodic coefficients.
  double ee2 = 0.0, e3 = 0.0, xi2 = 0.0, xi3 = 0.0, xl2 = 0.0, xl3 = 0.0, xl4 = 0.0;
  double xgh2 = 0.0, xgh3 = 0.0, xgh4 = 0.0, xh2 = 0.0, xh3 = 0.0;

  // Lunar terms of one epoch day, recomputed only when the day changes.
  double lunarDay = -1.0e30;
  double zmol = 0.0, zmos = 0.0;
  double zcosil = 0.0, zsinil = 0.0, zcoshl = 0.0, zsinhl = 0.0, zcosgl = 0.0, zsingl = 0.0;

  // Geopotential resonance.
  bool resonant = false;
  bool synchronous = false;  // 24-hour; otherwise 12-hour when resonant
  double del1 = 0.0, del2 = 0.0, del3 = 0.0;
  double d2201 = 0.0, d2211 = 0.0, d3210 = 0.0, d3222 = 0.0, d4410 = 0.0, d4422 = 0.0;
  double d5220 = 0.0, d5232 = 0.0, d5421 = 0.0, d5433 = 0.0;
  double lambda0 = 0.0;       // mean longitude at epoch for the integrator
  double motionFactor = 0.0;  // rate of lambda less the mean motion
  // Integrator: time reached (min), mean longitude and mean motion there.
  double timeReached = 0.0;
  double lambdaReached = 0.0;
  double motionReached = 0.0;

  // Lunar-solar periodics of the last evaluation, reused within 30 minutes of it.
  double periodicTime = 1.0e20;
  double pe = 0.0, pinc = 0.0, pl = 0.0;
  double sghs = 0.0, sghl = 0.0, shs = 0.0, shl = 0.0;
};

// One satellite's propagator. Not thread-safe: one object is used by one thread at a time;
// Propagate changes the deep-space integrator and caches, which is why it is not const.
class TPropagator {
 public:
  // Decodes the set into CurrentElements (throws TElementError as zen::LoadElements does)
  // and marks the model for initialisation.
  void LoadElements(const TTleLines& lines);
  // Takes an already decoded set, for callers that hold one.
  void LoadElements(const TElements& elements);

  // Position (earth radii) and velocity (earth radii per minute) at a Julian date (UTC);
  // magnitudes not set. On a status other than Ok the outputs are left finite (zero).
  TPropagationStatus Propagate(TVector& pos, TVector& vel, double jd);
  // The same at a time in minutes since the epoch of CurrentElements.
  TPropagationStatus PropagateMinutes(TVector& pos, TVector& vel, double tsinceMinutes);

  // Sets the model up now when a load left that pending, as the first Propagate would, so that
  // Init (and Deep) can be read before any moment is propagated. A set that is no ellipse is
  // left alone, as Propagate leaves it.
  void PrepareModel();

  // Earth radii and earth radii per minute to km and km/s, with both magnitudes filled. Inline:
  // a search scales every state it looks at.
  static void ScaleStateToKm(TVector& pos, TVector& vel) {
    constexpr double kKmPerSecond = kEarthRadiusKm / 60.0;
    pos.x *= kEarthRadiusKm;
    pos.y *= kEarthRadiusKm;
    pos.z *= kEarthRadiusKm;
    vel.x *= kKmPerSecond;
    vel.y *= kKmPerSecond;
    vel.z *= kKmPerSecond;
    VecMagnitude(pos);
    VecMagnitude(vel);
  }

  // The two models; each initialises itself when initPending is set and clears it.
  TPropagationStatus Sgp4Propagate(bool& initPending, TVector& pos, TVector& vel,
                                   double tsinceMinutes);
  TPropagationStatus Sdp4Propagate(bool& initPending, TVector& pos, TVector& vel,
                                   double tsinceMinutes);

  // The deep-space routine's three entries, called by Sdp4Propagate.
  void DeepSpaceInitialise();
  // Adds the lunar-solar secular terms and the resonance to the mean elements.
  void DeepSpaceSecular(double& meanAnomaly, double& argPerigee, double& node, double& eccentricity,
                        double& inclination, double& motion, double tsinceMinutes);
  // Adds the lunar-solar periodic terms.
  void DeepSpacePeriodic(double& eccentricity, double& inclination, double& argPerigee,
                         double& node, double& meanAnomaly, double tsinceMinutes);

  TElements CurrentElements;
  // Filled at the first Propagate after a load; callers only read them (tests, diagnostics).
  TModelInit Init;
  TDeepSpaceState Deep;

 private:
  void InitialiseCommon();
  void InitialiseNearEarth();
  void IntegrateResonance(double tsinceMinutes);
  void ResonanceRates(double& lambdaRate, double& motionRate, double& motionRate2) const;
};

}  // namespace zen
