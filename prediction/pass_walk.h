// One satellite's walk through a search period: coarse steps while it is down, whole seconds
// while it is up, and the passes (rise, culmination, set) or the flares that meet the search's
// conditions.
#pragma once

#include <array>
#include <climits>
#include <cmath>
#include <limits>
#include <cstdint>
#include <variant>
#include <vector>

#include "core/observer.h"
#include "core/observer_vector.h"
#include "core/propagator.h"
#include "core/sgp4_batch.h"
#include "prediction/flare_scan.h"
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
  double sunElevationDeg = 0.0;
  // The Sun's topocentric right ascension and declination, which only a flare search needs.
  bool hasSunRaDec = false;
  TLookAngles sunRaDec;
};

// The moment of a second, computed from scratch; withSunRaDec for a flare search.
TMoment MomentAt(const TGeodetic& observer, double jd, bool withSunRaDec = false);
// The same from the site's terms, for a caller that computes many moments.
TMoment MomentAt(const TSiteTerms& site, double jd, bool withSunRaDec = false);

// The Sun's azimuth (degrees) at a moment, as LookAnglesInFrame gives it: a row needs it, the
// walk does not, so a moment leaves it out.
double SunAzimuthDeg(const TMoment& moment);

// Gives the moment of any second a walk asks for.
class TMomentSource {
 public:
  virtual ~TMomentSource() = default;
  virtual const TMoment& At(int64_t second) = 0;
  // The Julian date of a second, without the rest of its moment.
  virtual double JulianAt(int64_t second) { return At(second).jd; }
  // The moment of a second when it is at hand without computing it, or null.
  virtual const TMoment* Held(int64_t /*second*/) { return nullptr; }
};

// The conditions of a search that a walk applies.
struct TWalkConditions {
  TSearchKind kind = TSearchKind::Passes;
  double minSatElevationDeg = 10.0;
  double maxSunElevationDeg = -5.0;
  bool illuminationRequired = true;  // a flare search always requires it
  int coarseStepSeconds = 60;
  // Flares: the largest offset angle of a flare, and the site the panels are seen from.
  double maxFlareAngleDeg = 1.0;
  TGeodetic observer;
  // Leave out samples of a near-earth satellite that provably change nothing; the outcome is
  // the same either way. A flare search leaves out only samples at which no recording runs
  // (a recording's panels begin afresh), never a stretch of daylight.
  bool leaveOutCertainSamples = true;
  // Take a near-earth satellite's samples from the vector path, several moments in one call,
  // wherever every decision the sample leads to is certain despite the vector path's small
  // departures; elsewhere, and for every number an event reports, the one-satellite path.
  // The outcome is the same either way.
  bool vectorSamples = true;
};

// Lanes of the vector near-earth path that the walks on one thread share, one walk at a time:
// the walk that uses them fills every lane with its set and propagates them to the seconds it
// will sample next.
class TWalkLanes {
 public:
  // How far a lane's position may lie from the one-satellite path's: a hundred times the room
  // the vector path is held to (a millimetre).
  static constexpr double kPositionErrorKm = 1.0e-4;

  // departureKm moves every lane's position by that much, and the room for the error with it:
  // for tests that make the lanes' departures large enough to matter.
  explicit TWalkLanes(double departureKm = 0.0)
      : departureKm_(departureKm), errorKm_(kPositionErrorKm + 2.0 * std::abs(departureKm)) {
    batch_.Resize(kLanes);
  }

 private:
  friend class TSatelliteWalk;
  static constexpr size_t kLanes = 8;
  TNearEarthBatch batch_;
  double departureKm_ = 0.0;
  double errorKm_ = kPositionErrorKm;
  const void* owner_ = nullptr;  // the walk whose set the first loaded_ lanes hold
  size_t loaded_ = 0;
  // Lane j holds second first_ + j * stride_, for j below held_.
  int64_t first_ = 0;
  int64_t stride_ = 1;
  size_t held_ = 0;
  std::array<double, kLanes> jd_{};
  // The held lanes' states (km, km/s) and whether each came out Ok.
  std::array<TVector, kLanes> pos_{};
  std::array<TVector, kLanes> vel_{};
  std::array<bool, kLanes> ok_{};
  // The held lanes' look and shadow from the vector units, where sighted_ (the lane's state
  // came out and its moment was at hand).
  TLaneSightBlock sights_;
  std::array<bool, kLanes> sighted_{};
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
  int64_t sunlitSeconds = 0;  // of the seconds from rise to set
};

// A flare that met every condition: the sample at which one panel's offset angle had its
// minimum.
struct TFlareEvent {
  TPassSample sample;
  TPanelAngles anglesDeg{};  // every panel's angle at that sample
  uint8_t panel = 0;         // 1..3
  char direction = ' ';      // 'A' ascending or 'D' descending at that sample
};

// What a walk finds: passes in a pass search, flares in a flare search.
using TWalkEvent = std::variant<TPassEvent, TFlareEvent>;

// The walk of one satellite. Down, it samples every coarse step; a coarse sample above the
// minimum sends it back one coarse step, from where it samples every second until the
// satellite is below the minimum again. A pass is a run of seconds above the minimum that
// meet the illumination condition: rise the first, culmination the first highest, set the
// last; it is reported when it ends inside the period with the Sun at culmination no higher
// than the limit. A flare search follows the panels' angles through the same runs of seconds
// (TPanelScan) and reports each minimum no larger than the largest flare angle with the Sun
// no higher than the limit at that second.
// Two choices keep that sound: the seconds that approach the coarse sample which found the
// satellite up do not end the pass when they lie below the minimum (otherwise a pass shorter
// than the coarse step that a coarse sample did catch would be lost), and the culmination is
// taken only from seconds that meet the conditions (so it is never a second in the shadow).
class TSatelliteWalk {
 public:
  // A set that cannot be decoded gives a walk that never finds its satellite up.
  TSatelliteWalk(const TCatalogSet& set, const TWalkConditions& conditions, int64_t lastSecond);

  // Walks every sample before second stop (and within the period); the passes or flares found
  // are appended to found in time order. Returns at once when the walk is over. lanes, when
  // given, are the calling thread's vector lanes (see TWalkConditions::vectorSamples).
  void WalkUntil(int64_t stop, TMomentSource& moments, std::vector<TWalkEvent>& found,
                 TWalkLanes* lanes = nullptr);

  // The second of the next sample; the walk is over when it lies beyond the period.
  int64_t NextSecond() const { return state_.second; }
  bool Finished() const { return state_.second > lastSecond_; }

  // What the conditions left out so far: passes that set without a report, each once, by
  // whether any of their seconds met the illumination condition; or the reflections of a
  // flare search that the shadow or the Sun took.
  const TLeftOut& LeftOut() const { return state_.leftOut; }

 private:
  // A sample kept for a row: its state, the row's numbers made only if the pass is reported.
  struct TKeptSample {
    int64_t second = 0;
    double elevationDeg = 0.0;
    double sunElevationDeg = 0.0;
    TVector pos;
    TVector vel;
    TPanelAngles anglesDeg{};  // flares only
    // From the one-satellite path; a sample from the vector lanes is made exact before its
    // numbers are used. Its elevation then lies between lowDeg and highDeg.
    bool exact = true;
    double lowDeg = 0.0;
    double highDeg = 0.0;
  };

  // What a sample's state gives the step.
  struct TLook {
    bool propagated = false;
    double elevationSine = -1.0;
    double rangeKm = 0.0;
    double elevationDeg = -90.0;
    // ArcSin(elevationSine), once worked out (see Geometric).
    double geometricRad = std::numeric_limits<double>::quiet_NaN();
  };
  // The geometric elevation (radians) of a look, worked out once however many bounds need it.
  static double Geometric(TLook& look) {
    if (std::isnan(look.geometricRad)) look.geometricRad = ArcSin(look.elevationSine);
    return look.geometricRad;
  }

  // What a walk knows between samples.
  struct TState {
    int64_t second = 0;
    int64_t step = 1;
    bool inPass = false;
    bool recording = false;
    // The coarse sample that found the satellite up: the fine samples that approach it from
    // one coarse step back do not end the pass when they lie below the minimum.
    int64_t approachEnd = 0;
    TKeptSample rise;
    TKeptSample culmination;
    TKeptSample lastMet;  // the latest sample that met every condition
    // Flares: the panels through the recording, and its latest sample.
    TPanelScan scan;
    TKeptSample previous;
    // The pass under way, from the coarse sample that found the satellite up to the sample
    // below the minimum that ends it: whether any of its seconds met the illumination
    // condition, and whether any of its stretches was reported.
    bool passLit = false;
    bool passReported = false;
    // Flares: the panels through a run of seconds above the minimum in the shadow, which the
    // same scan as a recording follows to count the reflections the shadow took.
    bool shadowScanning = false;
    TPanelScan shadowScan;
    TPanelAngles shadowPrevious{};
    TLeftOut leftOut;
  };

  void Step(int64_t stop, TMomentSource& moments, std::vector<TWalkEvent>& found);
  // The current sample's state and look from the one-satellite path.
  TLook ExactLook(const TMoment& moment);
  // The same from the vector lanes, when every decision of the step is certain from it.
  bool LaneLook(TMomentSource& moments, const TMoment& moment, TLook& look);
  // The states of the lanes just propagated, and their look from the vector units.
  void SightLanes(TWalkLanes& lanes, TMomentSource& moments) const;
  // Records the illumination it decided on (laneSunlit_).
  bool Certain(TLook& look, const TMoment& moment);
  // EclipseState(pos_, sun) == kSunlit, or what Certain decided for a sample from the lanes.
  bool Sunlit(const TMoment& moment) const;
  // The current sample, kept for a row.
  TKeptSample KeptSample(double elevationDeg, const TMoment& moment) const;
  // A kept sample's state, elevation and all, from the one-satellite path.
  void MakeExact(TKeptSample& kept, TMomentSource& moments) const;
  // Whether a sample's elevation lies above the culmination's, as the one-satellite path would
  // have it; the current sample is made exact (pos_, vel_, elevationDeg) when it must be.
  bool AboveCulmination(double& elevationDeg, const TMoment& moment, TMomentSource& moments);
  TPassSample RowSample(TMomentSource& moments, const TKeptSample& kept) const;
  // The recording step of a pass search: follows the highest sample and ends the pass at the
  // first sample that fails a condition.
  void RecordPassSample(bool meets, double elevationDeg, const TMoment& moment,
                        TMomentSource& moments, std::vector<TWalkEvent>& found);
  // The recording step of a flare search: the panel scan of every sample from the first that
  // meets the conditions to the first that fails one.
  void RecordFlareSample(bool meets, double elevationDeg, const TMoment& moment,
                         TMomentSource& moments, std::vector<TWalkEvent>& found);
  // Flares: the panel scan of the runs of seconds above the minimum in the shadow; each
  // minimum no larger than the largest flare angle is a reflection left out.
  void CountShadowReflections(bool inShadow, const TMoment& moment, TMomentSource& moments);
  // The sample below the minimum that ends a pass: a pass none of whose stretches was
  // reported is counted as left out.
  void EndPass();
  TPanelAngles AnglesAt(const TVector& pos, const TVector& vel, const TMoment& moment) const;
  // The panels' angles one second before the current sample, from a propagation of its own.
  TPanelAngles AnglesBefore(TMomentSource& moments, const TPanelAngles& fallback) const;
  // Seconds after the current sample (within the pass) that surely change nothing.
  int64_t IdleSecondsInPass(bool above, TLook& look, const TMoment& moment) const;
  // Seconds after the current sample that surely lie below the minimum.
  int64_t SecondsBelow(TLook& look) const;
  // In a stretch of daylight: steps on to the end of the satellite's time above the minimum,
  // or back to where the stretch began when the Sun sets before.
  void StepInDaylight(int64_t stop, TLook& look, const TMoment& moment, TMomentSource& moments);
  bool MayBeginDaylight(bool above, const TMoment& moment) const;

  TPropagator propagator_;
  bool usable_ = false;
  // Whether the set may take the vector lanes, and the lanes of the walk under way.
  bool laneable_ = false;
  TWalkLanes* lanes_ = nullptr;
  // The current sample came from the lanes; then whether it is sunlit, when Certain decided it
  // (-1 if not).
  bool fromLanes_ = false;
  int laneSunlit_ = -1;
  // The shadow's margin (radians) of the current lane sample from the vector units, or NaN.
  double laneMarginRad_ = std::numeric_limits<double>::quiet_NaN();
  // Bounds of the one-satellite path's elevation (degrees) of a sample from the lanes.
  double laneLowDeg_ = 0.0;
  double laneHighDeg_ = 0.0;
  // Seconds through which the satellite is surely sunlit, from a lane's state.
  int64_t laneSunlitFrom_ = 0;
  int64_t laneSunlitUntil_ = -1;
  // The bounds Certain computed from the same state, which the step would compute again (NaN
  // where it did not).
  struct TBounds {
    double dark = std::numeric_limits<double>::quiet_NaN();
    double below = std::numeric_limits<double>::quiet_NaN();
    double above = std::numeric_limits<double>::quiet_NaN();
  };
  TBounds laneBounds_;
  // A bound Certain computed, or compute() for a sample not from the lanes.
  template <class Compute>
  double Known(double bound, const Compute& compute) const {
    return fromLanes_ && !std::isnan(bound) ? bound : compute();
  }
  // Only a near-earth model gives every moment independently of the moments asked before,
  // so only its samples may be left out.
  bool mayLeaveOut_ = false;
  TWalkConditions conditions_;
  int64_t lastSecond_ = 0;
  // Below this sine of the geometric elevation the refracted elevation is surely below the
  // minimum.
  double surelyBelowSine_ = 0.0;

  TState state_;
  // The state of the current sample (km, km/s).
  TVector pos_;
  TVector vel_;
  // A stretch of daylight: the Sun above its limit at every second since the state kept here
  // was current, so nothing found since can be reported; only where the satellite goes below
  // the minimum counts. A daylight stretch does not begin again before daylightFrom_.
  bool daylight_ = false;
  TState daylightStart_;
  int64_t daylightFrom_ = INT64_MIN;
};

}  // namespace zen
