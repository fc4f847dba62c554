// Screen shots: the window or the map saved as the next numbered bitmap in the Output folder.
#include "display/screen_shot.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>

#include "core/timescale.h"
#include "tracking/text_file.h"

namespace zen {

QString ScreenShotFileName(const QString& outputFolder) {
  const QDir folder(outputFolder);
  QString path;
  for (int n = 0; n <= kLastScreenShotNumber; ++n) {
    path = folder.filePath(QStringLiteral("ScrSav") +
                           QString::fromStdString(ThreeDigits(static_cast<unsigned>(n))) +
                           QStringLiteral(".bmp"));
    if (!QFileInfo::exists(path)) break;
  }
  return path;
}

TScreenShotResult SaveScreenShot(const QImage& image, const QString& programFolder, bool mapOnly) {
  TScreenShotResult result;
  result.file = ScreenShotFileName(QDir(programFolder).filePath(QStringLiteral("Output")));
  QString reason;
  if (image.isNull()) {
    reason = QStringLiteral("there is no picture to save");
  } else {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    std::string error;
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "BMP")) {
      reason = QStringLiteral("the bitmap could not be made");
    } else if (!WriteFileBytes(result.file.toStdString(),
                               std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())),
                               error)) {
      reason = QString::fromStdString(error);
    }
  }
  if (!reason.isEmpty()) {
    result.message = QStringLiteral("Cannot save the screen shot %1: %2.").arg(result.file, reason);
    return result;
  }
  result.ok = true;
  result.message =
      (mapOnly ? QStringLiteral("Map grabbed to:") : QStringLiteral("Screen grabbed to:")) +
      QLatin1Char('\n') + result.file;
  return result;
}

}  // namespace zen
