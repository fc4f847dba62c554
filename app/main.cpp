// Program entry: command words run without a window; otherwise the main window opens.
#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/single_instance.h"
#include "app/user_dialogs.h"
#include "cli/command_output.h"
#include "cli/commands.h"
#include "cli/program_home.h"
#include "cli/start_options.h"
#include "cli/track_words.h"
#include "cli/update_words.h"
#include "station/track_command.h"
#include "update/update_command.h"

namespace {

bool DisplayAvailable() {
  auto set = [](const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr && *v != '\0';
  };
  return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char** argv) {
  using zen::cli::TStartOptions;
  // The update command needs the network, which the command layer leaves to the program.
  zen::cli::SetUpdateRunner(&zen::RunUpdateCommand);
  // So does driving the station's rotator and radios.
  zen::cli::SetTrackRunner(&zen::station::RunTrackCommand);
  std::vector<std::string> args(argv + 1, argv + argc);
  TStartOptions options = zen::cli::ParseStartOptions(args);

  switch (options.action) {
    case TStartOptions::Action::ShowHelp:
    case TStartOptions::Action::ShowVersion: {
      // A full disk or a closed pipe is an error here too, not a silent success.
      zen::cli::TOutputLines out("zenarith", std::cout, std::cerr);
      std::string text = options.action == TStartOptions::Action::ShowHelp
                             ? zen::cli::UsageText()
                             : zen::cli::VersionText() + "\n";
      if (!text.empty() && text.back() == '\n') text.pop_back();
      out.Write(text);
      return out.Finish() ? 0 : 1;
    }
    case TStartOptions::Action::Error:
      std::cerr << "zenarith: " << options.error << "\n"
                << "Run 'zenarith --help' for the options and commands.\n";
      return 2;
    case TStartOptions::Action::RunCommand:
      return zen::cli::FindCommand(options.command)->run(options.commandArgs, std::cout, std::cerr);
    case TStartOptions::Action::OpenWindow:
      break;
  }

  if (!DisplayAvailable()) {
    std::cerr << "Zenarith needs a graphical display, and none was found "
                 "(DISPLAY and WAYLAND_DISPLAY are unset).\n"
                 "Run it from a desktop session, or under a virtual display:\n"
                 "    xvfb-run -a -s \"-screen 0 1024x768x24\" zenarith\n"
                 "The command-line commands need no display; see zenarith --help.\n";
    return 2;
  }

  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Zenarith"));
  // Ties the windows to the installed menu entry and its icon; a copy that is not installed
  // finds no such icon and keeps the plain window.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.zenarith.Zenarith"));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.zenarith.Zenarith")));
  // The one style that follows the window's dark palette everywhere.
  QApplication::setStyle(QStringLiteral("Fusion"));
  zen::TQtUserDialogs dialogs;
  const zen::cli::THomeChoice home = zen::cli::ChooseHome(zen::cli::CurrentHomeFacts(options.home));
  if (home.kind == zen::cli::THomeChoice::Kind::Unknown) {
    dialogs.ShowError(QString::fromStdString(home.error));
    return 1;
  }
  zen::TStartContext start;
  start.programFolder = QString::fromStdString(home.folder.string());
  if (home.kind == zen::cli::THomeChoice::Kind::UserFolder) {
    start.shippedData = QString::fromStdString(home.shippedData.string());
  }
  start.lockFolder = zen::DefaultLockFolder();
  // Made absolute now: the program folder becomes the working folder at start-up.
  if (!options.elementFile.empty()) {
    start.elementFile = QFileInfo(QString::fromStdString(options.elementFile)).absoluteFilePath();
  }
  start.trackIds = options.trackIds;
  start.trackAll = options.trackAll;
  zen::TMainWindow window(start, dialogs);
  if (!window.Initialized()) return window.StopCode();
  dialogs.SetParent(&window);
  // The window has made the search progress dialog and the help window; the save-settings
  // dialog is made at each use.
  window.ShowAsPlanned();
  return application.exec();
}
