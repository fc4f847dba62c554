// The program's font faces, with the installed families that stand in for them.
#include "display/fonts.h"

#include <QFontDatabase>
#include <QStringList>
#include <array>

namespace zen {

namespace {

QStringList Candidates(TFontFace face) {
  // The small screen faces are sans faces in practice, "MS Serif" included: at 6 points a
  // serif face is hard to read, so it takes the sans stand-ins.
  switch (face) {
    case TFontFace::MsSansSerif:
      return {"MS Sans Serif", "Liberation Sans", "DejaVu Sans"};
    case TFontFace::MsSerif:
      return {"MS Serif", "Liberation Sans", "DejaVu Sans"};
    case TFontFace::SansSherif:
      return {"Sans Sherif", "Liberation Sans", "DejaVu Sans"};
    case TFontFace::Courier:
      return {"Courier", "Liberation Mono", "DejaVu Sans Mono"};
  }
  return {"DejaVu Sans"};
}

QString ResolveFamily(TFontFace face) {
  QStringList candidates = Candidates(face);
  for (const QString& family : candidates) {
    if (QFontDatabase::hasFamily(family)) return family;
  }
  // Nothing installed by these names: let the font matcher pick its nearest.
  return candidates.back();
}

}  // namespace

QString FontFamily(TFontFace face) {
  // Asking the font database about a family that is not installed costs a fontconfig search
  // (about a quarter of a millisecond), and every label of a redraw asks: look each face up
  // once per run.
  static const std::array<QString, 4> families = {
      ResolveFamily(TFontFace::MsSansSerif), ResolveFamily(TFontFace::MsSerif),
      ResolveFamily(TFontFace::SansSherif), ResolveFamily(TFontFace::Courier)};
  return families[static_cast<size_t>(face)];
}

int PointsToPixels(int points) {
  return (points * 96 + 36) / 72;
}

QFont ZenFontPixels(TFontFace face, int pixels, bool bold) {
  QFont font(FontFamily(face));
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

QFont ZenFont(TFontFace face, int points, bool bold) {
  return ZenFontPixels(face, PointsToPixels(points), bold);
}

}  // namespace zen
