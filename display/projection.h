// The map and radar projections: geography and sky directions to image pixels and back.
#pragma once

#include <QPoint>

namespace zen {

// The map image Img: a 600 x 360 map area inside a 15-pixel margin.
inline constexpr int kMapImageWidth = 630;
inline constexpr int kMapImageHeight = 390;
inline constexpr int MapLeft = 15;
inline constexpr int kMapAreaWidth = 600;
inline constexpr int kMapAreaHeight = 360;
// Right edge of the map area; labels that would pass it go to the other side.
inline constexpr int kMapAreaRight = MapLeft + kMapAreaWidth;

// The radar image Lgo: north up, east right, horizon 68 pixels round the centre.
inline constexpr int kRadarImageWidth = 176;
inline constexpr int kRadarImageHeight = 161;
inline constexpr int kHorizonRadius = 68;

// A map point: latitude then longitude, degrees, north and east positive.
struct TMapPoint {
  double lat = 0.0;
  double lon = 0.0;
};

// A radar point: azimuth then elevation, degrees.
struct TRadarPoint {
  double az = 0.0;
  double el = 0.0;
};

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -0.5 -> 0).
int RoundHalfEven(double value);

// Longitudes above 180 fold once by -360 (FoldLongitude); nothing else is wrapped.
QPoint LonLatToMap(double latDeg, double lonDeg);
// Clamped to +-90 and +-180, so a press in the margin reads as the border.
TMapPoint MapToLonLat(int x, int y);

QPoint AzElToRadar(double azDeg, double elDeg);
// Elevation clamped at 0; the inverse's centre lies one pixel up and left of the drawing's.
TRadarPoint RadarToAzEl(int x, int y);

}  // namespace zen
