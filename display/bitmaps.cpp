// The seven bitmaps of the Data folder and the sharper drawings, loaded once at start and kept
// until exit.
#include "display/bitmaps.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <array>

#include "core/file_access.h"
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
  std::string bytes;
  try {
    bytes = ReadFileBytes(path.toStdString(), kDataFileLimit);
  } catch (const TFileError& error) {
    load.reason = QStringLiteral("the file cannot be read (%1)")
                      .arg(QString::fromStdString(error.Reason()));
    return false;
  }
  QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QBuffer buffer(&data);
  QImageReader reader(&buffer, "bmp");
  image = reader.read();
  if (image.isNull()) {
    load.reason =
        QStringLiteral("the file is not a readable BMP image (%1)").arg(reader.errorString());
    return false;
  }
  return true;
}

// The sharper drawings of one base, made like it (prepare) and marked with their ratio. A
// missing file leaves its drawing null.
bool ReadSharp(const QString& programFolder, const char* const (&names)[2], const QImage& base,
               QImage (*prepare)(const QImage&), std::array<QImage, 2>& sharp, TBitmapLoad& load) {
  for (int i = 0; i < 2; ++i) {
    const int ratio = i + 2;
    sharp[i] = QImage();
    if (!QFileInfo::exists(QDir(programFolder).filePath(QString::fromLatin1(names[i])))) continue;
    QImage image;
    if (!ReadOne(programFolder, names[i], image, load)) return false;
    if (image.size() != base.size() * ratio) {
      load.reason = QStringLiteral(
                        "the drawing must be %1 x %2 pixels, %3 times its base, "
                        "this one is %4 x %5")
                        .arg(base.width() * ratio)
                        .arg(base.height() * ratio)
                        .arg(ratio)
                        .arg(image.width())
                        .arg(image.height());
      return false;
    }
    sharp[i] = prepare(image);
    sharp[i].setDevicePixelRatio(ratio);
  }
  return true;
}

QImage Opaque(const QImage& image) {
  return image.convertToFormat(QImage::Format_RGB32);
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
  TBitmaps loaded;
  loaded.WorldBitmap = Opaque(images[0]);
  loaded.SunBitmap = WithTransparentColour(images[1]);
  loaded.SatLitBitmap = WithTransparentColour(images[2]);
  loaded.SatEclipsedBitmap = WithTransparentColour(images[3]);
  loaded.SatActiveBitmap = WithTransparentColour(images[4]);
  loaded.RadarBitmap = Opaque(images[5]);
  loaded.LogoBitmap = Opaque(images[6]);
  const struct {
    const QImage& base;
    std::array<QImage, 2>& sharp;
    QImage (*prepare)(const QImage&);
  } sharper[] = {
      {images[1], loaded.SunSharp, WithTransparentColour},
      {images[2], loaded.SatLitSharp, WithTransparentColour},
      {images[3], loaded.SatEclipsedSharp, WithTransparentColour},
      {images[4], loaded.SatActiveSharp, WithTransparentColour},
      {images[6], loaded.LogoSharp, Opaque},
  };
  for (size_t i = 0; i < std::size(sharper); ++i) {
    const auto& s = sharper[i];
    if (!ReadSharp(programFolder, kSharpBitmapFiles[i], s.base, s.prepare, s.sharp, load)) {
      return load;
    }
  }
  bitmaps = std::move(loaded);
  load.ok = true;
  load.failedFile.clear();
  return load;
}

const QImage& ForRatio(const QImage& base, const std::array<QImage, 2>& sharp,
                       qreal devicePixelRatio) {
  if (devicePixelRatio <= 1.0) return base;
  const QImage* larger = nullptr;  // the largest present, when none is large enough
  for (size_t i = 0; i < sharp.size(); ++i) {
    if (sharp[i].isNull()) continue;
    if (static_cast<qreal>(i + 2) >= devicePixelRatio) return sharp[i];
    larger = &sharp[i];
  }
  return larger != nullptr ? *larger : base;
}

QString BitmapErrorText(const TBitmapLoad& load) {
  return QStringLiteral("Cannot load the bitmap %1: %2.").arg(load.failedFile, load.reason);
}

}  // namespace zen
