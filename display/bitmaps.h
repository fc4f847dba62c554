// The seven bitmaps of the Data folder, loaded once at start and kept until exit.
#pragma once

#include <QImage>
#include <QString>

namespace zen {

struct TBitmaps {
  QImage WorldBitmap;  // map background, 600 x 360, opaque
  QImage SunBitmap;    // symbols: transparent where they carry their pixel (1, 1)
  QImage SatLitBitmap;
  QImage SatEclipsedBitmap;
  QImage SatActiveBitmap;
  QImage RadarBitmap;  // sky chart, opaque
  QImage LogoBitmap;   // opaque
};

// The files in load order, relative to the program folder.
inline constexpr const char* kBitmapFiles[] = {
    "Data/world.bmp", "Data/sun.bmp",   "Data/sat_i.bmp",    "Data/sat_e.bmp",
    "Data/sat_s.bmp", "Data/radar.bmp", "Data/zenarith.bmp",
};

// Every pixel of the colour at (1, 1) becomes fully transparent; the rest stays opaque.
// An image smaller than 2 x 2 has no such pixel and is returned opaque.
QImage WithTransparentColour(const QImage& bitmap);

struct TBitmapLoad {
  bool ok = false;
  QString failedFile;  // the file as named on disk, for the message
  QString reason;      // why it failed, one phrase
};

// Loads the seven files from programFolder in order; stops at the first that is missing,
// unreadable or (for the world map) not 600 x 360 pixels. On failure bitmaps is unchanged.
TBitmapLoad LoadBitmaps(const QString& programFolder, TBitmaps& bitmaps);

// "Cannot load the bitmap <file>: <reason>."
QString BitmapErrorText(const TBitmapLoad& load);

}  // namespace zen
