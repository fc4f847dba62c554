// One satellite's walk through a search period.
#include "prediction/pass_walk.h"

#include <algorithm>
#include <cmath>

#include "core/sun.h"

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

TMoment MomentAt(const TGeodetic& observer, double jd) {
  TMoment moment;
  moment.jd = jd;
  moment.frame = ObserverFrameAt(observer, jd);
  moment.sun = SunPosition(jd);
  const TLookAngles sunLook = LookAnglesInFrame(moment.frame, moment.sun, TVector{});
  moment.sunAzimuthDeg = Degrees(sunLook.first);
  moment.sunElevationDeg = Degrees(sunLook.second);
  return moment;
}

TWalkConditions ConditionsOfRequest(const TSearchRequest& request) {
  TWalkConditions conditions;
  conditions.minSatElevationDeg = request.minSatElevationDeg;
  conditions.maxSunElevationDeg = request.maxSunElevationDeg;
  conditions.illuminationRequired = request.illuminationRequired;
  conditions.coarseStepSeconds = CoarseStepSeconds(request.level);
  return conditions;
}

double SecondsSurelyBelow(double elevationSine, double rangeKm, const TVector& posKm,
                          const TVector& velKmS, double limitDeg) {
  // Refraction lifts an elevation by less than this (0.74 degrees at a geometric -2 degrees,
  // less above; nothing below).
  constexpr double kRefractionBoundDeg = 1.0;
  // Gravity cannot speed a satellite up by more than falling from its radius to this one;
  // the margins cover the models' departures from a Kepler orbit.
  constexpr double kGravityKm3PerS2 = 398600.8;
  constexpr double kLowestRadiusKm = 6278.0;
  constexpr double kSpeedFactor = 1.05;
  constexpr double kSpeedMarginKmS = 0.05;
  constexpr double kObserverSpeedKmS = 0.5;  // the site's own speed, at most 0.47 km/s
  constexpr double kLongestSkipSeconds = 86400.0;

  const double gapRad = Radians(limitDeg - kRefractionBoundDeg) - ArcSin(elevationSine);
  if (!(gapRad > 0.0) || !(posKm.w > kLowestRadiusKm) || !(rangeKm > 0.0)) return 0.0;
  const double speedSq =
      velKmS.w * velKmS.w + 2.0 * kGravityKm3PerS2 * (1.0 / kLowestRadiusKm - 1.0 / posKm.w);
  const double relativeSpeedKmS =
      kSpeedFactor * std::sqrt(speedSq) + kSpeedMarginKmS + kObserverSpeedKmS;
  // Moving at most d = speed * t, the line of sight turns by at most asin(d / range); the
  // zenith turns with the earth. The first guess ignores the earth's turn, the second takes
  // it off the gap for the longer first time, so it is on the safe side.
  const double first = rangeKm * std::sin(std::min(gapRad, kHalfPi)) / relativeSpeedKmS;
  const double turnRad = gapRad - kEarthRotationRadPerS * first;
  if (!(turnRad > 0.0)) return 0.0;
  const double seconds = rangeKm * std::sin(std::min(turnRad, kHalfPi)) / relativeSpeedKmS;
  return std::min(seconds, kLongestSkipSeconds);
}

TSatelliteWalk::TSatelliteWalk(const TTleLines& lines, const TWalkConditions& conditions,
                               int64_t lastSecond)
    : conditions_(conditions),
      lastSecond_(lastSecond),
      surelyBelowSine_(std::sin(Radians(conditions.minSatElevationDeg - 1.0))),
      step_(conditions.coarseStepSeconds) {
  try {
    propagator_.LoadElements(lines);
    usable_ = true;
    mayskip_ = conditions.skipSurelyBelow && !propagator_.CurrentElements.UseDeepSpace;
  } catch (const TElementError&) {
    usable_ = false;
  }
}

void TSatelliteWalk::WalkUntil(int64_t stop, TMomentSource& moments,
                               std::vector<TPassEvent>& found) {
  while (second_ < stop && second_ <= lastSecond_) Step(moments, found);
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

int64_t TSatelliteWalk::SurelyBelowSamples(bool propagated, double elevationSine,
                                           double rangeKm) const {
  if (!mayskip_ || !propagated) return 0;
  return static_cast<int64_t>(
      SecondsSurelyBelow(elevationSine, rangeKm, pos_, vel_, conditions_.minSatElevationDeg));
}

void TSatelliteWalk::Step(TMomentSource& moments, std::vector<TPassEvent>& found) {
  const TMoment& moment = moments.At(second_);
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

  if (!inPass_) {
    if (above) {
      // Found up at a coarse sample: go back one coarse step and approach the rise, which
      // may lie anywhere in between, one second at a time.
      inPass_ = true;
      approachEnd_ = second_;
      second_ -= step_ - 1;
      step_ = 1;
      return;
    }
    const int64_t skipped = SurelyBelowSamples(propagated, elevationSine, rangeKm) / step_;
    second_ += step_ * (1 + skipped);
    return;
  }

  bool meets = above;
  if (meets && conditions_.illuminationRequired) meets = EclipseState(pos_, moment.sun) == kSunlit;
  RecordPassSample(meets, elevationDeg, moments, found);

  if (elevationDeg < conditions_.minSatElevationDeg && second_ >= approachEnd_) {
    inPass_ = false;
    recording_ = false;
    step_ = conditions_.coarseStepSeconds;
  } else if (!above && !recording_ && second_ < approachEnd_) {
    // Still approaching: samples surely below the minimum before the one that found the
    // satellite up change nothing.
    second_ += std::min(SurelyBelowSamples(propagated, elevationSine, rangeKm),
                        approachEnd_ - 1 - second_);
  }
  second_ += step_;
}

void TSatelliteWalk::RecordPassSample(bool meets, double elevationDeg, TMomentSource& moments,
                                      std::vector<TPassEvent>& found) {
  if (!recording_) {
    if (!meets) return;
    recording_ = true;
    rise_ = TKeptSample{second_, elevationDeg, pos_, vel_};
    culmination_ = rise_;
    lastMet_ = rise_;
    return;
  }
  if (meets) {
    lastMet_ = TKeptSample{second_, elevationDeg, pos_, vel_};
    if (elevationDeg > culmination_.elevationDeg) culmination_ = lastMet_;
    return;
  }
  // The pass ends at the first sample that fails a condition; the set is the last one that
  // met them all. The Sun condition is judged at the culmination.
  recording_ = false;
  TPassEvent event;
  event.culmination = RowSample(moments, culmination_);
  if (event.culmination.sunElevationDeg > conditions_.maxSunElevationDeg) return;
  event.rise = RowSample(moments, rise_);
  event.set = RowSample(moments, lastMet_);
  found.push_back(event);
}

}  // namespace zen
