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

// Seconds per kilometre of a lane's position error by which a count of seconds from its state
// may differ from the one-satellite path's: the bounds move by the error over the speed (at
// least half a kilometre a second with the site's), for the elevation and for the shadow's
// edge, and the doubling leaves room.
constexpr double kLaneSecondsPerKm = 10.0;

// Whether a count of seconds truncates to the same whole number whatever the lanes' error.
bool WholeSecondsCertain(double seconds, double errorSeconds) {
  return std::trunc(seconds - errorSeconds) == std::trunc(seconds + errorSeconds);
}

// Above this geometric elevation refraction changes smoothly and by less than the elevation.
constexpr double kSmoothRefractionDeg = 2.0;

// Bounds (degrees) of the refracted elevation of a target whose geometric elevation lies within
// errorRad of geometricRad; refractedDeg is Degrees(RefractedElevation(geometricRad)). Near the
// horizon refraction stops where it would lift a target above it, and below its floor: the
// refracted elevation jumps there, but never falls as the geometric one rises, so its values
// at the ends of the interval bound it.
void RefractedBounds(double geometricRad, double refractedDeg, double errorRad, double& lowDeg,
                     double& highDeg) {
  if (Degrees(geometricRad) > kSmoothRefractionDeg) {
    const double deg = refractedDeg;
    lowDeg = deg - 2.0 * Degrees(errorRad);
    highDeg = deg + 2.0 * Degrees(errorRad);
    return;
  }
  constexpr double kRoundingDeg = 1.0e-9;
  lowDeg = Degrees(RefractedElevation(geometricRad - errorRad)) - kRoundingDeg;
  highDeg = Degrees(RefractedElevation(geometricRad + errorRad)) + kRoundingDeg;
}

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
  return MomentAt(SiteTermsOf(observer), jd, withSunRaDec);
}

TMoment MomentAt(const TSiteTerms& site, double jd, bool withSunRaDec) {
  TMoment moment;
  moment.jd = jd;
  moment.frame = ObserverFrameAt(site, jd);
  moment.sun = SunPosition(jd);
  // Every sample a walk takes asks the Sun's elevation; only a reported one its azimuth.
  moment.sunElevationDeg = Degrees(ElevationInFrame(moment.frame, moment.sun));
  if (withSunRaDec) {
    moment.hasSunRaDec = true;
    moment.sunRaDec =
        RaDecInFrame(moment.frame, LookAnglesInFrame(moment.frame, moment.sun, TVector{}));
  }
  return moment;
}

double SunAzimuthDeg(const TMoment& moment) {
  return Degrees(LookAnglesInFrame(moment.frame, moment.sun, TVector{}).first);
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
    if (conditions.vectorSamples && !propagator_.CurrentElements.UseDeepSpace) {
      // The near-earth model's set-up is what the first propagation would do.
      propagator_.PrepareModel();
      laneable_ = TNearEarthBatch::Fits(propagator_);
    }
  }
}

void TSatelliteWalk::WalkUntil(int64_t stop, TMomentSource& moments,
                               std::vector<TWalkEvent>& found, TWalkLanes* lanes) {
  lanes_ = laneable_ ? lanes : nullptr;
  while (state_.second < stop && state_.second <= lastSecond_) Step(stop, moments, found);
  lanes_ = nullptr;
}

TSatelliteWalk::TLook TSatelliteWalk::ExactLook(const TMoment& moment) {
  fromLanes_ = false;
  TLook look;
  if (usable_ && propagator_.Propagate(pos_, vel_, moment.jd) == TPropagationStatus::Ok) {
    TPropagator::ScaleStateToKm(pos_, vel_);
    look.elevationSine = ElevationSineInFrame(moment.frame, pos_, look.rangeKm);
    look.propagated = true;
  }
  // The exact elevation only where it can matter.
  if (look.propagated && look.elevationSine > surelyBelowSine_) {
    look.elevationDeg = Degrees(RefractedElevation(Geometric(look)));
  }
  return look;
}

bool TSatelliteWalk::LaneLook(TMomentSource& moments, const TMoment& moment, TLook& look) {
  const TState& s = state_;
  TWalkLanes& lanes = *lanes_;
  // A flare search follows the panels at every second above the minimum, from the exact states.
  if (conditions_.kind == TSearchKind::Flares && s.inPass &&
      (s.recording || s.shadowScanning || s.second >= s.approachEnd)) {
    return false;
  }
  const int64_t stride = s.inPass || daylight_ ? 1 : s.step;
  int64_t offset = s.second - lanes.first_;
  if (lanes.owner_ != this || offset < 0 || offset % lanes.stride_ != 0 ||
      static_cast<size_t>(offset / lanes.stride_) >= lanes.held_) {
    if (lanes.owner_ != this) {
      lanes.owner_ = this;
      lanes.loaded_ = 0;
    }
    lanes.held_ = TWalkLanes::kLanes;
    for (; lanes.loaded_ < lanes.held_; ++lanes.loaded_) {
      lanes.batch_.SetLane(lanes.loaded_, propagator_);
    }
    lanes.first_ = s.second;
    lanes.stride_ = stride;
    for (size_t j = 0; j < lanes.held_; ++j) {
      lanes.jd_[j] = moments.JulianAt(s.second + static_cast<int64_t>(j) * stride);
    }
    lanes.batch_.PropagateVector(0, lanes.held_, lanes.jd_.data());
    SightLanes(lanes, moments);
    offset = 0;
  }
  const size_t lane = static_cast<size_t>(offset / lanes.stride_);
  if (!lanes.ok_[lane]) return false;
  const TVector pos = lanes.pos_[lane];
  const TVector vel = lanes.vel_[lane];
  // Far enough above the surface that the one-satellite path cannot call it decayed.
  if (!(pos.w > kEarthRadiusKm + 1.0)) return false;
  TLook laneLook;
  laneLook.propagated = true;
  laneMarginRad_ = std::numeric_limits<double>::quiet_NaN();
  if (lanes.sighted_[lane]) {
    // The vector units' sine, arc tangent and refraction lie within about 1e-12 rad of the
    // one-target functions'. Every decision from a lane leaves room for the lanes' position
    // error: errorKm_ over the range for the line of sight, over the radius for the shadow's
    // edge, at least 3e-9 rad for any near-earth orbit (a range below 32,000 km), and the
    // seconds of a bound by errorKm_ times kLaneSecondsPerKm. The vector units' part is a
    // thousandth of that room, so they decide as the scalar look of the same state would.
    const TLaneSightBlock& sight = lanes.sights_;
    laneLook.elevationSine = sight.elevationSine[lane];
    laneLook.rangeKm = sight.range[lane];
    laneLook.geometricRad = sight.geometric[lane];
    laneMarginRad_ = sight.shadowMargin[lane];
  } else {
    laneLook.elevationSine = ElevationSineInFrame(moment.frame, pos, laneLook.rangeKm);
  }
  if (laneLook.elevationSine > surelyBelowSine_) {
    const double geometric = Geometric(laneLook);
    laneLook.elevationDeg = lanes.sighted_[lane] ? lanes.sights_.elevationDeg[lane]
                                                 : Degrees(RefractedElevation(geometric));
    // The line of sight turns by at most the position's error over the range.
    const double errorRad = 1.5 * lanes.errorKm_ / std::max(laneLook.rangeKm, 1.0);
    RefractedBounds(geometric, laneLook.elevationDeg, errorRad, laneLowDeg_, laneHighDeg_);
  } else {
    laneLowDeg_ = kNotUpDeg;
    laneHighDeg_ = kNotUpDeg;
  }
  const TVector keptPos = pos_;
  const TVector keptVel = vel_;
  pos_ = pos;
  vel_ = vel;
  if (!Certain(laneLook, moment)) {
    pos_ = keptPos;
    vel_ = keptVel;
    return false;
  }
  fromLanes_ = true;
  look = laneLook;
  return true;
}

void TSatelliteWalk::SightLanes(TWalkLanes& lanes, TMomentSource& moments) const {
  TLaneSightBlock& sight = lanes.sights_;
  for (size_t j = 0; j < lanes.held_; ++j) {
    TVector& pos = lanes.pos_[j];
    TVector& vel = lanes.vel_[j];
    lanes.ok_[j] = lanes.batch_.Result(j, pos, vel) == TPropagationStatus::Ok;
    lanes.sighted_[j] = false;
    if (lanes.ok_[j]) {
      TPropagator::ScaleStateToKm(pos, vel);
      if (lanes.departureKm_ != 0.0) {
        pos.x += lanes.departureKm_;
        VecMagnitude(pos);
      }
    }
    const TMoment* moment = moments.Held(lanes.first_ + static_cast<int64_t>(j) * lanes.stride_);
    if (lanes.ok_[j] && moment != nullptr && std::isfinite(pos.w)) {
      lanes.sighted_[j] = true;
      sight.x[j] = pos.x;
      sight.y[j] = pos.y;
      sight.z[j] = pos.z;
      SetLaneMoment(sight, j, moment->frame, moment->sun);
    } else {
      // A harmless target in the lane's place, a kilometre above a site under a Sun far away;
      // the lane is looked at one target at a time.
      TObserverFrame site;
      site.pos.x = kEarthRadiusKm;
      site.cosLatitude = 1.0;
      site.cosTheta = 1.0;
      sight.x[j] = kEarthRadiusKm + 1.0;
      sight.y[j] = 0.0;
      sight.z[j] = 0.0;
      SetLaneMoment(sight, j, site, TVector{kAstronomicalUnitKm, 0.0, 0.0, kAstronomicalUnitKm});
    }
  }
  LaneSights(sight, lanes.held_);
}

bool TSatelliteWalk::Certain(TLook& look, const TMoment& moment) {
  const TState& s = state_;
  laneSunlit_ = -1;
  laneBounds_ = TBounds{};
  const double errorKm = lanes_->errorKm_;
  const double errorSeconds = kLaneSecondsPerKm * errorKm;
  const auto wholeSecondsCertain = [errorSeconds](double seconds) {
    return WholeSecondsCertain(seconds, errorSeconds);
  };
  if (!(look.rangeKm > 1.0)) return false;
  // The line of sight turns by at most this much with the lanes' error; refraction at most
  // doubles it.
  const double sightRad = errorKm / look.rangeKm;
  if (std::abs(look.elevationSine - surelyBelowSine_) <= sightRad) return false;
  const double minDeg = conditions_.minSatElevationDeg;
  // Whether the sample lies above the minimum, or below it, whatever the error.
  const bool above = laneLowDeg_ > minDeg;
  const bool below = laneHighDeg_ < minDeg;
  if (!above && !below) return false;
  // The nadir turns by the position's error over the radius, the earth's semi-diameter changes
  // by R / (r sqrt(r^2 - R^2)) of it, the Sun's direction and size far less.
  const double speedKmS = SpeedBoundKmS(pos_, vel_);
  // The shadow's margin of the state, worked out once for every bound that needs it.
  bool hasMargin = false;
  double marginRad = 0.0;
  const auto shadowMargin = [&] {
    if (!hasMargin) {
      marginRad =
          std::isnan(laneMarginRad_) ? ShadowEdgeMarginRad(pos_, moment.sun) : laneMarginRad_;
      hasMargin = true;
    }
    return marginRad;
  };
  const auto darkSeconds = [&] {
    return SecondsSurelyDarkOfMargin(shadowMargin(), pos_, speedKmS);
  };
  const auto sunlitCertain = [&] {
    // Sunlit through a stretch of seconds a lane's state showed earlier.
    if (s.second >= laneSunlitFrom_ && s.second <= laneSunlitUntil_) {
      laneSunlit_ = 1;
      return true;
    }
    const double r = pos_.w;
    const double edgeRad =
        errorKm * (1.0 / r + kEarthRadiusKm / (r * std::sqrt(r * r - kEarthRadiusKm * kEarthRadiusKm)));
    const double margin = shadowMargin();
    if (!(std::abs(margin) > 2.0 * edgeRad)) return false;
    laneSunlit_ = margin > 0.0 ? 1 : 0;
    if (laneSunlit_ == 1 && mayLeaveOut_) {
      laneSunlitFrom_ = s.second;
      laneSunlitUntil_ = s.second + static_cast<int64_t>(SecondsSurelySunlitOfMargin(
                                        margin, pos_, speedKmS, 2.0 * edgeRad));
    }
    return true;
  };
  if (daylight_) {
    if (below || !(moment.sunElevationDeg > conditions_.maxSunElevationDeg)) return true;
    if (above && !s.passLit && !sunlitCertain()) return false;
    if (!above) return true;
    laneBounds_.above =
        SecondsSurelyAboveElevation(Geometric(look), look.rangeKm, speedKmS, minDeg);
    if (!wholeSecondsCertain(laneBounds_.above)) return false;
    if (s.passLit) return true;
    laneBounds_.dark = darkSeconds();
    return wholeSecondsCertain(laneBounds_.dark);
  }
  if (!s.inPass) {
    if (above || !mayLeaveOut_) return true;
    const double seconds =
        SecondsSurelyBelowElevation(Geometric(look), look.rangeKm, speedKmS, minDeg);
    laneBounds_.below = seconds;
    return static_cast<int64_t>(seconds - errorSeconds) / s.step ==
           static_cast<int64_t>(seconds + errorSeconds) / s.step;
  }
  if (conditions_.kind == TSearchKind::Flares && (above || s.recording || s.shadowScanning)) {
    return false;
  }
  if (above && conditions_.illuminationRequired && !sunlitCertain()) return false;
  // The pass ends: nothing more taken from the state.
  if (below && s.second >= s.approachEnd) return true;
  // A sample that meets the conditions is recorded, and a recording leaves nothing out.
  const bool meets = above && (!conditions_.illuminationRequired || laneSunlit_ == 1);
  if (!mayLeaveOut_ || meets) return true;
  // The seconds IdleSecondsInPass may count (whatever the recording step makes of the state),
  // each truncated alike.
  if (conditions_.illuminationRequired && conditions_.kind == TSearchKind::Passes) {
    laneBounds_.dark = darkSeconds();
    if (!wholeSecondsCertain(laneBounds_.dark)) return false;
  }
  if (s.second < s.approachEnd) {
    if (above) return true;
    laneBounds_.below =
        SecondsSurelyBelowElevation(Geometric(look), look.rangeKm, speedKmS, minDeg);
    return wholeSecondsCertain(laneBounds_.below);
  }
  if (!above) return true;
  laneBounds_.above = SecondsSurelyAboveElevation(Geometric(look), look.rangeKm, speedKmS, minDeg);
  return wholeSecondsCertain(laneBounds_.above);
}

TSatelliteWalk::TKeptSample TSatelliteWalk::KeptSample(double elevationDeg,
                                                       const TMoment& moment) const {
  TKeptSample kept{state_.second, elevationDeg, moment.sunElevationDeg, pos_, vel_};
  kept.exact = !fromLanes_;
  kept.lowDeg = fromLanes_ ? laneLowDeg_ : elevationDeg;
  kept.highDeg = fromLanes_ ? laneHighDeg_ : elevationDeg;
  return kept;
}

bool TSatelliteWalk::Sunlit(const TMoment& moment) const {
  if (fromLanes_ && laneSunlit_ >= 0) return laneSunlit_ == 1;
  return EclipseState(pos_, moment.sun) == kSunlit;
}

void TSatelliteWalk::MakeExact(TKeptSample& kept, TMomentSource& moments) const {
  if (kept.exact) return;
  // A copy: the propagator of a near-earth set is the same whatever moments it was asked.
  TPropagator exact = propagator_;
  const TMoment moment = moments.At(kept.second);
  TVector pos;
  TVector vel;
  kept.exact = true;
  if (exact.Propagate(pos, vel, moment.jd) != TPropagationStatus::Ok) return;

  TPropagator::ScaleStateToKm(pos, vel);
  double rangeKm = 0.0;
  kept.elevationDeg =
      Degrees(RefractedElevation(ArcSin(ElevationSineInFrame(moment.frame, pos, rangeKm))));
  kept.lowDeg = kept.elevationDeg;
  kept.highDeg = kept.elevationDeg;
  kept.pos = pos;
  kept.vel = vel;
}

bool TSatelliteWalk::AboveCulmination(double& elevationDeg, const TMoment& moment,
                                      TMomentSource& moments) {
  TKeptSample& culmination = state_.culmination;
  if (!fromLanes_ && culmination.exact) return elevationDeg > culmination.elevationDeg;
  // The one-satellite path's elevations lie within the bounds.
  const double lowDeg = fromLanes_ ? laneLowDeg_ : elevationDeg;
  const double highDeg = fromLanes_ ? laneHighDeg_ : elevationDeg;
  if (lowDeg > culmination.highDeg) return true;
  if (highDeg <= culmination.lowDeg) return false;
  MakeExact(culmination, moments);
  if (fromLanes_) {
    const TLook look = ExactLook(moment);
    elevationDeg = look.elevationDeg;
  }
  return elevationDeg > culmination.elevationDeg;
}

TPassSample TSatelliteWalk::RowSample(TMomentSource& moments, const TKeptSample& kept) const {
  const TMoment& moment = moments.At(kept.second);
  const TLookAngles look = LookAnglesInFrame(moment.frame, kept.pos, kept.vel);
  TPassSample sample;
  sample.second = kept.second;
  sample.azimuthDeg = Degrees(look.first);
  sample.elevationDeg = kept.elevationDeg;
  sample.rangeKm = look.third;
  sample.sunAzimuthDeg = SunAzimuthDeg(moment);
  sample.sunElevationDeg = moment.sunElevationDeg;
  return sample;
}

void TSatelliteWalk::Step(int64_t stop, TMomentSource& moments, std::vector<TWalkEvent>& found) {
  TState& s = state_;
  // A copy: looking up another second may replace a moment computed on the spot.
  const TMoment moment = moments.At(s.second);
  TLook look;
  if (lanes_ == nullptr || !LaneLook(moments, moment, look)) look = ExactLook(moment);
  const bool propagated = look.propagated;
  double elevationDeg = look.elevationDeg;
  const bool above = elevationDeg > conditions_.minSatElevationDeg;
  const bool mayLeaveOut = mayLeaveOut_ && propagated;

  if (daylight_) {
    StepInDaylight(stop, look, moment, moments);
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
    const int64_t skipped = mayLeaveOut ? SecondsBelow(look) / s.step : 0;
    s.second += s.step * (1 + skipped);
    return;
  }

  bool meets = above;
  if (meets && conditions_.illuminationRequired) meets = Sunlit(moment);
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
  const int64_t idle = mayLeaveOut ? IdleSecondsInPass(above, look, moment) : 0;
  s.second += s.step + idle;
}

int64_t TSatelliteWalk::SecondsBelow(TLook& look) const {
  return static_cast<int64_t>(Known(laneBounds_.below, [&] {
    return SecondsSurelyBelowElevation(Geometric(look), look.rangeKm, SpeedBoundKmS(pos_, vel_),
                                       conditions_.minSatElevationDeg);
  }));
}

int64_t TSatelliteWalk::IdleSecondsInPass(bool above, TLook& look, const TMoment& moment) const {
  const TState& s = state_;
  if (s.recording) return 0;
  const double speedKmS = SpeedBoundKmS(pos_, vel_);
  // A flare search follows the panels through the shadow too, to count what it takes.
  const double darkSeconds =
      conditions_.illuminationRequired && conditions_.kind == TSearchKind::Passes
          ? Known(laneBounds_.dark, [&] { return SecondsSurelyDark(pos_, moment.sun, speedKmS); })
          : 0.0;
  if (s.second < s.approachEnd) {
    // Approaching: a sample below the minimum or in the dark changes nothing.
    double seconds = darkSeconds;
    if (!above) {
      seconds =
          std::max(seconds, Known(laneBounds_.below, [&] {
                     return SecondsSurelyBelowElevation(Geometric(look), look.rangeKm, speedKmS,
                                                        conditions_.minSatElevationDeg);
                   }));
    }
    return std::min(static_cast<int64_t>(seconds), s.approachEnd - 1 - s.second);
  }
  // Up but in the dark: nothing changes until it either goes down or comes into sunlight.
  if (!above) return 0;
  return static_cast<int64_t>(std::min(darkSeconds, Known(laneBounds_.above, [&] {
                                         return SecondsSurelyAboveElevation(
                                             Geometric(look), look.rangeKm, speedKmS,
                                             conditions_.minSatElevationDeg);
                                       })));
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

void TSatelliteWalk::StepInDaylight(int64_t stop, TLook& look, const TMoment& moment,
                                    TMomentSource& moments) {
  TState& s = state_;
  const double elevationDeg = look.elevationDeg;
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
  if (above && !s.passLit && Sunlit(moment)) s.passLit = true;
  int64_t ahead = 0;
  if (above && look.elevationSine > -1.0) {
    const double speedKmS = SpeedBoundKmS(pos_, vel_);
    ahead = static_cast<int64_t>(Known(laneBounds_.above, [&] {
      return SecondsSurelyAboveElevation(Geometric(look), look.rangeKm, speedKmS,
                                         conditions_.minSatElevationDeg);
    }));
    if (!s.passLit) {
      ahead = std::min(ahead, static_cast<int64_t>(Known(laneBounds_.dark, [&] {
                                return SecondsSurelyDark(pos_, moment.sun, speedKmS);
                              })));
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
    s.rise = KeptSample(elevationDeg, moment);
    s.culmination = s.rise;
    s.lastMet = s.rise;
    return;
  }
  if (meets) {
    const bool higher = AboveCulmination(elevationDeg, moment, moments);
    s.lastMet = KeptSample(elevationDeg, moment);
    if (higher) s.culmination = s.lastMet;
    return;
  }
  // The pass ends at the first sample that fails a condition; the set is the last one that
  // met them all. The Sun condition is judged at the culmination.
  s.recording = false;
  if (s.culmination.sunElevationDeg > conditions_.maxSunElevationDeg) return;
  MakeExact(s.rise, moments);
  MakeExact(s.culmination, moments);
  MakeExact(s.lastMet, moments);
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
