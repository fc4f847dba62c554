// The picture of one pass or flare: a polar sky plot of its path (north up, east to the right,
// as the radar) beside its elevation over time, and the pass's numbers below.
#pragma once

#include <QColor>
#include <QImage>
#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <string>
#include <utility>
#include <vector>

#include "prediction/moon_track.h"
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
  // The Moon over the same span when it is to be shown; no points otherwise.
  TMoonTrack moon;
};

// The point of an azimuth and elevation in a sky disc: the horizon on the disc's edge, the
// zenith at its centre, elevation linear inwards, north up and east to the right. Negative
// elevations are drawn on the horizon.
QPointF SkyPlotPoint(const QRectF& disc, double azimuthDeg, double elevationDeg);

// Where the parts of the picture lie in an image of a logical size.
struct TPassPlotLayout {
  QRectF skyDisc;        // the horizon circle's bounding square
  QRectF curveArea;      // the elevation curve's axes: time to the right, 0..90 degrees up
  QRectF factsArea;      // the numbers
  double textPx = 12.0;  // the labels' and numbers' font size; the title's is larger
};
TPassPlotLayout PassPlotLayoutFor(QSize logicalSize);

// The colours of the path, on the sky plot and on the curve alike, and of the Sun.
inline const QColor kPassSunlitColour{0xFF, 0xE4, 0x5C};
inline const QColor kPassDarkColour{0x6E, 0x7C, 0xD8};
inline const QColor kPassSunColour{0xFF, 0x96, 0x1E};
inline const QColor kPassPlotBackground{0x0C, 0x12, 0x1C};
inline const QColor kPassMoonPathColour{0x9A, 0x9E, 0xA8};

// The point of a moment of the elevation curve that spans fromUtc..toUtc: the time across the
// curve's area, elevation 0..90 up it (clamped to the axis). A span of no length puts every
// moment in the middle.
QPointF CurvePoint(const TPassPlotLayout& layout, double fromUtc, double toUtc, double timeUtc,
                   double elevationDeg);

// A whole minute of the path on the sky plot: a tick across the path and a local hh:mm label
// beside it. A label that would overlap one placed before it, a mark or its label, a compass
// letter or a ring's elevation is left out; its tick stays.
struct TMinuteMark {
  double timeUtc = 0.0;
  QPointF at;
  QLineF tick;
  bool sunlit = false;
  QString label;
  QRectF labelBox;
  bool labelShown = false;
};
std::vector<TMinuteMark> SkyMinuteMarks(const TPassPlot& plot, const TPassPlotLayout& layout);

// A labelled moment of the curve's time axis: whole local minutes a fixed step apart, the step
// the smallest of 1, 2, 5, 10, 15, 20, 30 minutes or 1, 2, 3, 4, 6, 12 hours whose labels
// keep apart.
struct TTimeTick {
  double timeUtc = 0.0;
  QString label;
  QRectF labelBox;
};
std::vector<TTimeTick> CurveTimeTicks(const TPassPlot& plot, const TPassPlotLayout& layout);

// The picture at a logical size and device pixel ratio: the sky plot with the path (sunlit and
// dark parts in their colours), a tick and a local hh:mm label each whole minute, the marks and
// the Sun when above the horizon, the Moon's path and symbol while it is up; the elevation curve
// over the same moments with the same colours and marks; the facts.
QImage RenderPassPlot(const TPassPlot& plot, QSize logicalSize, double devicePixelRatio = 1.0);

}  // namespace zen
