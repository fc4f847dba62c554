// Why a search found nothing, in one line.
#include "prediction/left_out.h"

#include <charconv>
#include <cmath>

namespace zen {

namespace {

constexpr const char* kMinusSign = "\u2212";
constexpr const char* kDegreeSign = "\u00B0";

std::string Count(int64_t n) {
  return std::to_string(n);
}

}  // namespace

std::string DegreesText(double degrees) {
  const double hundredths = std::round(std::abs(degrees) * 100.0);
  const int decimals = std::fmod(hundredths, 100.0) == 0.0  ? 0
                       : std::fmod(hundredths, 10.0) == 0.0 ? 1
                                                            : 2;
  char digits[64];
  const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, hundredths / 100.0,
                                                 std::chars_format::fixed, decimals);
  const std::string text(digits, end.ptr);
  return (degrees < 0.0 && hundredths > 0.0 ? kMinusSign : "") + text + kDegreeSign;
}

std::string LeftOutText(TSearchKind kind, int foundCount, const TLeftOut& leftOut,
                        double minSatElevationDeg, double maxSunElevationDeg) {
  const int64_t total = leftOut.Total();
  if (foundCount > 0 || total <= 0) return {};
  const bool one = total == 1;
  std::string text;
  if (kind == TSearchKind::Flares) {
    text = "No flares met the conditions: " + Count(total) +
           (one ? " reflection was left out because " : " reflections were left out because ");
  } else {
    text = "No passes met the conditions: " + Count(total) +
           (one ? " pass above " : " passes above ") + DegreesText(minSatElevationDeg) +
           (one ? " was left out because " : " were left out because ");
  }
  std::string reasons;
  if (leftOut.inShadow > 0) {
    reasons = "the satellite was in shadow (" + Count(leftOut.inShadow) + ")";
  }
  if (leftOut.sunTooHigh > 0) {
    if (!reasons.empty()) reasons += " / ";
    reasons += "the Sun was above " + DegreesText(maxSunElevationDeg) + " (" +
               Count(leftOut.sunTooHigh) + ")";
  }
  return text + reasons;
}

std::string LeftOutText(const TSearchRequest& request, const TSearchOutcome& outcome) {
  if (outcome.terminated) return {};
  return LeftOutText(request.kind, outcome.totalCount, outcome.leftOut, request.minSatElevationDeg,
                     request.maxSunElevationDeg);
}

}  // namespace zen
