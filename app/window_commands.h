// The commands on the window as a whole: screen shots, help, minimize and exit.
#pragma once

#include <QAction>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

#include "app/user_dialogs.h"
#include "help/help_window.h"

namespace zen {

class TWindowCommands : public QObject {
  Q_OBJECT

 public:
  // window is the main window; mapImage gives the map alone.
  TWindowCommands(QWidget& window, std::function<const QImage&()> mapImage, UserDialogs& dialogs,
                  QObject* parent = nullptr);

  void SetProgramFolder(const QString& folder) { programFolder_ = folder; }
  // Run before the window is grabbed and after (the quick-menu button hides meanwhile).
  std::function<void()> beforeScreenShot;
  std::function<void()> afterScreenShot;

  // "Screen shot" as its button presses it: with Shift held, the map only.
  QAction* screenShot;
  QAction* screenShotWhole;
  QAction* screenShotMap;
  QAction* help;
  QAction* minimize;
  // Checked while the window fills the screen without its frame; leaving comes back to the
  // size or the maximised state it had.
  QAction* fullScreen;
  QAction* exit;

  // The whole client area, or with mapOnly the map, as the next numbered bitmap in "Output".
  void ScreenShot(bool mapOnly);
  // Made once at start-up, after the other windows, by make (the real help window when
  // empty). A failure is no reason to stop: the Help command then only says so.
  void CreateHelpWindow(const std::function<THelpWindow*()>& make = {});
  // The help window at the page last viewed (the start page the first time), modally.
  void Help();
  void ToggleFullScreen();
  // The window's size, place and state, kept in the main settings file at exit and taken
  // again at start. A place on no present screen gives way to the primary screen's centre.
  void KeepPlace();
  void ShowInKeptPlace();
  // The window tells its state changed (maximised, full screen).
  void WindowStateChanged();
  bool HelpUnavailable() const { return helpWindow_.isNull(); }
  THelpWindow* HelpWindow() const { return helpWindow_; }

 private:
  QWidget& window_;
  std::function<const QImage&()> mapImage_;
  UserDialogs& dialogs_;
  QString programFolder_;
  QPointer<THelpWindow> helpWindow_;
};

}  // namespace zen
