// The map's fixed background: black frame, coordinate labels, compass letters, world bitmap.
#include "display/map_background.h"

#include <cstdlib>

#include "display/colours.h"
#include "display/fonts.h"
#include "display/projection.h"

namespace zen {

namespace {

struct TCompassLetter {
  const char* letter;
  int x;
  int y;
};

// Either side of Greenwich and of the equator, and near the map's corners.
constexpr TCompassLetter kCompassLetters[] = {
    {"W", 290, 3}, {"E", 335, 3}, {"W", 37, 3}, {"E", 588, 3},
    {"N", 5, 165}, {"S", 5, 220}, {"N", 5, 37}, {"S", 5, 343},
};

}  // namespace

void DrawMapBackground(TCanvas& canvas, const QImage& worldBitmap) {
  canvas.SetBrushSolid(kBlack);
  canvas.FillRect(0, 0, canvas.Width(), canvas.Height());
  canvas.SetFont(ZenFont(TFontFace::MsSerif, 6));
  canvas.SetFontColour(kWhite);
  for (int i = 0; i <= 12; ++i) {
    QString text = QString::number(std::abs(30 * i - 180));
    canvas.TextOut(50 * i + MapLeft - canvas.TextWidth(text) / 2, 3, text);
  }
  for (int i = 1; i <= 5; ++i) {
    QString text = QString::number(std::abs(30 * i - 90));
    canvas.TextOut(7 - (text.size() / 2) * 5, 60 * i + 11, text);
  }
  canvas.SetFontColour(kCompassColour);
  for (const TCompassLetter& c : kCompassLetters) {
    canvas.TextOut(c.x, c.y, QString::fromLatin1(c.letter));
  }
  canvas.SetFontColour(kWhite);
  canvas.Draw(MapLeft, MapLeft, worldBitmap);
}

void DrawCentredOnBlack(TCanvas& canvas, const QImage& bitmap) {
  canvas.SetBrushSolid(kBlack);
  canvas.FillRect(0, 0, canvas.Width(), canvas.Height());
  canvas.Draw(canvas.Width() / 2 - bitmap.width() / 2, canvas.Height() / 2 - bitmap.height() / 2,
              bitmap);
}

}  // namespace zen
