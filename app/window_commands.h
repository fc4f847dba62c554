// The commands on the window as a whole: screen shots, help, minimize and exit.
#pragma once

#include <QAction>
#include <QImage>
#include <QObject>
#include <QString>
#include <QWidget>
#include <functional>

#include "app/user_dialogs.h"

namespace zen {

class TWindowCommands : public QObject {
  Q_OBJECT

 public:
  // window is the main window; mapImage gives the map alone.
  TWindowCommands(QWidget& window, std::function<const QImage&()> mapImage, UserDialogs& dialogs,
                  QObject* parent = nullptr);

  void SetProgramFolder(const QString& folder) { programFolder_ = folder; }
  // Runs before the window is grabbed (the quick-menu button hides).
  std::function<void()> beforeScreenShot;

  // "Screen shot" as its button presses it: with Shift held, the map only.
  QAction* screenShot;
  QAction* screenShotWhole;
  QAction* screenShotMap;
  QAction* help;
  QAction* minimize;
  QAction* exit;

  // The whole client area, or with mapOnly the map, as the next numbered bitmap in "Output".
  void ScreenShot(bool mapOnly);
  void Help();
  bool HelpUnavailable() const { return helpUnavailable_; }

 private:
  QWidget& window_;
  std::function<const QImage&()> mapImage_;
  UserDialogs& dialogs_;
  QString programFolder_;
  // No help window exists yet, so the Help command can only say so.
  bool helpUnavailable_ = true;
};

}  // namespace zen
