// Screen shots: the window or the map saved as the next numbered bitmap in the Output folder.
#pragma once

#include <QImage>
#include <QString>

namespace zen {

inline constexpr int kLastScreenShotNumber = 999;

// "<folder>/ScrSavNNN.bmp" for the first NNN from 000 whose file does not exist; when all up
// to 998 exist, 999, which is then overwritten.
QString ScreenShotFileName(const QString& outputFolder);

struct TScreenShotResult {
  bool ok = false;
  QString file;     // the file written, or the one that could not be
  QString message;  // the confirmation on success, else the error naming file and reason
};

// Saves image as a BMP into programFolder's "Output" folder, through a temporary file renamed
// into place, so a failed save leaves every file on disk as it was. The window shows the
// message in an information box titled "Zenarith" on success and a warning otherwise; mapOnly
// only chooses the wording. The window passes the map image (630 x 390) for the map alone,
// else a grab of its client area, and hides the quick-menu button before grabbing.
TScreenShotResult SaveScreenShot(const QImage& image, const QString& programFolder, bool mapOnly);

}  // namespace zen
