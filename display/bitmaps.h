// The seven bitmaps of the Data folder, with the sharper drawings of the symbols and the logo
// for screens of high pixel density, loaded once at start and kept until exit.
#pragma once

#include <QImage>
#include <QString>
#include <array>

namespace zen {

struct TBitmaps {
  QImage WorldBitmap;  // map background, 600 x 360, opaque
  QImage SunBitmap;    // symbols: transparent where they carry their pixel (1, 1)
  QImage SatLitBitmap;
  QImage SatEclipsedBitmap;
  QImage SatActiveBitmap;
  QImage RadarBitmap;  // sky chart, opaque
  QImage LogoBitmap;   // opaque
  // Sharper drawings for 2 and 3 device pixels per pixel: [0] twice, [1] three times the size,
  // each with its device pixel ratio set (2, 3) and the same transparency as its base; null
  // when the file is missing.
  std::array<QImage, 2> SunSharp, SatLitSharp, SatEclipsedSharp, SatActiveSharp, LogoSharp;
};

// The files in load order, relative to the program folder.
inline constexpr const char* kBitmapFiles[] = {
    "Data/world.bmp", "Data/sun.bmp",   "Data/sat_i.bmp",    "Data/sat_e.bmp",
    "Data/sat_s.bmp", "Data/radar.bmp", "Data/zenarith.bmp",
};

// The sharper drawings, optional, each at twice and three times the size of its base: the
// symbols in the order of TBitmaps, then the logo.
inline constexpr const char* kSharpBitmapFiles[5][2] = {
    {"Data/sun@2x.bmp", "Data/sun@3x.bmp"},           {"Data/sat_i@2x.bmp", "Data/sat_i@3x.bmp"},
    {"Data/sat_e@2x.bmp", "Data/sat_e@3x.bmp"},       {"Data/sat_s@2x.bmp", "Data/sat_s@3x.bmp"},
    {"Data/zenarith@2x.bmp", "Data/zenarith@3x.bmp"},
};

// Every pixel of the colour at (1, 1) becomes fully transparent; the rest stays opaque.
// An image smaller than 2 x 2 has no such pixel and is returned opaque.
QImage WithTransparentColour(const QImage& bitmap);

struct TBitmapLoad {
  bool ok = false;
  QString failedFile;  // the file as named on disk, for the message
  QString reason;      // why it failed, one phrase
};

// Loads the seven files from programFolder in order, then the sharper drawings that are there;
// stops at the first that is missing (a sharper one may be), unreadable, or (for the world map)
// not 600 x 360 pixels, or (for a sharper one) not exactly twice or three times its base. On
// failure bitmaps is unchanged.
TBitmapLoad LoadBitmaps(const QString& programFolder, TBitmaps& bitmaps);

// The drawing to use at devicePixelRatio: the base at 1 or below, else the smallest sharper one
// at least as large as needed (the larger one when none is), else the base.
const QImage& ForRatio(const QImage& base, const std::array<QImage, 2>& sharp,
                       qreal devicePixelRatio);

// "Cannot load the bitmap <file>: <reason>."
QString BitmapErrorText(const TBitmapLoad& load);

}  // namespace zen
