// The commands on the window as a whole: screen shots, help, minimize and exit.
#include "app/window_commands.h"

#include <utility>

#include "app/actions.h"
#include "display/screen_shot.h"

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

}  // namespace zen
