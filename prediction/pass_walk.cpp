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

TSatelliteWalk::TSatelliteWalk(const TTleLines& lines, const TWalkConditions& conditions,
                               int64_t lastSecond)
    : conditions_(conditions), lastSecond_(lastSecond), step_(conditions.coarseStepSeconds) {
  try {
    propagator_.LoadElements(lines);
    usable_ = true;
  } catch (const TElementError&) {
    usable_ = false;
  }
}

void TSatelliteWalk::WalkUntil(int64_t stop, TMomentSource& moments,
                               std::vector<TPassEvent>& found) {
  while (second_ < stop && second_ <= lastSecond_) Step(moments, found);
}

bool TSatelliteWalk::Elevation(const TMoment& moment, double& elevationDeg) {
  elevationDeg = kNotUpDeg;
  if (!usable_) return false;
  if (propagator_.Propagate(pos_, vel_, moment.jd) != TPropagationStatus::Ok) return false;
  TPropagator::ScaleStateToKm(pos_, vel_);
  elevationDeg = Degrees(ElevationInFrame(moment.frame, pos_));
  return true;
}

TPassSample TSatelliteWalk::FullSample(const TMoment& moment, double elevationDeg) const {
  const TLookAngles look = LookAnglesInFrame(moment.frame, pos_, vel_);
  TPassSample sample;
  sample.second = second_;
  sample.azimuthDeg = Degrees(look.first);
  sample.elevationDeg = elevationDeg;
  sample.rangeKm = look.third;
  sample.sunAzimuthDeg = moment.sunAzimuthDeg;
  sample.sunElevationDeg = moment.sunElevationDeg;
  return sample;
}

void TSatelliteWalk::Step(TMomentSource& moments, std::vector<TPassEvent>& found) {
  const TMoment& moment = moments.At(second_);
  double elevationDeg = kNotUpDeg;
  Elevation(moment, elevationDeg);
  const bool above = elevationDeg > conditions_.minSatElevationDeg;

  if (!inPass_) {
    if (above) {
      // Found up at a coarse sample: go back one coarse step and approach the rise, which
      // may lie anywhere in between, one second at a time.
      inPass_ = true;
      approachEnd_ = second_;
      second_ -= step_;
      step_ = 1;
    }
    second_ += step_;
    return;
  }

  bool meets = above;
  if (meets && conditions_.illuminationRequired) meets = EclipseState(pos_, moment.sun) == kSunlit;
  RecordPassSample(meets, moment, elevationDeg, found);

  if (elevationDeg < conditions_.minSatElevationDeg && second_ >= approachEnd_) {
    inPass_ = false;
    recording_ = false;
    step_ = conditions_.coarseStepSeconds;
  }
  second_ += step_;
}

void TSatelliteWalk::RecordPassSample(bool meets, const TMoment& moment, double elevationDeg,
                                      std::vector<TPassEvent>& found) {
  if (!recording_) {
    if (!meets) return;
    recording_ = true;
    current_.rise = FullSample(moment, elevationDeg);
    current_.culmination = current_.rise;
    current_.set = current_.rise;
    return;
  }
  if (!meets) {
    // The pass ends at the first sample that fails a condition; the set is the last one that
    // met them all. The Sun condition is judged at the culmination.
    recording_ = false;
    if (!(current_.culmination.sunElevationDeg > conditions_.maxSunElevationDeg)) {
      found.push_back(current_);
    }
    return;
  }
  current_.set = FullSample(moment, elevationDeg);
  if (elevationDeg > current_.culmination.elevationDeg) current_.culmination = current_.set;
}

}  // namespace zen
