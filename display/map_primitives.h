// The two map primitives every map layer is drawn from: a segment and a symbol.
#pragma once

#include <QString>

#include "display/bitmaps.h"
#include "display/canvas.h"
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

}  // namespace zen
