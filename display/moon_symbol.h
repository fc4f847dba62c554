// The Moon's symbol in its phase, and which way its lit side faces on the map and on sky charts.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPointF>

#include "core/numeric.h"

namespace zen {

inline const QColor kMoonLitColour{0xF2, 0xF0, 0xE2};
inline const QColor kMoonDarkColour{0x34, 0x38, 0x42};
inline const QColor kMoonRimColour{0x8C, 0x8C, 0x8C};

// A disc radiusPx round centre, ringed by a pixel-wide rim: the lit part toward towardSun (an image
// direction, x to the right and y down; a zero one lights the right side), bounded by the lit half
// of the rim and the terminator, half an ellipse whose width the illuminated fraction (0 new .. 1
// full) sets. The painter's state is left as it was.
void DrawMoonSymbol(QPainter& painter, QPointF centre, double radiusPx, QPointF towardSun,
                    double illuminated);

// The image direction in which the Sun lies from the Moon on the map (longitude to the right,
// latitude up, pxPerDegLon and pxPerDegLat pixels a degree), from the geocentric positions of
// both in one frame whose z axis is the earth's: the start of the great circle to the Sun, as
// the sub-points of the two bodies see it. Zero when the two line up.
QPointF MapTowardSun(const TVector& moonKm, const TVector& sunKm, double pxPerDegLon,
                     double pxPerDegLat);

// The same on a polar sky chart (zenith at the centre, elevation linear out to the horizon,
// north up, east to the right) from the bodies' azimuths and elevations in degrees; the Sun may
// be below the horizon.
QPointF SkyChartTowardSun(double moonAzimuthDeg, double moonElevationDeg, double sunAzimuthDeg,
                          double sunElevationDeg);

}  // namespace zen
