// One satellite's walk through a search period: coarse steps while it is down, whole seconds
// while it is up, and the passes (rise, culmination, set) that meet the search's conditions.
#pragma once

#include <cstdint>
#include <vector>

#include "core/observer.h"
#include "core/propagator.h"
#include "prediction/search.h"

namespace zen {

// The search period in whole seconds of UTC. Second s of the period is the moment
// startUtc + s / 86400; a walk may look up to one coarse step before second 0.
struct TSearchPeriod {
  double startUtc = 0.0;  // Julian date
  int64_t seconds = 0;    // the last second of the period
  double utcOffsetHours = 0.0;

  double JulianAt(int64_t second) const { return startUtc + static_cast<double>(second) / 86400.0; }
};

// The period of a request: the local-clock dates turned to UTC, a reversed period swapped.
TSearchPeriod PeriodOfRequest(const TSearchRequest& request);

// What every satellite shares at one second: the observer's frame and the Sun.
struct TMoment {
  double jd = 0.0;
  TObserverFrame frame;
  TVector sun;  // km, magnitude filled
  double sunAzimuthDeg = 0.0;
  double sunElevationDeg = 0.0;
};

// The moment of a second, computed from scratch.
TMoment MomentAt(const TGeodetic& observer, double jd);

// Gives the moment of any second a walk asks for.
class TMomentSource {
 public:
  virtual ~TMomentSource() = default;
  virtual const TMoment& At(int64_t second) = 0;
};

// The conditions of a search that a walk applies.
struct TWalkConditions {
  double minSatElevationDeg = 10.0;
  double maxSunElevationDeg = -5.0;
  bool illuminationRequired = true;
  int coarseStepSeconds = 60;
  // Leave out samples that provably change nothing (a near-earth satellite surely below the
  // minimum); the outcome is the same either way.
  bool skipSurelyBelow = true;
};

TWalkConditions ConditionsOfRequest(const TSearchRequest& request);

// Seconds from a sample within which a satellite cannot climb to the limit: its geometric
// elevation must rise by more than the gap to reach it, and it cannot move faster than a
// speed bound. elevationSine and rangeKm are of the sample, posKm and velKmS its state (km,
// km/s, magnitudes filled). 0 when nothing can be ruled out.
double SecondsSurelyBelow(double elevationSine, double rangeKm, const TVector& posKm,
                          const TVector& velKmS, double limitDeg);

// One sample of a satellite, as far as an event row needs it.
struct TPassSample {
  int64_t second = 0;
  double azimuthDeg = 0.0;
  double elevationDeg = 0.0;
  double rangeKm = 0.0;
  double sunAzimuthDeg = 0.0;
  double sunElevationDeg = 0.0;
};

// A pass that met every condition: its first, highest and last sample.
struct TPassEvent {
  TPassSample rise;
  TPassSample culmination;
  TPassSample set;
};

class TSatelliteWalk {
 public:
  // A set that cannot be decoded gives a walk that never finds its satellite up.
  TSatelliteWalk(const TTleLines& lines, const TWalkConditions& conditions, int64_t lastSecond);

  // Walks every sample before second stop (and within the period); passes found are appended
  // to found in time order. Returns at once when the walk is over.
  void WalkUntil(int64_t stop, TMomentSource& moments, std::vector<TPassEvent>& found);

  // The second of the next sample; the walk is over when it lies beyond the period.
  int64_t NextSecond() const { return second_; }
  bool Finished() const { return second_ > lastSecond_; }

 private:
  // A sample kept for a row: its state, the row's numbers made only if the pass is reported.
  struct TKeptSample {
    int64_t second = 0;
    double elevationDeg = 0.0;
    TVector pos;
    TVector vel;
  };

  void Step(TMomentSource& moments, std::vector<TPassEvent>& found);
  TPassSample RowSample(TMomentSource& moments, const TKeptSample& kept) const;
  // The recording step of a pass search: follows the highest sample and ends the pass at the
  // first sample that fails a condition. A flare scan would take its place for flares.
  void RecordPassSample(bool meets, double elevationDeg, TMomentSource& moments,
                        std::vector<TPassEvent>& found);
  // Samples after the current one that surely lie below the minimum (0 when unknown).
  int64_t SurelyBelowSamples(bool propagated, double elevationSine, double rangeKm) const;

  TPropagator propagator_;
  bool usable_ = false;
  // Only a near-earth model gives every moment independently of the moments asked before,
  // so only its samples may be left out.
  bool mayskip_ = false;
  TWalkConditions conditions_;
  int64_t lastSecond_ = 0;
  // Below this sine of the geometric elevation the refracted elevation is surely below the
  // minimum.
  double surelyBelowSine_ = 0.0;

  int64_t second_ = 0;
  int64_t step_ = 1;
  bool inPass_ = false;
  bool recording_ = false;
  // The coarse sample that found the satellite up: the fine samples that approach it from one
  // coarse step back do not end the pass when they lie below the minimum.
  int64_t approachEnd_ = 0;
  // The state of the current sample (km, km/s).
  TVector pos_;
  TVector vel_;
  TKeptSample rise_;
  TKeptSample culmination_;
  TKeptSample lastMet_;  // the latest sample that met every condition
};

}  // namespace zen
