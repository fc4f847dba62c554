// Leaving the program: the location list and the user's choices are kept, or left behind only
// when the user says so, then the main file and, with "Auto save", the settings "default" are
// written.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "app/location_commands.h"
#include "app/settings_commands.h"
#include "app/time_commands.h"
#include "app/user_dialogs.h"

namespace zen {

// "Save the changes to the settings "default" before exiting?" with the changes named.
QString SaveBeforeExitQuestion(const std::vector<std::string>& changes);

class TExitCommands : public QObject {
  Q_OBJECT

 public:
  TExitCommands(TSettingsCommands& settings, TLocationCommands& location, TTimeCommands& time,
                UserDialogs& dialogs, QObject* parent = nullptr);

  // True when the window may close. A changed location list is saved first. Without "Auto
  // save", choices that differ from "default" are offered for saving (Yes saves, No leaves
  // them, Cancel stays); otherwise "Do you really want to exit?".
  bool FormCloseQuery();
  // Asked first by FormCloseQuery: false keeps the window (notes that cannot be saved, and the
  // user would rather keep them).
  std::function<bool()> notesKept;
  // Stops the timers, writes the main file and, with "Auto save", "default" when it no longer
  // holds the state; then ends the event loop.
  void FormClose();

 private:
  TSettingsCommands& settings_;
  TLocationCommands& location_;
  TTimeCommands& time_;
  UserDialogs& dialogs_;
};

}  // namespace zen
