// The map and radar projections: geography and sky directions to image pixels and back.
#include "display/projection.h"

#include <cmath>

#include "core/numeric.h"
#include "tracking/sat_state.h"

namespace zen {

int RoundHalfEven(double value) {
  double lower = std::floor(value);
  double fraction = value - lower;
  if (fraction > 0.5) return static_cast<int>(lower) + 1;
  if (fraction < 0.5) return static_cast<int>(lower);
  return std::fmod(lower, 2.0) == 0.0 ? static_cast<int>(lower) : static_cast<int>(lower) + 1;
}

QPoint LonLatToMap(double latDeg, double lonDeg) {
  double lon = FoldLongitude(lonDeg);
  int x = RoundHalfEven((lon + 180.0) * kMapAreaWidth / 360.0) + MapLeft;
  int y = RoundHalfEven((90.0 - latDeg) * kMapAreaHeight / 180.0) + MapLeft;
  return {x, y};
}

TMapPoint MapToLonLat(int x, int y) {
  double lon = (x - MapLeft) * 360.0 / kMapAreaWidth - 180.0;
  double lat = -((y - MapLeft) / static_cast<double>(kMapAreaHeight) * 180.0 - 90.0);
  if (lat > 90.0) lat = 90.0;
  if (lat < -90.0) lat = -90.0;
  if (lon > 180.0) lon = 180.0;
  if (lon < -180.0) lon = -180.0;
  return {lat, lon};
}

QPoint AzElToRadar(double azDeg, double elDeg) {
  double radiusPx = (90.0 - elDeg) / 90.0 * kHorizonRadius;
  double az = Radians(azDeg);
  int x = kRadarImageWidth / 2 + RoundHalfEven(std::sin(az) * radiusPx);
  int y = kRadarImageHeight / 2 - RoundHalfEven(std::cos(az) * radiusPx);
  return {x, y};
}

TRadarPoint RadarToAzEl(int x, int y) {
  int cx = kRadarImageWidth / 2 - 1;
  int cy = kRadarImageHeight / 2 - 1;
  double dy = y - cy;
  double dx = x - cx;
  double distancePx = std::sqrt(dx * dx + dy * dy);
  if (distancePx == 0.0) distancePx = 0.0001;
  double el = 90.0 - distancePx * 90.0 / kHorizonRadius;
  if (el < 0.0) el = 0.0;
  double a = Degrees(ArcSin(dy / distancePx)) + 90.0;
  double az = x <= cx ? 360.0 - a : a;
  return {az, el};
}

}  // namespace zen
