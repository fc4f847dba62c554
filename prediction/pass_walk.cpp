// One satellite's walk through a search period.
#include "prediction/pass_walk.h"

#include <algorithm>
#include <cmath>

#include "core/sun.h"
#include "prediction/iridium.h"
#include "prediction/motion_bounds.h"
#include "prediction/pass_track.h"

namespace zen {

namespace {

// A period longer than this (about 300 years, far beyond any date the program accepts) is
// cut to it, so the second count stays an exact integer.
constexpr double kLongestPeriodSeconds = 1.0e10;

constexpr double kNotUpDeg = -90.0;

}  // namespace

TSearchPeriod PeriodOfRequest(const TSearchRequest& request) {
  double start = request.periodStartLocal;
  double end = request.periodEndLocal;
  if (start > end) std::swap(start, end);
  TSearchPeriod period;
  period.utcOffsetHours = request.utcOffsetHours;
  period.startUtc = LocalToUtc(start, request.utcOffsetHours);
  const double seconds = (end - start) * 86400.0;
  if (!std::isfinite(period.startUtc) || !(seconds > 0.0)) return period;
  period.seconds = std::llround(std::min(seconds, kLongestPeriodSeconds));
  return period;
}

TMoment MomentAt(const TGeodetic& observer, double jd, bool withSunRaDec) {
  TMoment moment;
  moment.jd = jd;
  moment.frame = ObserverFrameAt(observer, jd);
  moment.sun = SunPosition(jd);
  const TLookAngles sunLook = LookAnglesInFrame(moment.frame, moment.sun, TVector{});
  moment.sunAzimuthDeg = Degrees(sunLook.first);
  moment.sunElevationDeg = Degrees(sunLook.second);
  if (withSunRaDec) {
    moment.hasSunRaDec = true;
    moment.sunRaDec = TopocentricRaDec(moment.sun, TVector{}, observer, jd);
  }
  return moment;
}

TWalkConditions ConditionsOfRequest(const TSearchRequest& request) {
  TWalkConditions conditions;
  conditions.kind = request.kind;
  conditions.minSatElevationDeg = request.minSatElevationDeg;
  conditions.maxSunElevationDeg = request.maxSunElevationDeg;
  conditions.illuminationRequired =
      request.kind == TSearchKind::Flares || request.illuminationRequired;
  conditions.coarseStepSeconds = CoarseStepSeconds(request.level);
  conditions.maxFlareAngleDeg = request.maxFlareAngleDeg;
  conditions.observer =
      ObserverFromSite(request.latitudeDeg, request.longitudeDeg, request.altitudeM);
  return conditions;
}

TSatelliteWalk::TSatelliteWalk(const TCatalogSet& set, const TWalkConditions& conditions,
                               int64_t lastSecond)
    : conditions_(conditions),
      lastSecond_(lastSecond),
      surelyBelowSine_(std::sin(Radians(conditions.minSatElevationDeg - 1.0))) {
  state_.step = conditions.coarseStepSeconds;
  usable_ = set.decodable;
  if (usable_) {
    propagator_.LoadElements(set.elements);
    mayLeaveOut_ = conditions.leaveOutCertainSamples && !propagator_.CurrentElements.UseDeepSpace;
  }
}

void TSatelliteWalk::WalkUntil(int64_t stop, TMomentSource& moments,
                               std::vector<TWalkEvent>& found) {
  while (state_.second < stop && state_.second <= lastSecond_) Step(stop, moments, found);
}

TPassSample TSatelliteWalk::RowSample(TMomentSource& moments, const TKeptSample& kept) const {
  const TMoment& moment = moments.At(kept.second);
  const TLookAngles look = LookAnglesInFrame(moment.frame, kept.pos, kept.vel);
  TPassSample sample;
  sample.second = kept.second;
  sample.azimuthDeg = Degrees(look.first);
  sample.elevationDeg = kept.elevationDeg;
  sample.rangeKm = look.third;
  sample.sunAzimuthDeg = moment.sunAzimuthDeg;
  sample.sunElevationDeg = moment.sunElevationDeg;
  return sample;
}

void TSatelliteWalk::Step(int64_t stop, TMomentSource& moments, std::vector<TWalkEvent>& found) {
  TState& s = state_;
  // A copy: looking up another second may replace a moment computed on the spot.
  const TMoment moment = moments.At(s.second);
  bool propagated = false;
  double elevationSine = -1.0;
  double rangeKm = 0.0;
  if (usable_ && propagator_.Propagate(pos_, vel_, moment.jd) == TPropagationStatus::Ok) {
    TPropagator::ScaleStateToKm(pos_, vel_);
    elevationSine = ElevationSineInFrame(moment.frame, pos_, rangeKm);
    propagated = true;
  }
  // The exact elevation only where it can matter.
  double elevationDeg = kNotUpDeg;
  if (propagated && elevationSine > surelyBelowSine_) {
    elevationDeg = Degrees(RefractedElevation(ArcSin(elevationSine)));
  }
  const bool above = elevationDeg > conditions_.minSatElevationDeg;
  const bool mayLeaveOut = mayLeaveOut_ && propagated;

  if (daylight_) {
    StepInDaylight(stop, elevationDeg, elevationSine, rangeKm, moment, moments);
    return;
  }

  if (!s.inPass) {
    if (above) {
      // Found up at a coarse sample: go back one coarse step and approach the rise, which
      // may lie anywhere in between, one second at a time.
      s.inPass = true;
      s.passLit = false;
      s.passReported = false;
      s.approachEnd = s.second;
      s.second -= s.step - 1;
      s.step = 1;
      return;
    }
    const int64_t skipped = mayLeaveOut ? SecondsBelow(elevationSine, rangeKm) / s.step : 0;
    s.second += s.step * (1 + skipped);
    return;
  }

  bool meets = above;
  if (meets && conditions_.illuminationRequired) meets = EclipseState(pos_, moment.sun) == kSunlit;
  if (conditions_.kind == TSearchKind::Flares) {
    RecordFlareSample(meets, elevationDeg, moment, moments, found);
    CountShadowReflections(above && !meets, moment, moments);
  } else {
    RecordPassSample(meets, elevationDeg, moment, moments, found);
  }

  if (elevationDeg < conditions_.minSatElevationDeg && s.second >= s.approachEnd) {
    EndPass();
    s.inPass = false;
    s.recording = false;
    s.step = conditions_.coarseStepSeconds;
    s.second += s.step;
    return;
  }
  if (mayLeaveOut && MayBeginDaylight(above, moment)) {
    s.second += s.step;
    daylight_ = true;
    daylightStart_ = s;
    return;
  }
  const int64_t idle = mayLeaveOut ? IdleSecondsInPass(above, elevationSine, rangeKm, moment) : 0;
  s.second += s.step + idle;
}

int64_t TSatelliteWalk::SecondsBelow(double elevationSine, double rangeKm) const {
  return static_cast<int64_t>(SecondsSurelyBelow(elevationSine, rangeKm, SpeedBoundKmS(pos_, vel_),
                                                 conditions_.minSatElevationDeg));
}

int64_t TSatelliteWalk::IdleSecondsInPass(bool above, double elevationSine, double rangeKm,
                                          const TMoment& moment) const {
  const TState& s = state_;
  if (s.recording) return 0;
  const double speedKmS = SpeedBoundKmS(pos_, vel_);
  // A flare search follows the panels through the shadow too, to count what it takes.
  const double darkSeconds =
      conditions_.illuminationRequired && conditions_.kind == TSearchKind::Passes
          ? SecondsSurelyDark(pos_, moment.sun, speedKmS)
          : 0.0;
  if (s.second < s.approachEnd) {
    // Approaching: a sample below the minimum or in the dark changes nothing.
    double seconds = darkSeconds;
    if (!above) {
      seconds = std::max(seconds, SecondsSurelyBelow(elevationSine, rangeKm, speedKmS,
                                                     conditions_.minSatElevationDeg));
    }
    return std::min(static_cast<int64_t>(seconds), s.approachEnd - 1 - s.second);
  }
  // Up but in the dark: nothing changes until it either goes down or comes into sunlight.
  if (!above) return 0;
  return static_cast<int64_t>(std::min(
      darkSeconds,
      SecondsSurelyAbove(elevationSine, rangeKm, speedKmS, conditions_.minSatElevationDeg)));
}

bool TSatelliteWalk::MayBeginDaylight(bool above, const TMoment& moment) const {
  const TState& s = state_;
  const double maxSunDeg = conditions_.maxSunElevationDeg;
  // A flare's Sun condition is judged at its own second, and the panels' history through the
  // daylight decides where the minima after dusk lie: a flare search walks daylight in full.
  return conditions_.kind == TSearchKind::Passes && above && s.second >= s.approachEnd &&
         s.second >= daylightFrom_ && moment.sunElevationDeg > maxSunDeg &&
         (!s.recording || s.culmination.sunElevationDeg > maxSunDeg);
}

void TSatelliteWalk::StepInDaylight(int64_t stop, double elevationDeg, double elevationSine,
                                    double rangeKm, const TMoment& moment, TMomentSource& moments) {
  TState& s = state_;
  const double maxSunDeg = conditions_.maxSunElevationDeg;
  if (elevationDeg < conditions_.minSatElevationDeg) {
    // Down: every culmination since the stretch began had the Sun above its limit.
    daylight_ = false;
    EndPass();
    s.inPass = false;
    s.recording = false;
    s.step = conditions_.coarseStepSeconds;
    s.second += s.step;
    return;
  }
  if (!(moment.sunElevationDeg > maxSunDeg)) {
    // Dusk came first: a pass may culminate after it, so walk the stretch again in full.
    const int64_t dusk = s.second;
    state_ = daylightStart_;
    daylight_ = false;
    daylightFrom_ = dusk + 1;
    return;
  }
  const bool above = elevationDeg > conditions_.minSatElevationDeg;
  // A pass that has not yet had a sunlit second is looked at until it has one: whether it had
  // any decides why it is left out.
  if (above && !s.passLit && EclipseState(pos_, moment.sun) == kSunlit) s.passLit = true;
  int64_t ahead = 0;
  if (above && elevationSine > -1.0) {
    const double speedKmS = SpeedBoundKmS(pos_, vel_);
    ahead = static_cast<int64_t>(
        SecondsSurelyAbove(elevationSine, rangeKm, speedKmS, conditions_.minSatElevationDeg));
    if (!s.passLit) {
      ahead = std::min(ahead, static_cast<int64_t>(SecondsSurelyDark(pos_, moment.sun, speedKmS)));
    }
    ahead = std::min(ahead, std::min(stop, lastSecond_ + 1) - 1 - s.second);
  }
  for (int64_t k = 1; k <= ahead; ++k) {
    if (!(moments.At(s.second + k).sunElevationDeg > maxSunDeg)) {
      ahead = k - 1;
      break;
    }
  }
  s.second += 1 + ahead;
}

void TSatelliteWalk::RecordPassSample(bool meets, double elevationDeg, const TMoment& moment,
                                      TMomentSource& moments, std::vector<TWalkEvent>& found) {
  TState& s = state_;
  if (!s.recording) {
    if (!meets) return;
    s.recording = true;
    s.passLit = true;
    s.rise = TKeptSample{s.second, elevationDeg, moment.sunElevationDeg, pos_, vel_};
    s.culmination = s.rise;
    s.lastMet = s.rise;
    return;
  }
  if (meets) {
    s.lastMet = TKeptSample{s.second, elevationDeg, moment.sunElevationDeg, pos_, vel_};
    if (elevationDeg > s.culmination.elevationDeg) s.culmination = s.lastMet;
    return;
  }
  // The pass ends at the first sample that fails a condition; the set is the last one that
  // met them all. The Sun condition is judged at the culmination.
  s.recording = false;
  if (s.culmination.sunElevationDeg > conditions_.maxSunElevationDeg) return;
  TPassEvent event;
  event.rise = RowSample(moments, s.rise);
  event.culmination = RowSample(moments, s.culmination);
  event.set = RowSample(moments, s.lastMet);
  const int64_t seconds = s.lastMet.second - s.rise.second;
  if (conditions_.illuminationRequired) {
    event.sunlitSeconds = seconds;
  } else {
    // A copy: the deep-space model's integrator moves with every moment asked.
    TPropagator light = propagator_;
    event.sunlitSeconds = SunlitSeconds(light, moments.At(s.rise.second).jd, seconds);
  }
  s.passReported = true;
  found.push_back(event);
}

void TSatelliteWalk::EndPass() {
  TState& s = state_;
  s.shadowScanning = false;
  if (conditions_.kind != TSearchKind::Passes || s.passReported) return;
  ++(s.passLit ? s.leftOut.sunTooHigh : s.leftOut.inShadow);
}

void TSatelliteWalk::CountShadowReflections(bool inShadow, const TMoment& moment,
                                            TMomentSource& moments) {
  TState& s = state_;
  if (!s.shadowScanning && !inShadow) return;
  const TPanelAngles angles = AnglesAt(pos_, vel_, moment);
  if (!s.shadowScanning) {
    s.shadowScanning = true;
    s.shadowScan.Start(AnglesBefore(moments, angles));
  }
  // As in a recording, a minimum is the previous sample, which lay in the shadow.
  const std::array<bool, 3> minimum = s.shadowScan.Next(angles);
  for (size_t panel = 0; panel < minimum.size(); ++panel) {
    if (minimum[panel] && s.shadowPrevious[panel] <= conditions_.maxFlareAngleDeg) {
      ++s.leftOut.inShadow;
    }
  }
  s.shadowPrevious = angles;
  if (!inShadow) s.shadowScanning = false;
}

TPanelAngles TSatelliteWalk::AnglesAt(const TVector& pos, const TVector& vel,
                                      const TMoment& moment) const {
  const TLookAngles sunRaDec =
      moment.hasSunRaDec ? moment.sunRaDec
                         : TopocentricRaDec(moment.sun, TVector{}, conditions_.observer, moment.jd);
  return PanelAnglesDeg(pos, vel, moment.frame.pos, moment.jd, conditions_.observer, sunRaDec);
}

TPanelAngles TSatelliteWalk::AnglesBefore(TMomentSource& moments,
                                          const TPanelAngles& fallback) const {
  // A copy, so the walk's own propagator sees the same moments whatever recordings began: a
  // deep-space model's integrator moves with every call.
  TPropagator probe = propagator_;
  const TMoment before = moments.At(state_.second - 1);
  TVector pos;
  TVector vel;
  if (probe.Propagate(pos, vel, before.jd) != TPropagationStatus::Ok) return fallback;
  TPropagator::ScaleStateToKm(pos, vel);
  return AnglesAt(pos, vel, before);
}

void TSatelliteWalk::RecordFlareSample(bool meets, double elevationDeg, const TMoment& moment,
                                       TMomentSource& moments, std::vector<TWalkEvent>& found) {
  TState& s = state_;
  if (!s.recording && !meets) return;
  TKeptSample sample{s.second, elevationDeg, moment.sunElevationDeg,
                     pos_,     vel_,         AnglesAt(pos_, vel_, moment)};
  if (!s.recording) {
    s.recording = true;
    s.scan.Start(AnglesBefore(moments, sample.anglesDeg));
  }
  const std::array<bool, 3> minimum = s.scan.Next(sample.anglesDeg);
  // A minimum is always the previous sample, which met every condition: the first sample of
  // a recording can only begin a fall.
  const TKeptSample& flare = s.previous;
  for (size_t panel = 0; panel < minimum.size(); ++panel) {
    if (!minimum[panel] || flare.anglesDeg[panel] > conditions_.maxFlareAngleDeg) continue;
    if (flare.sunElevationDeg > conditions_.maxSunElevationDeg) {
      ++s.leftOut.sunTooHigh;
      continue;
    }
    TFlareEvent event;
    event.sample = RowSample(moments, flare);
    event.anglesDeg = flare.anglesDeg;
    event.panel = static_cast<uint8_t>(panel + 1);
    event.direction = DirectionLetter(flare.vel.z);
    found.emplace_back(event);
  }
  s.previous = sample;
  // The sample that fails a condition still shows whether the one before was a minimum.
  if (!meets) s.recording = false;
}

}  // namespace zen
