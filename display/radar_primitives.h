// The two radar primitives: a track segment and a satellite in the observer's sky.
#pragma once

#include <QString>

#include "display/canvas.h"
#include "display/name_layout.h"
#include "display/projection.h"
#include "display/show_options.h"

namespace zen {

// A radar track segment; ends below the horizon sit on the horizon circle. Coloured by
// eclipse whatever "Sat colors" says.
void DrawLineV(TCanvas& canvas, const TShowOptions& show, TRadarPoint p1, TRadarPoint p2,
               bool eclipsed);

// One satellite on the radar; the caller passes only elevations >= 0.
void DrawPointV(TCanvas& canvas, const TShowOptions& show, const QString& label, bool eclipsed,
                double azDeg, double elDeg, bool active);

// The radar's label font, white: DrawPointV sets it for its label.
void SetRadarLabelFont(TCanvas& canvas);

// A satellite's square (and the active one's outline) at its pixel, without its label.
void DrawRadarSymbol(TCanvas& canvas, QPoint at, bool eclipsed, bool active);

// Where a radar label goes: right of the symbol, or left of it when it would pass column 155
// and there is room on the left; the column moves with the image's right edge.
TLabelRule RadarLabels(const TRadarGeometry& radar);
extern const TLabelRule kRadarLabels;

// The radar geometry of the canvas's image, from its logical size.
TRadarGeometry RadarGeometryOf(const TCanvas& canvas);

}  // namespace zen
