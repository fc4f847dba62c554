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
};

TWalkConditions ConditionsOfRequest(const TSearchRequest& request);

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
  // The refracted elevation in degrees, or nothing when the satellite cannot be propagated.
  bool Elevation(const TMoment& moment, double& elevationDeg);
  void Step(TMomentSource& moments, std::vector<TPassEvent>& found);
  TPassSample FullSample(const TMoment& moment, double elevationDeg) const;
  // The recording step of a pass search: follows the highest sample and ends the pass at the
  // first sample that fails a condition.
  void RecordPassSample(bool meets, const TMoment& moment, double elevationDeg,
                        std::vector<TPassEvent>& found);

  TPropagator propagator_;
  bool usable_ = false;
  TWalkConditions conditions_;
  int64_t lastSecond_ = 0;

  int64_t second_ = 0;
  int64_t step_ = 1;
  bool inPass_ = false;
  bool recording_ = false;
  // The coarse sample that found the satellite up: the fine samples that approach it from one
  // coarse step back do not end the pass when they lie below the minimum.
  int64_t approachEnd_ = 0;
  // The position and velocity of the last propagated sample (km, km/s).
  TVector pos_;
  TVector vel_;
  TPassEvent current_;  // rise and culmination so far, set = the last sample that met them
};

}  // namespace zen
