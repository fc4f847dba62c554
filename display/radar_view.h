// The radar: the observer's sky with the tracked satellites above the horizon, or the logo.
#pragma once

#include <QImage>

#include "display/canvas.h"
#include "display/map_screen.h"

class QPainter;
class QPointF;

namespace zen {

// What a radar redraw did, for the window to follow.
struct TRadarDraw {
  bool painted = false;    // the image changed; the window repaints the radar control
  bool crosshair = false;  // cursor over the radar: crosshair when true, else the arrow
};

// Keeps whether the radar was up at the previous redraw: the logo is painted once when the
// radar goes away and then left alone while it stays away.
class TRadarView {
 public:
  // Paints the radar image (176 x 161) from the scene: with RadarShown the sky chart, every
  // computed satellite at elevation >= 0 and the active satellite's track above the horizon
  // (with more than kFewTrackedMax tracked, nameless dots under the track and the active one);
  // when the radar has just gone, the logo on black; otherwise nothing.
  TRadarDraw DrawRadar(QImage& radar, const TMapScene& scene);

  bool RadarWasShown = false;
};

// The sky chart the radar bitmap carries, drawn smooth at any size: the horizon `horizon`
// pixels round centre, rings at 30 and 60 degrees of elevation, azimuth ticks every 30 degrees
// and the cardinal letters. The radar uses it wherever the bitmap would have to be enlarged.
void PaintSkyChart(QPainter& painter, QPointF centre, double horizon);

// The logo centred on black, grown with the image as the radar grows, from the sharpest
// drawing that needs no enlarging.
void DrawLogo(TCanvas& canvas, const TBitmaps& bitmaps);

}  // namespace zen
