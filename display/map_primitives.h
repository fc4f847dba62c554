// The two map primitives every map layer is drawn from: a segment and a symbol.
#pragma once

#include <QString>

#include "display/bitmaps.h"
#include "display/canvas.h"
#include "display/name_layout.h"
#include "display/projection.h"
#include "display/show_options.h"

namespace zen {

enum TLineKind { lkTrack = 1, lkPlain = 2 };
enum TPointKind { pkSite = 1, pkSun = 2, pkSat = 3, pkActiveSat = 4 };

// A segment p1 -> p2 on the map. Segments whose ends straddle the date line (longitude
// product <= -8100) are dropped whole, marker included. Other kinds only move the pen.
void DrawLine(TCanvas& canvas, const TShowOptions& show, int kind, TMapPoint p1, TMapPoint p2,
              const QColor& colour);

// One symbol on the map. Satellite labels use the font the caller left on the canvas.
void DrawPoint(TCanvas& canvas, const TShowOptions& show, const TBitmaps& bitmaps, int kind,
               const QString& label, double latDeg, double lonDeg, bool eclipsed);

// The map geometry of the canvas's image, from its logical size.
TMapGeometry MapGeometryOf(const TCanvas& canvas);

// The pixel a sub-point is drawn at; longitudes fold as for every map symbol.
QPoint MapPixel(const TMapGeometry& map, double latDeg, double lonDeg);

// A satellite's symbol (pkSat or pkActiveSat) at its pixel, without its label.
void DrawSatSymbol(TCanvas& canvas, const TShowOptions& show, const TBitmaps& bitmaps, int kind,
                   QPoint at, bool eclipsed);

// Where a satellite label goes: right of the symbol, or left of it when it would pass the
// map's right edge.
TLabelRule MapSatLabels(const TMapGeometry& map);
// The same on the documented map, whose edge is column 615.
extern const TLabelRule kMapSatLabels;

}  // namespace zen
