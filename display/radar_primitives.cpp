// The two radar primitives: a track segment and a satellite in the observer's sky.
#include "display/radar_primitives.h"

#include "display/colours.h"
#include "display/fonts.h"

namespace zen {

namespace {

// Labels that would reach past this column go to the left when there is room there; 155 in
// the documented image.
constexpr int kRadarLabelRightMargin = kRadarImageWidth - 155;
// A label's top is this far above the symbol's centre; it starts this far right of the
// centre, or ends this far left of it when moved to the left.
constexpr int kRadarLabelRaisePx = 5;
constexpr int kRadarLabelGapPx = 7;
constexpr int kRadarLabelLeftGapPx = 10;

bool RadarLabelGoesLeft(QPoint symbol, int widthPx, int edge) {
  const bool pastTheColumn = symbol.x() + widthPx + kRadarLabelGapPx > edge;
  return pastTheColumn && symbol.x() - widthPx - kRadarLabelLeftGapPx >= 0;
}

}  // namespace

void DrawLineV(TCanvas& canvas, const TShowOptions& show, TRadarPoint p1, TRadarPoint p2,
               bool eclipsed) {
  double el1 = p1.el < 0.0 ? 0.0 : p1.el;
  double el2 = p2.el < 0.0 ? 0.0 : p2.el;
  canvas.SetBrushClear();
  canvas.SetPenColour(eclipsed ? kUmbraColour : kLitColour);
  const TRadarGeometry radar = RadarGeometryOf(canvas);
  QPoint start = AzElToRadar(radar, p1.az, el1);
  QPoint end = AzElToRadar(radar, p2.az, el2);
  canvas.MoveTo(start.x(), start.y());
  if (show.radarTrack) canvas.LineTo(end.x(), end.y());
  if (show.radarMarkers) canvas.Ellipse(end.x() - 2, end.y() - 2, end.x() + 2, end.y() + 2);
}

void SetRadarLabelFont(TCanvas& canvas) {
  canvas.SetFont(ZenFont(TFontFace::MsSerif, 6));
  canvas.SetFontColour(kWhite);
}

void DrawRadarSymbol(TCanvas& canvas, QPoint at, bool eclipsed, bool active) {
  const int x = at.x();
  const int y = at.y();
  const QColor colour = eclipsed ? kUmbraColour : kLitColour;
  canvas.SetPenColour(colour);
  canvas.SetBrushSolid(colour);
  canvas.Rectangle(x - 3, y - 3, x + 3, y + 3);
  canvas.SetBrushClear();
  if (active) canvas.Rectangle(x - 5, y - 5, x + 5, y + 5);
}

TRadarGeometry RadarGeometryOf(const TCanvas& canvas) {
  return RadarGeometryFor(canvas.Width(), canvas.Height());
}

TLabelRule RadarLabels(const TRadarGeometry& radar) {
  return {kRadarLabelRaisePx, kRadarLabelGapPx, kRadarLabelLeftGapPx,
          radar.width - kRadarLabelRightMargin, RadarLabelGoesLeft};
}

const TLabelRule kRadarLabels = RadarLabels(TRadarGeometry{});

void DrawPointV(TCanvas& canvas, const TShowOptions& show, const QString& label, bool eclipsed,
                double azDeg, double elDeg, bool active) {
  const TRadarGeometry radar = RadarGeometryOf(canvas);
  const QPoint at = AzElToRadar(radar, azDeg, elDeg);
  SetRadarLabelFont(canvas);
  DrawRadarSymbol(canvas, at, eclipsed, active);
  if (show.radarNames) {
    const QRect box = RadarLabels(radar).Box(at, canvas.TextWidth(label), canvas.TextHeight(label));
    canvas.TextOut(box.left(), box.top(), label);
  }
}

}  // namespace zen
