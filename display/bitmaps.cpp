// The seven bitmaps of the Data folder, loaded once at start and kept until exit.
#include "display/bitmaps.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <array>

#include "display/projection.h"

namespace zen {

QImage WithTransparentColour(const QImage& bitmap) {
  QImage result = bitmap.convertToFormat(QImage::Format_ARGB32);
  if (result.width() < 2 || result.height() < 2) return result;
  QRgb key = result.pixel(1, 1) | 0xFF000000u;
  for (int y = 0; y < result.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
    for (int x = 0; x < result.width(); ++x) {
      line[x] = (line[x] | 0xFF000000u) == key ? 0u : (line[x] | 0xFF000000u);
    }
  }
  return result;
}

namespace {

bool ReadOne(const QString& programFolder, const char* name, QImage& image, TBitmapLoad& load) {
  QString path = QDir(programFolder).filePath(QString::fromLatin1(name));
  load.failedFile = QDir::toNativeSeparators(QDir::cleanPath(path));
  QFileInfo info(path);
  if (!info.exists()) {
    load.reason = QStringLiteral("the file is missing");
    return false;
  }
  if (!info.isFile() || !info.isReadable()) {
    load.reason = QStringLiteral("the file cannot be read");
    return false;
  }
  QImageReader reader(path, "bmp");
  image = reader.read();
  if (image.isNull()) {
    load.reason =
        QStringLiteral("the file is not a readable BMP image (%1)").arg(reader.errorString());
    return false;
  }
  return true;
}

}  // namespace

TBitmapLoad LoadBitmaps(const QString& programFolder, TBitmaps& bitmaps) {
  TBitmapLoad load;
  std::array<QImage, 7> images;
  for (size_t i = 0; i < images.size(); ++i) {
    if (!ReadOne(programFolder, kBitmapFiles[i], images[i], load)) return load;
  }
  if (images[0].width() != kMapAreaWidth || images[0].height() != kMapAreaHeight) {
    // Every position on the map assumes this size; another size would misplace everything.
    load.failedFile = QDir::toNativeSeparators(QDir(programFolder).filePath(kBitmapFiles[0]));
    load.reason = QStringLiteral("the map must be %1 x %2 pixels, this one is %3 x %4")
                      .arg(kMapAreaWidth)
                      .arg(kMapAreaHeight)
                      .arg(images[0].width())
                      .arg(images[0].height());
    return load;
  }
  bitmaps.WorldBitmap = images[0].convertToFormat(QImage::Format_RGB32);
  bitmaps.SunBitmap = WithTransparentColour(images[1]);
  bitmaps.SatLitBitmap = WithTransparentColour(images[2]);
  bitmaps.SatEclipsedBitmap = WithTransparentColour(images[3]);
  bitmaps.SatActiveBitmap = WithTransparentColour(images[4]);
  bitmaps.RadarBitmap = images[5].convertToFormat(QImage::Format_RGB32);
  bitmaps.LogoBitmap = images[6].convertToFormat(QImage::Format_RGB32);
  load.ok = true;
  load.failedFile.clear();
  return load;
}

QString BitmapErrorText(const TBitmapLoad& load) {
  return QStringLiteral("Cannot load the bitmap %1: %2.").arg(load.failedFile, load.reason);
}

}  // namespace zen
