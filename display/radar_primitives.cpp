// The two radar primitives: a track segment and a satellite in the observer's sky.
#include "display/radar_primitives.h"

#include "display/colours.h"
#include "display/fonts.h"

namespace zen {

namespace {

// Labels that would reach past this column go to the left when there is room there.
constexpr int kRadarLabelRight = 155;

}  // namespace

void DrawLineV(TCanvas& canvas, const TShowOptions& show, TRadarPoint p1, TRadarPoint p2,
               bool eclipsed) {
  double el1 = p1.el < 0.0 ? 0.0 : p1.el;
  double el2 = p2.el < 0.0 ? 0.0 : p2.el;
  canvas.SetBrushClear();
  canvas.SetPenColour(eclipsed ? kUmbraColour : kLitColour);
  QPoint start = AzElToRadar(p1.az, el1);
  QPoint end = AzElToRadar(p2.az, el2);
  canvas.MoveTo(start.x(), start.y());
  if (show.radarTrack) canvas.LineTo(end.x(), end.y());
  if (show.radarMarkers) canvas.Ellipse(end.x() - 2, end.y() - 2, end.x() + 2, end.y() + 2);
}

void DrawPointV(TCanvas& canvas, const TShowOptions& show, const QString& label, bool eclipsed,
                double azDeg, double elDeg, bool active) {
  QPoint at = AzElToRadar(azDeg, elDeg);
  int x = at.x();
  int y = at.y();
  canvas.SetFont(ZenFont(TFontFace::MsSerif, 6));
  canvas.SetFontColour(kWhite);
  QColor colour = eclipsed ? kUmbraColour : kLitColour;
  canvas.SetPenColour(colour);
  canvas.SetBrushSolid(colour);
  canvas.Rectangle(x - 3, y - 3, x + 3, y + 3);
  canvas.SetBrushClear();
  if (active) canvas.Rectangle(x - 5, y - 5, x + 5, y + 5);
  if (show.radarNames) {
    int widthPx = canvas.TextWidth(label);
    if (x + widthPx + 7 > kRadarLabelRight && x - widthPx - 10 >= 0) {
      canvas.TextOut(x - widthPx - 10, y - 5, label);
    } else {
      canvas.TextOut(x + 7, y - 5, label);
    }
  }
}

}  // namespace zen
