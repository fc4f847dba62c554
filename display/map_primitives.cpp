// The two map primitives every map layer is drawn from: a segment and a symbol.
#include "display/map_primitives.h"

#include "display/colours.h"
#include "display/fonts.h"
#include "tracking/sat_state.h"

namespace zen {

namespace {

// Ends on opposite sides of the 180th meridian give a product of at most -90 x 90.
constexpr double kDateLineProduct = -8100.0;
// Site labels east of this longitude go to the left so they stay on the map.
constexpr double kSiteLabelFlipLonDeg = 140.0;
// A satellite label's top is this far above the symbol's centre; it starts this far right of
// the centre, or ends this far left of it when moved to the left.
constexpr int kSatLabelRaisePx = 6;
constexpr int kSatLabelGapPx = 10;
constexpr int kSatLabelLeftGapPx = 12;

// Halves of the logical size truncate, as the documented symbols are placed.
void DrawCentred(TCanvas& canvas, const QImage& bitmap, int x, int y) {
  const QSize size = bitmap.deviceIndependentSize().toSize();
  canvas.Draw(x - size.width() / 2, y - size.height() / 2, bitmap);
}

void DrawSatSquare(TCanvas& canvas, const QColor& colour, int x, int y, bool outline) {
  canvas.SetPenColour(colour);
  canvas.SetBrushSolid(colour);
  canvas.Rectangle(x - 4, y - 4, x + 4, y + 4);
  canvas.SetBrushClear();
  if (outline) canvas.Rectangle(x - 6, y - 6, x + 6, y + 6);
}

bool SatLabelPassesTheEdge(QPoint symbol, int widthPx, int edge) {
  return symbol.x() + kSatLabelGapPx + widthPx > edge;
}

}  // namespace

void DrawLine(TCanvas& canvas, const TShowOptions& show, int kind, TMapPoint p1, TMapPoint p2,
              const QColor& colour) {
  const TMapGeometry map = MapGeometryOf(canvas);
  double lon1 = FoldLongitude(p1.lon);
  double lon2 = FoldLongitude(p2.lon);
  if (lon1 * lon2 <= kDateLineProduct) return;
  canvas.SetPenColour(colour);
  canvas.SetBrushClear();
  QPoint start = LonLatToMap(map, p1.lat, lon1);
  QPoint end = LonLatToMap(map, p2.lat, lon2);
  canvas.MoveTo(start.x(), start.y());
  if (kind == lkTrack) {
    canvas.SetPenWidth(1);
    if (show.trackLine) canvas.LineTo(end.x(), end.y());
    if (show.trackMarkers) canvas.Ellipse(end.x() - 2, end.y() - 2, end.x() + 2, end.y() + 2);
  } else if (kind == lkPlain) {
    canvas.SetPenWidth(1);
    canvas.LineTo(end.x(), end.y());
  }
}

TMapGeometry MapGeometryOf(const TCanvas& canvas) {
  return MapGeometryFor(canvas.Width(), canvas.Height());
}

QPoint MapPixel(const TMapGeometry& map, double latDeg, double lonDeg) {
  return LonLatToMap(map, latDeg, FoldLongitude(lonDeg));
}

void DrawSatSymbol(TCanvas& canvas, const TShowOptions& show, const TBitmaps& bitmaps, int kind,
                   QPoint at, bool eclipsed) {
  const bool inUmbra = eclipsed && show.satColors;
  const bool active = kind == pkActiveSat;
  if (show.satSymbols) {
    const qreal ratio = canvas.DevicePixelRatio();
    const QImage& symbol =
        active    ? ForRatio(bitmaps.SatActiveBitmap, bitmaps.SatActiveSharp, ratio)
        : inUmbra ? ForRatio(bitmaps.SatEclipsedBitmap, bitmaps.SatEclipsedSharp, ratio)
                  : ForRatio(bitmaps.SatLitBitmap, bitmaps.SatLitSharp, ratio);
    DrawCentred(canvas, symbol, at.x(), at.y());
  } else {
    DrawSatSquare(canvas, inUmbra ? kUmbraColour : kLitColour, at.x(), at.y(), active);
  }
}

TLabelRule MapSatLabels(const TMapGeometry& map) {
  return {kSatLabelRaisePx, kSatLabelGapPx, kSatLabelLeftGapPx, map.Right(),
          SatLabelPassesTheEdge};
}

const TLabelRule kMapSatLabels = MapSatLabels(TMapGeometry{});

void DrawPoint(TCanvas& canvas, const TShowOptions& show, const TBitmaps& bitmaps, int kind,
               const QString& label, double latDeg, double lonDeg, bool eclipsed) {
  const TMapGeometry map = MapGeometryOf(canvas);
  double lon = FoldLongitude(lonDeg);
  QPoint at = LonLatToMap(map, latDeg, lon);
  int x = at.x();
  int y = at.y();
  canvas.SetPenColour(kWhite);
  canvas.SetBrushClear();
  switch (kind) {
    case pkSite: {
      canvas.Ellipse(x - 4, y - 4, x + 5, y + 5);
      canvas.SetPixel(x, y, kWhite);
      canvas.SetFont(ZenFont(TFontFace::MsSansSerif, 8));
      if (lon > kSiteLabelFlipLonDeg) {
        canvas.TextOut(x - 6 - canvas.TextWidth(label), y - 6, label);
      } else {
        canvas.TextOut(x + 6, y - 6, label);
      }
      return;
    }
    case pkSun:
      DrawCentred(canvas, ForRatio(bitmaps.SunBitmap, bitmaps.SunSharp, canvas.DevicePixelRatio()),
                  x, y);
      return;
    case pkSat:
    case pkActiveSat:
      DrawSatSymbol(canvas, show, bitmaps, kind, at, eclipsed);
      break;
    default:
      return;
  }
  if (show.satNames) {
    canvas.SetBrushClear();
    const QRect box = MapSatLabels(map).Box(at, canvas.TextWidth(label), canvas.TextHeight(label));
    canvas.TextOut(box.left(), box.top(), label);
  }
}

}  // namespace zen
