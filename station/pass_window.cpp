// The pass of a satellite over a site that the station follows: the one under way or the next.
#include "station/pass_window.h"

#include <algorithm>
#include <cstdint>

namespace zen::station {

namespace {

constexpr double kSecondDays = 1.0 / 86400.0;
// Short enough that no pass worth pointing an antenna at falls between two samples.
constexpr double kCoarseStepDays = 20.0 * kSecondDays;
constexpr double kEdgeDays = 1.0 * kSecondDays;
constexpr double kPeakDays = 0.5 * kSecondDays;
constexpr double kLookBackDays = 1.0;
constexpr double kLongestPassDays = 1.0;
// A caller's mistake must not keep the search busy for hours.
constexpr double kLongestHorizonDays = 30.0;
constexpr double kInfinity = std::numeric_limits<double>::infinity();
// 1 / golden ratio.
constexpr double kGoldenFraction = 0.6180339887498949;

double ElevationDeg(const TLookAt& lookAt, double jd) {
  const TLook look = lookAt(jd);
  return look.ok ? look.elDeg : -kInfinity;
}

// Halves the bracket between a moment above the limit and one below (in either order) until it
// is at most kEdgeDays long; returns its upper-side end.
double Edge(const TLookAt& lookAt, double aboveJd, double belowJd, double minElevationDeg) {
  while (std::fabs(belowJd - aboveJd) > kEdgeDays) {
    const double middleJd = 0.5 * (aboveJd + belowJd);
    if (ElevationDeg(lookAt, middleJd) >= minElevationDeg) {
      aboveJd = middleJd;
    } else {
      belowJd = middleJd;
    }
  }
  return aboveJd;
}

// Golden-section search for the highest elevation in [lowJd, highJd]; keeps bestJd when no
// moment tried is higher.
void Peak(const TLookAt& lookAt, double lowJd, double highJd, double& bestJd, double& bestDeg) {
  double c = highJd - kGoldenFraction * (highJd - lowJd);
  double d = lowJd + kGoldenFraction * (highJd - lowJd);
  double elevationC = ElevationDeg(lookAt, c);
  double elevationD = ElevationDeg(lookAt, d);
  while (highJd - lowJd > kPeakDays) {
    if (elevationC >= elevationD) {
      highJd = d;
      d = c;
      elevationD = elevationC;
      c = highJd - kGoldenFraction * (highJd - lowJd);
      elevationC = ElevationDeg(lookAt, c);
    } else {
      lowJd = c;
      c = d;
      elevationC = elevationD;
      d = lowJd + kGoldenFraction * (highJd - lowJd);
      elevationD = ElevationDeg(lookAt, d);
    }
  }
  if (elevationC > bestDeg) {
    bestJd = c;
    bestDeg = elevationC;
  }
  if (elevationD > bestDeg) {
    bestJd = d;
    bestDeg = elevationD;
  }
}

int64_t StepsIn(double days) {
  return static_cast<int64_t>(std::ceil(days / kCoarseStepDays));
}

std::string Countdown(const char* word, double days) {
  // Rounded up, so that "00:00" means "now"; the millisecond allows for the rounding of Julian
  // dates, which resolve about 40 microseconds.
  const double seconds = std::min(std::ceil(days / kSecondDays - 1e-3), 1e9);
  const int64_t whole = static_cast<int64_t>(std::max(seconds, 0.0));
  std::string minutes = std::to_string(whole / 60);
  if (minutes.size() < 2) minutes.insert(0, 1, '0');
  const int64_t rest = whole % 60;
  return std::string(word) + minutes + ":" + (rest < 10 ? "0" : "") + std::to_string(rest);
}

}  // namespace

TPassWindow FindPass(const TLookAt& lookAt, double fromJd, double minElevationDeg,
                     double horizonDays) {
  TPassWindow pass;
  if (!lookAt || !std::isfinite(fromJd) || !std::isfinite(minElevationDeg) ||
      !(horizonDays >= 0.0)) {
    return pass;
  }
  horizonDays = std::min(horizonDays, kLongestHorizonDays);

  double riseJd = -kInfinity;
  double scanStartJd = fromJd - kLookBackDays;
  if (ElevationDeg(lookAt, fromJd) >= minElevationDeg) {
    // Under way: walk back to the rise.
    const int64_t steps = StepsIn(kLookBackDays);
    for (int64_t k = 1; k <= steps; ++k) {
      const double jd = fromJd - static_cast<double>(k) * kCoarseStepDays;
      if (ElevationDeg(lookAt, jd) < minElevationDeg) {
        riseJd = Edge(lookAt, jd + kCoarseStepDays, jd, minElevationDeg);
        scanStartJd = riseJd;
        break;
      }
    }
  } else {
    const double endJd = fromJd + horizonDays;
    const int64_t steps = StepsIn(horizonDays);
    double previousJd = fromJd;
    for (int64_t k = 1; k <= steps; ++k) {
      const double jd = std::min(fromJd + static_cast<double>(k) * kCoarseStepDays, endJd);
      if (ElevationDeg(lookAt, jd) >= minElevationDeg) {
        riseJd = Edge(lookAt, jd, previousJd, minElevationDeg);
        break;
      }
      previousJd = jd;
    }
    if (!std::isfinite(riseJd)) return pass;
    scanStartJd = riseJd;
  }

  // Forward from the rise to the set, keeping the highest sample.
  const double limitJd = std::max(fromJd + horizonDays, scanStartJd + kLongestPassDays);
  double setJd = kInfinity;
  double lastAboveJd = scanStartJd;
  double bestJd = scanStartJd;
  double bestDeg = ElevationDeg(lookAt, scanStartJd);
  for (int64_t k = 1;; ++k) {
    const double jd = scanStartJd + static_cast<double>(k) * kCoarseStepDays;
    if (jd > limitJd) break;
    const double elevationDeg = ElevationDeg(lookAt, jd);
    if (elevationDeg < minElevationDeg) {
      setJd = Edge(lookAt, lastAboveJd, jd, minElevationDeg);
      break;
    }
    if (elevationDeg > bestDeg) {
      bestJd = jd;
      bestDeg = elevationDeg;
    }
    lastAboveJd = jd;
  }
  // The top lies within a sampling step of the highest sample.
  const double lowJd = std::max(scanStartJd, bestJd - kCoarseStepDays);
  const double highJd =
      std::min(std::isfinite(setJd) ? setJd : lastAboveJd, bestJd + kCoarseStepDays);
  if (highJd > lowJd) Peak(lookAt, lowJd, highJd, bestJd, bestDeg);

  pass.riseJd = riseJd;
  pass.setJd = setJd;
  pass.culminationJd = bestJd;
  pass.maxElevationDeg = bestDeg;
  return pass;
}

std::string AosLosText(double nowJd, const TPassWindow& pass) {
  if (!pass.Valid() || !std::isfinite(nowJd)) return {};
  if (nowJd < pass.riseJd) return Countdown("AOS in ", pass.riseJd - nowJd);
  if (nowJd <= pass.setJd && std::isfinite(pass.setJd)) {
    return Countdown("LOS in ", pass.setJd - nowJd);
  }
  // Up at the moment and not setting within the search: a geostationary satellite in view.
  if (!std::isfinite(pass.setJd)) return "always above the horizon";
  return {};
}

}  // namespace zen::station
