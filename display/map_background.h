// The map's fixed background: black frame, coordinate labels, compass letters, world bitmap.
#pragma once

#include <QImage>

#include "display/canvas.h"

namespace zen {

// The first layers of every map redraw; the whole picture while the program loads. Leaves the
// canvas font white "MS Serif" 6.
// The world is worldBitmap on the documented map; on any other (a larger map, or more than one
// device pixel per pixel) it is largeWorld, drawn for exactly that area and pixel ratio.
void DrawMapBackground(TCanvas& canvas, const QImage& worldBitmap, const QImage* largeWorld);

// Fills the canvas black and draws bitmap centred (halves truncated), as the logo area and
// the radar background are drawn.
void DrawCentredOnBlack(TCanvas& canvas, const QImage& bitmap);

}  // namespace zen
