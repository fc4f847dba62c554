// The map and radar projections: geography and sky directions to image pixels and back.
#include "display/projection.h"

#include <algorithm>
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

int TMapGeometry::MeridianX(double lonDeg) const {
  return RoundHalfEven((lonDeg + 180.0) * width / 360.0) + left;
}

int TMapGeometry::ParallelY(double latDeg) const {
  return RoundHalfEven((90.0 - latDeg) * height / 180.0) + top;
}

TMapGeometry MapGeometryFor(int widthPx, int heightPx) {
  const double scale = std::max(
      0.0, std::min((widthPx - 2.0 * MapLeft) / kMapAreaWidth,
                    (heightPx - 2.0 * MapLeft) / kMapAreaHeight));
  TMapGeometry map;
  map.width = RoundHalfEven(kMapAreaWidth * scale);
  map.height = RoundHalfEven(kMapAreaHeight * scale);
  map.left = (widthPx - map.width) / 2;
  map.top = (heightPx - map.height) / 2;
  return map;
}

bool IsDocumentedMap(int widthPx, int heightPx, double devicePixelRatio) {
  return devicePixelRatio == 1.0 && MapGeometryFor(widthPx, heightPx) == TMapGeometry{};
}

QSize MapImageSizeFor(int widthPx, int heightPx) {
  // Width and height of the area in steps of 5 x 3 pixels.
  const int steps = std::max(kMapAreaWidth / 5, std::min((widthPx - 2 * MapLeft) / 5,
                                                         (heightPx - 2 * MapLeft) / 3));
  return {steps * 5 + 2 * MapLeft, steps * 3 + 2 * MapLeft};
}

TRadarGeometry RadarGeometryFor(int widthPx, int heightPx) {
  const double scale = std::min(static_cast<double>(widthPx) / kRadarImageWidth,
                                static_cast<double>(heightPx) / kRadarImageHeight);
  return {widthPx, heightPx, kHorizonRadius * scale};
}

QPoint LonLatToMap(const TMapGeometry& map, double latDeg, double lonDeg) {
  double lon = FoldLongitude(lonDeg);
  int x = RoundHalfEven((lon + 180.0) * map.width / 360.0) + map.left;
  int y = RoundHalfEven((90.0 - latDeg) * map.height / 180.0) + map.top;
  return {x, y};
}

TMapPoint MapToLonLat(const TMapGeometry& map, int x, int y) {
  double lon = (x - map.left) * 360.0 / map.width - 180.0;
  double lat = -((y - map.top) / static_cast<double>(map.height) * 180.0 - 90.0);
  if (lat > 90.0) lat = 90.0;
  if (lat < -90.0) lat = -90.0;
  if (lon > 180.0) lon = 180.0;
  if (lon < -180.0) lon = -180.0;
  return {lat, lon};
}

QPoint AzElToRadar(const TRadarGeometry& radar, double azDeg, double elDeg) {
  double radiusPx = (90.0 - elDeg) / 90.0 * radar.horizon;
  double az = Radians(azDeg);
  int x = radar.width / 2 + RoundHalfEven(std::sin(az) * radiusPx);
  int y = radar.height / 2 - RoundHalfEven(std::cos(az) * radiusPx);
  return {x, y};
}

TRadarPoint RadarToAzEl(const TRadarGeometry& radar, int x, int y) {
  int cx = radar.width / 2 - 1;
  int cy = radar.height / 2 - 1;
  double dy = y - cy;
  double dx = x - cx;
  double distancePx = std::sqrt(dx * dx + dy * dy);
  if (distancePx == 0.0) distancePx = 0.0001;
  double el = 90.0 - distancePx * 90.0 / radar.horizon;
  if (el < 0.0) el = 0.0;
  double a = Degrees(ArcSin(dy / distancePx)) + 90.0;
  double az = x <= cx ? 360.0 - a : a;
  return {az, el};
}

}  // namespace zen
