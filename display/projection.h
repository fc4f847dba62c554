// The map and radar projections: geography and sky directions to image pixels and back.
#pragma once

#include <QPoint>
#include <QSize>

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

// Where the map area lies in a map image of any size: the documented 600 x 360 area inside its
// 15-pixel margin, or the same picture grown by one factor on both axes and centred, with the
// margin kept for the labels round it. Coordinates are logical pixels of the image.
struct TMapGeometry {
  int left = MapLeft;
  int top = MapLeft;
  int width = kMapAreaWidth;
  int height = kMapAreaHeight;

  int Right() const { return left + width; }
  int Bottom() const { return top + height; }
  // The x of a meridian and the y of a parallel, whole pixels, as the grid draws them.
  int MeridianX(double lonDeg) const;
  int ParallelY(double latDeg) const;
  bool operator==(const TMapGeometry&) const = default;
};

// The geometry of a map image of w x h logical pixels: the largest area of the documented
// proportions (5:3) whose margin still fits, centred. 630 x 390 gives the documented one.
TMapGeometry MapGeometryFor(int widthPx, int heightPx);
// True for the documented map picture: an image whose area is the documented one, at one
// device pixel per pixel. Only it shows the world bitmap as it is.
bool IsDocumentedMap(int widthPx, int heightPx, double devicePixelRatio);
// The size of the map image that best fills a space of w x h logical pixels: the margin round
// an area whose width is a multiple of 5, so the area keeps the documented proportions
// exactly; never below the documented 630 x 390.
QSize MapImageSizeFor(int widthPx, int heightPx);

// The radar in an image of any size: centre (W div 2, H div 2) and the horizon grown with the
// image from the documented 68 pixels in 176 x 161.
struct TRadarGeometry {
  int width = kRadarImageWidth;
  int height = kRadarImageHeight;
  double horizon = kHorizonRadius;
  bool operator==(const TRadarGeometry&) const = default;
};
TRadarGeometry RadarGeometryFor(int widthPx, int heightPx);

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
QPoint LonLatToMap(const TMapGeometry& map, double latDeg, double lonDeg);
// Clamped to +-90 and +-180, so a press in the margin reads as the border.
TMapPoint MapToLonLat(const TMapGeometry& map, int x, int y);

QPoint AzElToRadar(const TRadarGeometry& radar, double azDeg, double elDeg);
// Elevation clamped at 0; the inverse's centre lies one pixel up and left of the drawing's.
TRadarPoint RadarToAzEl(const TRadarGeometry& radar, int x, int y);

// The same in the documented images, 630 x 390 and 176 x 161.
inline QPoint LonLatToMap(double latDeg, double lonDeg) {
  return LonLatToMap(TMapGeometry{}, latDeg, lonDeg);
}
inline TMapPoint MapToLonLat(int x, int y) { return MapToLonLat(TMapGeometry{}, x, y); }
inline QPoint AzElToRadar(double azDeg, double elDeg) {
  return AzElToRadar(TRadarGeometry{}, azDeg, elDeg);
}
inline TRadarPoint RadarToAzEl(int x, int y) { return RadarToAzEl(TRadarGeometry{}, x, y); }

}  // namespace zen
