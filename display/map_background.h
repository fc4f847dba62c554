// The map's fixed background: black frame, coordinate labels, compass letters, world bitmap.
#pragma once

#include <QImage>

#include "display/canvas.h"

namespace zen {

// The first layers of every map redraw; the whole picture while the program loads. Leaves the
// canvas font white "MS Serif" 6.
void DrawMapBackground(TCanvas& canvas, const QImage& worldBitmap);

// Fills the canvas black and draws bitmap centred (halves truncated), as the logo area and
// the radar background are drawn.
void DrawCentredOnBlack(TCanvas& canvas, const QImage& bitmap);

}  // namespace zen
