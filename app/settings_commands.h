// The settings commands: the main file and named settings files read and written at start,
// at exit and by "Load..." and "Save...", and the "Auto save" choice.
#pragma once

#include <QAction>
#include <QObject>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/time_commands.h"
#include "app/tracker.h"
#include "app/tracking_commands.h"
#include "app/user_dialogs.h"
#include "tracking/settings.h"

namespace zen {

class TSettingsCommands : public QObject {
  Q_OBJECT

 public:
  TSettingsCommands(TTracker& tracker, TTimeCommands& time, TTrackingCommands& tracking,
                    UserDialogs& dialogs, std::function<double()> detectedOffset,
                    QObject* parent = nullptr);

  void SetProgramFolder(const QString& folder) { programFolder_ = folder; }
  // Shows and hides the "Loading..." notice around a load.
  std::function<void()> busyStarts;
  std::function<void()> busyEnds;
  // The site a "Load..." brought is shown in the site fields.
  std::function<void()> siteLoaded;

  QAction* loadSettings;  // "Load..." and the menu's "Load Settings..."
  QAction* saveSettings;  // "Save..." and the menu's "Save Settings..."
  QAction* autoSave;      // "Auto save": "default" is written at exit

  // The save dialog's choice, kept for the life of the program.
  TSaveChoice SaveChoice() const { return saveChoice_; }
  // "Setup/<name>.ini" of the settings last loaded.
  const QString& SettingsFileName() const { return settingsFileName_; }

  // The main file: "Auto save" and the UTC offset.
  void zapodawajSetUpMain();
  // True once, at the first start in a program folder whose main file did not yet say the
  // program had started there; the file then says so, so the next start is not a first one.
  // False when the file could not be read or marked.
  bool TakeFirstStart();
  // False when the file could not be written; the user has been told why.
  bool sejwujSetUpMain();
  // Reads "Setup/<name>.ini" into the model (options only when the file is not marked "Only
  // satellites", unless it is "default"), then loads its element file. Does not compute.
  void zapodawajSetUp(const std::string& name);
  // Writes "Setup/<name>.ini" carrying what choice says; false (and told) on failure. The save
  // at exit always carries the whole state.
  bool SejwujSetUp(const std::string& name,
                   TSaveChoice choice = TSaveChoice::SatellitesAndOptions);

  // Why settings files read at start could not be read (each a line naming the file), for the
  // start to tell; empty when all could, or were missing.
  const QStringList& StartProblems() const { return startProblems_; }

  // Takes the state now as what the settings "default" hold: once the start has applied them.
  // Every write of "default" does the same.
  void RememberDefault();
  // Takes over the element files still being read, so that the model is whole: before a save
  // and before the exit compares.
  void SettleLoads() { tracking_.FinishLoading(); }
  // What the state now holds that "default" does not (see SettingsChanges); empty when
  // nothing.
  std::vector<std::string> ChangedSinceDefault() const;

  // "Load...": the file chosen, wherever it lies, its site applied, everything recomputed. A
  // file that cannot be read is reported and nothing changes.
  void Load();
  // "Save...": what to save, then the file name; always written into the "Setup" folder.
  void Save();

 private:
  TTracker& tracker_;
  TTimeCommands& time_;
  TTrackingCommands& tracking_;
  UserDialogs& dialogs_;
  std::function<double()> detectedOffset_;
  QString programFolder_;
  QString settingsFileName_;
  TSaveChoice saveChoice_ = TSaveChoice::SatellitesAndOptions;
  TSettings defaultState_;
  QStringList startProblems_;
  bool firstStart_ = false;
  // Files that were there but could not be read, and the user's answer to replacing each: a
  // save never writes over one unasked, and asks once.
  std::map<std::string, bool> replaceAnswers_;

  TSettings FromModel() const;
  // Puts settings read from fileName (as the console shows it) into the model, as a file of
  // that name would be applied, and loads their element file.
  void Apply(const TSettings& settings, const std::string& name, const QString& fileName);
  void ApplyOptions(const TSettings& settings);
  bool Report(const std::exception& error);
  // Whether a save may go on: false when file is there, cannot be read and the user does not
  // want it replaced; replace is then set when it may be written over. A folder, pipe or device
  // is not asked about: the save goes on and its writer refuses it with the reason.
  bool MayWrite(const std::filesystem::path& file, bool& replace);
};

}  // namespace zen
