// The program's font faces, with the installed families that stand in for them.
#pragma once

#include <QFont>
#include <QString>

namespace zen {

enum class TFontFace { MsSansSerif, MsSerif, SansSherif, Courier };

// The face's own family when installed, else the first installed stand-in.
QString FontFamily(TFontFace face);

// Sizes in points are for a 96-dot-per-inch screen; the font is set in pixels so text
// measures the same on a screen and in an off-screen image.
int PointsToPixels(int points);
QFont ZenFont(TFontFace face, int points, bool bold = false);
QFont ZenFontPixels(TFontFace face, int pixels, bool bold = false);

}  // namespace zen
