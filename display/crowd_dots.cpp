// Dots for views too crowded for symbols and names: how large and how strong they are drawn.
#include "display/crowd_dots.h"

#include <algorithm>
#include <cmath>

#include "display/projection.h"

namespace zen {

namespace {

// Logical sizes of a dot, pixels a side.
constexpr double kLargestDotPx = 3.0;
constexpr double kSmallestDotPx = 1.0;
// Alpha of a dot while it can still shrink, and the floor it fades to.
constexpr double kFullAlpha = 0.9;
constexpr double kFaintestAlpha = 0.4;

}  // namespace

TDotStyle CrowdDotStyle(int dots, double areaPx, double devicePixelRatio) {
  const double ratio = devicePixelRatio > 0.0 ? devicePixelRatio : 1.0;
  // Ink per logical pixel that the dots may lay down.
  constexpr double kInkPerPx = kFewTrackedMax * kLargestDotPx * kLargestDotPx /
                               (static_cast<double>(kMapAreaWidth) * kMapAreaHeight);
  const double density = dots > 0 && areaPx > 0.0 ? dots / areaPx : 0.0;
  double sizePx = kLargestDotPx;
  double alpha = kFullAlpha;
  if (density > 0.0) {
    // Whole logical pixels, so that a dot looks the same at every pixel ratio.
    sizePx = std::clamp(std::floor(std::sqrt(kInkPerPx / density)), kSmallestDotPx, kLargestDotPx);
    alpha = std::clamp(kFullAlpha * kInkPerPx / (density * sizePx * sizePx), kFaintestAlpha,
                       kFullAlpha);
  }
  const double wantedDevicePx = sizePx * ratio;
  const int devicePx = std::max(1, static_cast<int>(std::lround(wantedDevicePx)));
  const double areaMadeUp = (wantedDevicePx * wantedDevicePx) / (devicePx * devicePx);
  alpha = std::clamp(alpha * areaMadeUp, kFaintestAlpha, 1.0);
  return {devicePx, static_cast<int>(std::lround(alpha * 256.0))};
}

}  // namespace zen
