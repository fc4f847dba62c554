// The main window: a fixed 800 x 600 client area that shows the tracker.
#include "app/main_window.h"

#include <QPalette>

namespace zen {

TMainWindow::TMainWindow(const QString& programFolder, QWidget* parent)
    : QWidget(parent), programFolder_(programFolder) {
  setWindowTitle(QStringLiteral("Zenarith"));
  setFixedSize(800, 600);
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::black);
  setPalette(p);
  setAutoFillBackground(true);
}

}  // namespace zen
