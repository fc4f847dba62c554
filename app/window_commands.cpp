// The commands on the window as a whole: screen shots, help, minimize and exit.
#include "app/window_commands.h"

#include <utility>

#include "app/actions.h"
#include "display/screen_shot.h"

#include <QGuiApplication>
#include <QScreen>
#include <filesystem>
#include <vector>

#include "tracking/settings.h"
#include "tracking/text_file.h"
#include "tracking/window_settings.h"

namespace zen {

TWindowCommands::TWindowCommands(QWidget& window, std::function<const QImage&()> mapImage,
                                 UserDialogs& dialogs, QObject* parent)
    : QObject(parent), window_(window), mapImage_(std::move(mapImage)), dialogs_(dialogs) {
  screenShot = new QAction(QStringLiteral("Screen shot"), this);
  connect(screenShot, &QAction::triggered, this, [this] { ScreenShot(ShiftHeld()); });
  screenShotWhole = new QAction(QStringLiteral("Whole Screen"), this);
  connect(screenShotWhole, &QAction::triggered, this, [this] { ScreenShot(false); });
  screenShotMap = new QAction(QStringLiteral("Map Only"), this);
  connect(screenShotMap, &QAction::triggered, this, [this] { ScreenShot(true); });
  help = new QAction(QStringLiteral("Help"), this);
  connect(help, &QAction::triggered, this, &TWindowCommands::Help);
  minimize = new QAction(QStringLiteral("Minimalize"), this);
  connect(minimize, &QAction::triggered, &window_, &QWidget::showMinimized);
  fullScreen = new QAction(QStringLiteral("Full screen"), this);
  fullScreen->setCheckable(true);
  connect(fullScreen, &QAction::triggered, this, &TWindowCommands::ToggleFullScreen);
  exit = new QAction(QStringLiteral("Exit"), this);
  connect(exit, &QAction::triggered, &window_, &QWidget::close);
}

void TWindowCommands::ScreenShot(bool mapOnly) {
  if (beforeScreenShot) beforeScreenShot();
  QImage image = mapOnly ? mapImage_() : window_.grab(window_.rect()).toImage();
  if (afterScreenShot) afterScreenShot();
  TScreenShotResult result = SaveScreenShot(image, programFolder_, mapOnly);
  if (result.ok) {
    dialogs_.Inform(result.message);
  } else {
    dialogs_.ShowError(result.message);
  }
}

void TWindowCommands::CreateHelpWindow(const std::function<THelpWindow*()>& make) {
  try {
    helpWindow_ = make ? make() : new THelpWindow(&window_);
  } catch (...) {
    helpWindow_ = nullptr;
  }
}

void TWindowCommands::Help() {
  if (HelpUnavailable()) {
    dialogs_.Inform(
        QStringLiteral("Can't display Help System because of problem with Internet Explorer."));
    return;
  }
  helpWindow_->Open(programFolder_ + QStringLiteral("Help/index.htm"));
}

void TWindowCommands::ToggleFullScreen() {
  window_.setWindowState(window_.windowState() ^ Qt::WindowFullScreen);
  window_.show();
  WindowStateChanged();
}

void TWindowCommands::WindowStateChanged() {
  fullScreen->setChecked(window_.windowState().testFlag(Qt::WindowFullScreen));
}

namespace {

TWindowRect RectOf(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

}  // namespace

void TWindowCommands::KeepPlace() {
  if (programFolder_.isEmpty()) return;
  const std::filesystem::path file =
      std::filesystem::path(programFolder_.toStdString()) / kMainSettingsFile;
  TWindowSettings kept = ReadWindowSettings(file);
  const Qt::WindowStates state = window_.windowState();
  kept.maximized = state.testFlag(Qt::WindowMaximized);
  kept.fullScreen = state.testFlag(Qt::WindowFullScreen);
  // Maximised or full screen, the size to come back to is the normal one; a window that was
  // never normal this time keeps the one kept before.
  const QRect normal = kept.maximized || kept.fullScreen ? window_.normalGeometry()
                                                          : window_.geometry();
  if (normal.width() >= window_.minimumWidth() && normal.height() >= window_.minimumHeight()) {
    kept.normal = RectOf(normal);
    kept.kept = true;
  }
  try {
    WriteWindowSettings(file, kept);
  } catch (const TFileError&) {
    // The same file's main settings were just written; a failure there has been said.
  }
}

void TWindowCommands::ShowInKeptPlace() {
  const TWindowSettings kept =
      programFolder_.isEmpty()
          ? TWindowSettings{}
          : ReadWindowSettings(std::filesystem::path(programFolder_.toStdString()) /
                               kMainSettingsFile);
  std::vector<TWindowRect> screens;
  size_t primary = 0;
  const QList<QScreen*> present = QGuiApplication::screens();
  for (QScreen* screen : present) {
    if (screen == QGuiApplication::primaryScreen()) primary = screens.size();
    screens.push_back(RectOf(screen->availableGeometry()));
  }
  const TWindowRect place = PlaceWindow(kept, screens, primary, window_.minimumWidth(),
                                        window_.minimumHeight());
  window_.setGeometry(place.x, place.y, place.width, place.height);
  if (kept.fullScreen) {
    window_.showFullScreen();
  } else if (kept.maximized) {
    window_.showMaximized();
  } else {
    window_.show();
  }
  WindowStateChanged();
}

}  // namespace zen
