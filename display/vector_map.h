// The world map drawn from outlines (Data/world.vec), for maps larger than the world bitmap.
//
// The file:
//   "ZVMP"                 4 bytes, the magic
//   version                1 byte, 1
//   land rings, country borders, coastlines: three sections, each
//     path count           varint
//     per path: point count (varint, at least 2), then per point the longitude and latitude in
//     thousandths of a degree as zigzag varints, each the step from the path's previous point
//     (the first from 0, 0).
// A varint holds 7 bits a byte, lowest first, the top bit set on all but its last byte. Land
// rings are closed by the drawing (their last point does not repeat the first). A land ring
// that runs clockwise on the map is land; one that runs anticlockwise is water that land
// surrounds, such as the Caspian Sea, and lies inside a clockwise one. No path crosses the
// antimeridian, the data being cut there. A land ring has at most kMaxRingPoints points; lines
// may be of any length.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <cstdint>
#include <vector>

#include "display/ring_fill.h"

namespace zen {

// The world bitmap's colours, which the drawn map keeps. The line colours are those of its
// fully covered line pixels; drawn one pixel wide at its size, they give the map the bitmap's
// mean brightness.
inline const QColor kMapOceanColour{10, 22, 38};
inline const QColor kMapLandColour{46, 56, 64};
inline const QColor kMapBorderColour{66, 78, 88};
inline const QColor kMapCoastColour{130, 157, 174};

// Points are (longitude, latitude) in degrees.
using TGeoPath = std::vector<QPointF>;

struct TVectorMap {
  std::vector<TGeoPath> land;        // closed rings: clockwise land, anticlockwise inland water
  std::vector<TGeoPath> borders;     // lines between countries
  std::vector<TGeoPath> coastlines;  // lines
};

// The size limit of a map file; the shipped one is a fraction of it.
inline constexpr qint64 kMaxVectorMapBytes = 8 * 1024 * 1024;
// The most points a land ring may have; the shipped map's largest has a few thousand.
inline constexpr uint32_t kMaxRingPoints = 200000;

// Decodes a map file's bytes. False, map unchanged and problem set to a short reason when the
// bytes are not a whole map of this version or a point lies off the globe.
bool ParseVectorMap(const QByteArray& bytes, TVectorMap& map, QString& problem);

// Reads and decodes the file at path; refuses what is not a regular file or is larger than
// kMaxVectorMapBytes.
bool ReadVectorMap(const QString& path, TVectorMap& map, QString& problem);

// The map as an image of areaLogical * devicePixelRatio pixels that carries that ratio: ocean,
// land, borders, coastlines, with longitude -180 at the left edge, 180 at the right, latitude 90
// at the top and -90 at the bottom, both linear. Land is filled by the share of each pixel it
// covers; lines are one device pixel wide and smooth. A null image when keepGoing said to stop.
QImage RenderVectorMap(const TVectorMap& map, QSize areaLogical, qreal devicePixelRatio,
                       const TKeepDrawing& keepGoing = {});

// The footer's words for a map file that cannot be used, and for outlines too heavy to draw
// in time.
QString VectorMapProblemText(const QString& problem);
QString VectorMapTooHeavyText(int limitMs);

}  // namespace zen
