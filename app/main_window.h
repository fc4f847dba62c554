// The main window: a fixed 800 x 600 client area that shows the tracker.
#pragma once

#include <QString>
#include <QWidget>

namespace zen {

class TMainWindow : public QWidget {
  Q_OBJECT

 public:
  explicit TMainWindow(const QString& programFolder, QWidget* parent = nullptr);

  const QString& ProgramFolder() const { return programFolder_; }

 private:
  QString programFolder_;
};

}  // namespace zen
