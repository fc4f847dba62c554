// The map's fixed background: black frame, coordinate labels, compass letters, world bitmap.
#include "display/map_background.h"

#include <cstdlib>

#include "display/colours.h"
#include "display/fonts.h"
#include "display/projection.h"

namespace zen {

namespace {

// A compass letter beside a labelled line: offsets from an anchor of the map area, as the
// documented map places them (W at 290 and E at 335 round Greenwich at 315, and so on).
enum class TAnchor { Left, Greenwich, Right, Top, Equator, Bottom };

struct TCompassLetter {
  const char* letter;
  TAnchor anchor;
  int offset;  // along the anchor's axis
};

constexpr TCompassLetter kTopLetters[] = {
    {"W", TAnchor::Greenwich, -25}, {"E", TAnchor::Greenwich, 20},
    {"W", TAnchor::Left, 22},       {"E", TAnchor::Right, -27},
};
constexpr TCompassLetter kSideLetters[] = {
    {"N", TAnchor::Equator, -30}, {"S", TAnchor::Equator, 25},
    {"N", TAnchor::Top, 22},      {"S", TAnchor::Bottom, -32},
};

int AnchorOf(const TMapGeometry& map, TAnchor anchor) {
  switch (anchor) {
    case TAnchor::Left: return map.left;
    case TAnchor::Greenwich: return map.MeridianX(0.0);
    case TAnchor::Right: return map.Right();
    case TAnchor::Top: return map.top;
    case TAnchor::Equator: return map.ParallelY(0.0);
    case TAnchor::Bottom: return map.Bottom();
  }
  return 0;
}

// The labels sit in the margin: 12 pixels above the area, 10 left of it.
constexpr int kTopLabelRise = 12;
constexpr int kSideLetterGap = 10;

}  // namespace

void DrawMapBackground(TCanvas& canvas, const QImage& worldBitmap, const QImage* largeWorld) {
  const TMapGeometry map = MapGeometryFor(canvas.Width(), canvas.Height());
  canvas.SetBrushSolid(kBlack);
  canvas.FillRect(0, 0, canvas.Width(), canvas.Height());
  canvas.SetFont(ZenFont(TFontFace::MsSerif, 6));
  canvas.SetFontColour(kWhite);
  const int labelTop = map.top - kTopLabelRise;
  for (int i = 0; i <= 12; ++i) {
    QString text = QString::number(std::abs(30 * i - 180));
    canvas.TextOut(map.MeridianX(30.0 * i - 180.0) - canvas.TextWidth(text) / 2, labelTop, text);
  }
  for (int i = 1; i <= 5; ++i) {
    QString text = QString::number(std::abs(30 * i - 90));
    canvas.TextOut(map.left - 8 - (text.size() / 2) * 5, map.ParallelY(90.0 - 30.0 * i) - 4, text);
  }
  canvas.SetFontColour(kCompassColour);
  for (const TCompassLetter& c : kTopLetters) {
    canvas.TextOut(AnchorOf(map, c.anchor) + c.offset, labelTop, QString::fromLatin1(c.letter));
  }
  for (const TCompassLetter& c : kSideLetters) {
    canvas.TextOut(map.left - kSideLetterGap, AnchorOf(map, c.anchor) + c.offset,
                   QString::fromLatin1(c.letter));
  }
  canvas.SetFontColour(kWhite);
  if (IsDocumentedMap(canvas.Width(), canvas.Height(), canvas.DevicePixelRatio())) {
    canvas.Draw(map.left, map.top, worldBitmap);
  } else if (largeWorld != nullptr && !largeWorld->isNull() &&
             largeWorld->deviceIndependentSize().toSize() == QSize(map.width, map.height)) {
    canvas.Draw(map.left, map.top, *largeWorld);
  } else {
    // Without a world drawn for this size, the bitmap stands in, smoothed.
    canvas.DrawStretched(QRect(map.left, map.top, map.width, map.height), worldBitmap);
  }
}

void DrawCentredOnBlack(TCanvas& canvas, const QImage& bitmap) {
  canvas.SetBrushSolid(kBlack);
  canvas.FillRect(0, 0, canvas.Width(), canvas.Height());
  const QSize size = bitmap.deviceIndependentSize().toSize();
  canvas.Draw(canvas.Width() / 2 - size.width() / 2, canvas.Height() / 2 - size.height() / 2,
              bitmap);
}

}  // namespace zen
