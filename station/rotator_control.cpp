// When and where to move the rotator: pre-positioning before a pass, following it, parking after.
#include "station/rotator_control.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zen::station {

namespace {

constexpr double kSecondsPerDay = 86400.0;
// The path is chosen from looks this far apart; the azimuth moves a few degrees at most between
// two of them except right under the zenith.
constexpr double kSampleSeconds = 2.0;
// A long pass is sampled more coarsely instead of without end.
constexpr double kMostSamples = 5000.0;
// How long ahead the path of a pass that does not set within its search looks.
constexpr double kOpenPassDays = 1.0;
// Half a millisecond: the clock's Julian dates carry rounding of this order.
constexpr double kClockSlackSeconds = 5e-4;

// Two windows of one pass: a pass searched again (new elements, a search from inside it) moves
// by seconds, never off itself.
bool Overlap(const TPassWindow& pass, double riseJd, double setJd) {
  return pass.riseJd <= setJd && pass.setJd >= riseJd;
}

// Negative or not a number becomes 0.
double NotNegative(double value) {
  return value > 0.0 ? value : 0.0;
}

double AimDistanceDeg(const TAim& a, const TAim& b) {
  return std::max(std::fabs(a.azDeg - b.azDeg), std::fabs(a.elDeg - b.elDeg));
}

}  // namespace

TRotatorControl::TRotatorControl(TRotatorSettings settings) : settings_(settings) {
  settings_.toleranceDeg = NotNegative(settings_.toleranceDeg);
  settings_.cycleSeconds = NotNegative(settings_.cycleSeconds);
  settings_.leadSeconds = NotNegative(settings_.leadSeconds);
  if (!std::isfinite(settings_.minElevationDeg)) settings_.minElevationDeg = 0.0;
}

void TRotatorControl::ChoosePath(double nowJd, const TLookAt& lookAt, const TPassWindow& pass) {
  // What has already flown by no longer needs to fit.
  const double fromJd = std::isfinite(pass.riseJd) ? std::max(pass.riseJd, nowJd) : nowJd;
  const double toJd = std::isfinite(pass.setJd) ? pass.setJd : fromJd + kOpenPassDays;
  const double spanSeconds = std::max(toJd - fromJd, 0.0) * kSecondsPerDay;
  const double stepSeconds = std::max(kSampleSeconds, spanSeconds / kMostSamples);
  const auto steps = static_cast<int64_t>(std::ceil(spanSeconds / stepSeconds));
  std::vector<TAim> track;
  track.reserve(static_cast<size_t>(steps) + 1);
  for (int64_t k = 0; k <= steps; ++k) {
    const double jd =
        std::min(fromJd + static_cast<double>(k) * stepSeconds / kSecondsPerDay, toJd);
    const TLook look = lookAt(jd);
    if (look.ok) track.push_back({look.azDeg, look.elDeg});
  }
  path_ = TPassPath::Choose(settings_.geometry, track, lastSent_);
  ++pathsChosen_;
  pathRiseJd_ = pass.riseJd;
  pathSetJd_ = pass.setJd;
  // The rotator waits at the horizon where the satellite will come up.
  const double firstAzDeg = track.empty() ? 0.0 : track.front().azDeg;
  const double firstElDeg = fromJd > nowJd || track.empty() ? 0.0 : track.front().elDeg;
  firstAim_ = path_->AimFor(firstAzDeg, firstElDeg);
}

TRotatorMove TRotatorControl::ParkIfDue() const {
  if (!parkDue_) return {};
  const std::optional<TAim> aim = IntoRange(settings_.geometry, settings_.parkAim, lastKnownAzDeg_);
  if (!aim) return {};
  return {TRotatorMove::TKind::Park, *aim};
}

TRotatorMove TRotatorControl::Step(double nowJd, const TLookAt& lookAt, const TPassWindow& pass) {
  if (!std::isfinite(nowJd) || !lookAt) return {};
  if (path_ && nowJd > pathSetJd_) {
    path_.reset();
    finishedRiseJd_ = pathRiseJd_;
    finishedSetJd_ = pathSetJd_;
    parkDue_ = settings_.park;
  }
  const bool passAhead =
      pass.Valid() && nowJd <= pass.setJd && !Overlap(pass, finishedRiseJd_, finishedSetJd_);
  if (!passAhead) return ParkIfDue();
  // Another pass than the one prepared: prepare it afresh.
  if (path_ && !Overlap(pass, pathRiseJd_, pathSetJd_)) path_.reset();

  if ((pass.riseJd - nowJd) * kSecondsPerDay > settings_.leadSeconds) return ParkIfDue();
  // The next pass is near: parking now would only send the rotator away and back.
  parkDue_ = false;
  if (!path_) ChoosePath(nowJd, lookAt, pass);

  if (nowJd < pass.riseJd) {
    if (lastSent_ && AimDistanceDeg(*lastSent_, firstAim_) <= settings_.toleranceDeg) return {};
    return {TRotatorMove::TKind::Point, firstAim_};
  }
  const TLook look = lookAt(nowJd);
  if (!look.ok || look.elDeg < settings_.minElevationDeg) return {};
  const TAim aim = path_->AimFor(look.azDeg, look.elDeg);
  if (lastSent_) {
    const double sinceSeconds = (nowJd - lastSentJd_) * kSecondsPerDay;
    // A clock set back (the tracker's time control) must not hold the rotator until it catches
    // up with the last command.
    if (sinceSeconds >= 0.0 && sinceSeconds < settings_.cycleSeconds - kClockSlackSeconds) {
      return {};
    }
    if (AimDistanceDeg(aim, *lastSent_) <= settings_.toleranceDeg) return {};
  }
  return {TRotatorMove::TKind::Point, aim};
}

void TRotatorControl::NewTarget() {
  path_.reset();
  pathRiseJd_ = pathSetJd_ = std::numeric_limits<double>::quiet_NaN();
  finishedRiseJd_ = finishedSetJd_ = std::numeric_limits<double>::quiet_NaN();
  parkDue_ = false;
}

void TRotatorControl::Sent(const TRotatorMove& move, double nowJd) {
  if (move.kind == TRotatorMove::TKind::None) return;
  lastSent_ = move.aim;
  lastKnownAzDeg_ = move.aim.azDeg;
  lastSentJd_ = nowJd;
  if (move.kind == TRotatorMove::TKind::Park) parkDue_ = false;
}

void TRotatorControl::Forget() {
  lastSent_.reset();
  lastSentJd_ = std::numeric_limits<double>::quiet_NaN();
}

}  // namespace zen::station
