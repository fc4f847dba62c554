// The picture of one pass or flare: a polar sky plot of its path (north up, east to the right,
// as the radar) beside its elevation over time, and the pass's numbers below.
#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <string>
#include <utility>
#include <vector>

#include "prediction/pass_track.h"

namespace zen {

// A marked moment of the path: the rise, culmination and set of a pass, or a flare.
struct TPlotMark {
  double timeUtc = 0.0;
  double azimuthDeg = 0.0;
  double elevationDeg = 0.0;
  std::string label;  // "Rise", "Max", "Set", "Flare"
};

// Everything the picture shows.
struct TPassPlot {
  std::string title;  // "ISS (ZARYA)  2026-12-08"
  TPassTrack track;
  std::vector<TPlotMark> marks;
  double utcOffsetHours = 0.0;  // minute labels on the local clock
  // The numbers below the plots: a caption and its value ("Rise", "18:01:23  az 245.1°").
  std::vector<std::pair<std::string, std::string>> facts;
};

// The point of an azimuth and elevation in a sky disc: the horizon on the disc's edge, the
// zenith at its centre, elevation linear inwards, north up and east to the right. Negative
// elevations are drawn on the horizon.
QPointF SkyPlotPoint(const QRectF& disc, double azimuthDeg, double elevationDeg);

// Where the parts of the picture lie in an image of a logical size.
struct TPassPlotLayout {
  QRectF skyDisc;     // the horizon circle's bounding square
  QRectF curveArea;   // the elevation curve's axes: time to the right, 0..90 degrees up
  QRectF factsArea;   // the numbers
};
TPassPlotLayout PassPlotLayoutFor(QSize logicalSize);

// The picture at a logical size and device pixel ratio: the sky plot with the path (sunlit and
// dark parts in their colours), a tick and a local hh:mm label each whole minute, the marks and
// the Sun when above the horizon; the elevation curve over the same moments with the same
// colours and marks; the facts.
QImage RenderPassPlot(const TPassPlot& plot, QSize logicalSize, double devicePixelRatio = 1.0);

}  // namespace zen
