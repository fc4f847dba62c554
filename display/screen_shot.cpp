// Screen shots: the window or the map saved as the next numbered bitmap in the Output folder.
#include "display/screen_shot.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include "core/timescale.h"

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
    QSaveFile out(result.file);
    if (!out.open(QIODevice::WriteOnly)) {
      reason = out.errorString();
    } else if (!image.save(&out, "BMP")) {
      reason = out.error() != QFileDevice::NoError
                   ? out.errorString()
                   : QStringLiteral("the bitmap could not be written");
      out.cancelWriting();
    } else if (!out.commit()) {
      reason = out.errorString();
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
