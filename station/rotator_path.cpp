// The path an azimuth-elevation rotator takes through a pass: which way round, and whether
// flipped over the top, so that the antenna never has to swing across its azimuth stop.
#include "station/rotator_path.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zen::station {

namespace {

constexpr double kTurnDeg = 360.0;
// How far a look may lie past the stop before the path swings round: the live track runs a
// little past the sampled one between samples, and a full turn for that would be absurd.
constexpr double kStopGraceDeg = 2.0;
// Rounding of sums of many small steps, far below any rotator's resolution.
constexpr double kFitSlackDeg = 1e-9;

// [0, 360)
double Wrap360(double deg) {
  const double wrapped = std::fmod(deg, kTurnDeg);
  return wrapped < 0.0 ? (wrapped + kTurnDeg < kTurnDeg ? wrapped + kTurnDeg : 0.0) : wrapped;
}

// [-180, 180)
double Wrap180(double deg) {
  return Wrap360(deg + 180.0) - 180.0;
}

TAim Flip(const TAim& look) {
  return {Wrap360(look.azDeg + 180.0), 180.0 - look.elDeg};
}

double Distance(const TAim& a, const TAim& b) {
  return std::max(std::fabs(a.azDeg - b.azDeg), std::fabs(a.elDeg - b.elDeg));
}

struct TOption {
  bool flipped = false;
  double startAzDeg = 0;
  int crossings = 0;
};

// The continuous azimuths of a track whose looks are already in the form the rotator takes.
std::vector<double> Unwrapped(const std::vector<TAim>& aims) {
  std::vector<double> azDeg;
  azDeg.reserve(aims.size());
  for (const TAim& aim : aims) {
    azDeg.push_back(azDeg.empty() ? Wrap360(aim.azDeg)
                                  : azDeg.back() + Wrap180(aim.azDeg - azDeg.back()));
  }
  return azDeg;
}

// The whole turns that put the entire unwrapped track inside the range.
std::vector<TOption> Fits(const TRotatorGeometry& geometry, const std::vector<double>& azDeg,
                          bool flipped) {
  const auto [low, high] = std::minmax_element(azDeg.begin(), azDeg.end());
  const double lowest = LowestAzimuthDeg(geometry.range);
  const double highest = HighestAzimuthDeg(geometry.range);
  const double firstTurn = std::ceil((lowest - *low) / kTurnDeg - kFitSlackDeg);
  const double lastTurn = std::floor((highest - *high) / kTurnDeg + kFitSlackDeg);
  std::vector<TOption> options;
  for (double turn = firstTurn; turn <= lastTurn; turn += 1.0) {
    options.push_back({flipped, azDeg.front() + turn * kTurnDeg, 0});
  }
  return options;
}

}  // namespace

double LowestAzimuthDeg(TAzimuthRange range) {
  return range == TAzimuthRange::From180To180 ? -180.0 : 0.0;
}

double HighestAzimuthDeg(TAzimuthRange range) {
  switch (range) {
    case TAzimuthRange::From0To360:
      return 360.0;
    case TAzimuthRange::From180To180:
      return 180.0;
    case TAzimuthRange::From0To450:
      return 450.0;
  }
  return 360.0;
}

double HighestElevationDeg(const TRotatorGeometry& geometry) {
  return geometry.flip ? 180.0 : 90.0;
}

TAim ClampToRange(const TRotatorGeometry& geometry, TAim aim) {
  const double lowest = LowestAzimuthDeg(geometry.range);
  aim.azDeg = std::isnan(aim.azDeg)
                  ? lowest
                  : std::clamp(aim.azDeg, lowest, HighestAzimuthDeg(geometry.range));
  aim.elDeg =
      std::isnan(aim.elDeg) ? 0.0 : std::clamp(aim.elDeg, 0.0, HighestElevationDeg(geometry));
  return aim;
}

std::optional<TAim> IntoRange(const TRotatorGeometry& geometry, TAim aim,
                              std::optional<double> nearAzDeg) {
  if (!std::isfinite(aim.azDeg) || !std::isfinite(aim.elDeg)) return std::nullopt;
  if (aim.elDeg < -kFitSlackDeg || aim.elDeg > HighestElevationDeg(geometry) + kFitSlackDeg) {
    return std::nullopt;
  }
  aim.elDeg = std::clamp(aim.elDeg, 0.0, HighestElevationDeg(geometry));
  const double lowest = LowestAzimuthDeg(geometry.range);
  const double highest = HighestAzimuthDeg(geometry.range);
  const double firstTurn = std::ceil((lowest - aim.azDeg) / kTurnDeg - kFitSlackDeg);
  const double lastTurn = std::floor((highest - aim.azDeg) / kTurnDeg + kFitSlackDeg);
  // Every range spans a whole turn, so at least one fits.
  double bestDeg = aim.azDeg + firstTurn * kTurnDeg;
  const bool givenFits = firstTurn <= 0.0 && lastTurn >= 0.0;
  if (!nearAzDeg || !std::isfinite(*nearAzDeg)) {
    if (givenFits) bestDeg = aim.azDeg;
  } else {
    for (double turn = firstTurn + 1.0; turn <= lastTurn; turn += 1.0) {
      const double candidateDeg = aim.azDeg + turn * kTurnDeg;
      if (std::fabs(candidateDeg - *nearAzDeg) < std::fabs(bestDeg - *nearAzDeg)) {
        bestDeg = candidateDeg;
      }
    }
  }
  aim.azDeg = std::clamp(bestDeg, lowest, highest);
  return aim;
}

std::string OutOfReachText(const TRotatorGeometry& geometry, TAim aim) {
  if (IntoRange(geometry, aim)) return {};
  if (!std::isfinite(aim.azDeg) || !std::isfinite(aim.elDeg))
    return "a direction that is not a number";
  const auto degrees = [](double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g°", value);
    return std::string(text);
  };
  return "elevation " + degrees(aim.elDeg) + " is beyond the rotator's " + degrees(0.0) + " to " +
         degrees(HighestElevationDeg(geometry));
}

TPassPath TPassPath::Choose(const TRotatorGeometry& geometry, const std::vector<TAim>& passLookDeg,
                            std::optional<TAim> rotatorNow) {
  TPassPath path(geometry);
  std::vector<TAim> track;
  track.reserve(passLookDeg.size());
  for (const TAim& look : passLookDeg) {
    if (std::isfinite(look.azDeg) && std::isfinite(look.elDeg)) track.push_back(look);
  }
  if (track.empty()) return path;

  // Among the options found: the fewest crossings, then nearest the rotator, else the lowest
  // (they come lowest first).
  auto firstAim = [&](const TOption& option) {
    const TAim first = option.flipped ? Flip(track.front()) : track.front();
    return ClampToRange(geometry, {option.startAzDeg, first.elDeg});
  };
  auto best = [&](const std::vector<TOption>& options) {
    const TOption* chosen = &options.front();
    for (const TOption& option : options) {
      if (option.crossings != chosen->crossings) {
        if (option.crossings < chosen->crossings) chosen = &option;
        continue;
      }
      if (rotatorNow &&
          Distance(firstAim(option), *rotatorNow) < Distance(firstAim(*chosen), *rotatorNow)) {
        chosen = &option;
      }
    }
    return *chosen;
  };

  std::vector<TOption> options = Fits(geometry, Unwrapped(track), false);
  if (options.empty() && geometry.flip) {
    std::vector<TAim> flipped;
    flipped.reserve(track.size());
    for (const TAim& look : track) flipped.push_back(Flip(look));
    options = Fits(geometry, Unwrapped(flipped), true);
  }
  if (options.empty()) {
    // Every start of the normal aims within the range, each followed through the track to count
    // how often it must swing round.
    const double lowest = LowestAzimuthDeg(geometry.range);
    const double highest = HighestAzimuthDeg(geometry.range);
    const double firstAzDeg = Wrap360(track.front().azDeg);
    for (double startAzDeg = lowest + Wrap360(firstAzDeg - lowest); startAzDeg <= highest;
         startAzDeg += kTurnDeg) {
      TPassPath trial(geometry);
      trial.startAzDeg_ = startAzDeg;
      int crossings = 0;
      for (const TAim& look : track) trial.NextAzimuthDeg(look.azDeg, crossings);
      options.push_back({false, startAzDeg, crossings});
    }
  }
  const TOption chosen = best(options);
  path.flipped_ = chosen.flipped;
  path.startAzDeg_ = chosen.startAzDeg;
  path.crossesStop_ = chosen.crossings > 0;
  return path;
}

double TPassPath::NextAzimuthDeg(double azDeg, int& crossings) {
  const double lowest = LowestAzimuthDeg(geometry_.range);
  const double highest = HighestAzimuthDeg(geometry_.range);
  const double plainDeg = lowest + Wrap360(azDeg - lowest);
  double nextDeg = 0;
  if (previousAzDeg_) {
    nextDeg = *previousAzDeg_ + Wrap180(azDeg - *previousAzDeg_);
  } else if (std::isfinite(startAzDeg_)) {
    nextDeg = startAzDeg_ + Wrap180(azDeg - startAzDeg_);
  } else {
    nextDeg = plainDeg;
  }
  if (nextDeg < lowest - kStopGraceDeg || nextDeg > highest + kStopGraceDeg) {
    // Round to the form within the range nearest the one that left it.
    double bestDeg = plainDeg;
    for (double formDeg = plainDeg; formDeg <= highest; formDeg += kTurnDeg) {
      if (std::fabs(formDeg - nextDeg) < std::fabs(bestDeg - nextDeg)) bestDeg = formDeg;
    }
    nextDeg = bestDeg;
    if (previousAzDeg_ || std::isfinite(startAzDeg_)) ++crossings;
  }
  previousAzDeg_ = nextDeg;
  return nextDeg;
}

TAim TPassPath::AimFor(double azDeg, double elDeg) {
  if (!std::isfinite(azDeg) || !std::isfinite(elDeg)) {
    // Nothing to follow: hold the previous aim.
    return ClampToRange(geometry_, lastAim_.value_or(TAim{startAzDeg_, 0.0}));
  }
  int crossings = 0;
  const TAim look = flipped_ ? Flip({azDeg, elDeg}) : TAim{azDeg, elDeg};
  lastAim_ = ClampToRange(geometry_, {NextAzimuthDeg(look.azDeg, crossings), look.elDeg});
  return *lastAim_;
}

}  // namespace zen::station
