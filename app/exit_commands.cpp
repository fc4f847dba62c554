// Leaving the program: the location list and the user's choices are kept, or left behind only
// when the user says so, then the main file and, with "Auto save", the settings "default" are
// written.
#include "app/exit_commands.h"

#include <QCoreApplication>

namespace zen {

QString SaveBeforeExitQuestion(const std::vector<std::string>& changes) {
  QString named;
  for (size_t i = 0; i < changes.size(); ++i) {
    if (i > 0) named += i + 1 == changes.size() ? QStringLiteral(" and ") : QStringLiteral(", ");
    named += QString::fromStdString(changes[i]);
  }
  return QStringLiteral("Save the changes to the settings \"default\" before exiting?\n"
                        "Changed since they were saved: ") +
         named + QStringLiteral(".\nThe next start loads \"default\".");
}

TExitCommands::TExitCommands(TSettingsCommands& settings, TLocationCommands& location,
                             TTimeCommands& time, UserDialogs& dialogs, QObject* parent)
    : QObject(parent), settings_(settings), location_(location), time_(time), dialogs_(dialogs) {}

bool TExitCommands::FormCloseQuery() {
  settings_.SettleLoads();
  if (notesKept && !notesKept()) return false;
  // A changed location database is saved before the question, whatever the answer. One that
  // cannot be saved is only left behind when the user says so.
  switch (location_.SaveBeforeExit()) {
    case TLocationCommands::TExitSave::Stay:
      return false;
    case TLocationCommands::TExitSave::LeaveUnsaved:
      return true;
    case TLocationCommands::TExitSave::Saved:
      break;
  }
  const std::vector<std::string> changes =
      settings_.autoSave->isChecked() ? std::vector<std::string>{} : settings_.ChangedSinceDefault();
  if (changes.empty()) return dialogs_.Ask(QStringLiteral("Do you really want to exit?"));
  switch (dialogs_.AskYesNoCancel(SaveBeforeExitQuestion(changes))) {
    case TAnswer::Yes:
      // A save that fails has been said; the window stays so that nothing is lost unasked.
      return settings_.SejwujSetUp("default", TSaveChoice::SatellitesAndOptions);
    case TAnswer::No:
      return true;
    case TAnswer::Cancel:
      break;
  }
  return false;
}

void TExitCommands::FormClose() {
  settings_.SettleLoads();
  time_.StopTimers();
  // A file that cannot be written is said and the exit goes on; the previous copy stays whole.
  settings_.sejwujSetUpMain();
  // The save dialog's last choice belongs to that save; the start needs the whole state. A
  // "default" that still holds the state is left as it is, with the satellites it names that
  // the element file lacked this time.
  if (settings_.autoSave->isChecked() && !settings_.ChangedSinceDefault().empty()) {
    settings_.SejwujSetUp("default", TSaveChoice::SatellitesAndOptions);
  }
  QCoreApplication::quit();
}

}  // namespace zen
