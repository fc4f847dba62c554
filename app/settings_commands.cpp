// The settings commands: the main file and named settings files read and written at start,
// at exit and by "Load..." and "Save...", and the "Auto save" choice.
#include "app/settings_commands.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "core/file_access.h"
#include "core/numeric.h"
#include "tracking/ini_file.h"
#include "tracking/text_file.h"

namespace zen {

namespace {

const QString kSettingsFilter = QStringLiteral("INI files (*.ini);;All files (*)");

}  // namespace

TSettingsCommands::TSettingsCommands(TTracker& tracker, TTimeCommands& time,
                                     TTrackingCommands& tracking, UserDialogs& dialogs,
                                     std::function<double()> detectedOffset, QObject* parent)
    : QObject(parent),
      tracker_(tracker),
      time_(time),
      tracking_(tracking),
      dialogs_(dialogs),
      detectedOffset_(std::move(detectedOffset)) {
  loadSettings = new QAction(QStringLiteral("Load Settings..."), this);
  saveSettings = new QAction(QStringLiteral("Save Settings..."), this);
  autoSave = new QAction(QStringLiteral("Auto save"), this);
  autoSave->setCheckable(true);
  connect(loadSettings, &QAction::triggered, this, &TSettingsCommands::Load);
  connect(saveSettings, &QAction::triggered, this, &TSettingsCommands::Save);
}

bool TSettingsCommands::Report(const std::exception& error) {
  dialogs_.ShowError(QString::fromStdString(error.what()));
  return false;
}

bool TSettingsCommands::MayWrite(const std::filesystem::path& file, bool& replace) {
  replace = false;
  std::string problem;
  TIniFile::Read(file, &problem);
  if (problem.empty()) return true;
  // A folder, a named pipe or a device is never replaced, so there is nothing to ask: the
  // writer says why the settings were not saved.
  try {
    WritableTarget(file);
  } catch (const TFileError&) {
    return true;
  }
  auto answer = replaceAnswers_.find(file.string());
  if (answer == replaceAnswers_.end()) {
    answer = replaceAnswers_
                 .emplace(file.string(),
                          dialogs_.Ask(QString::fromStdString(problem) +
                                       QStringLiteral("\nReplace it with the settings in use "
                                                      "now? What it holds is lost.")))
                 .first;
  }
  replace = answer->second;
  return replace;
}

void TSettingsCommands::zapodawajSetUpMain() {
  const std::filesystem::path file =
      std::filesystem::path(programFolder_.toStdString()) / kMainSettingsFile;
  std::string problem;
  TMainSettings main = ReadMainSettings(file, detectedOffset_(), &problem);
  if (!problem.empty()) startProblems_ << QString::fromStdString(problem);
  firstStart_ = problem.empty() && !main.startedBefore;
  autoSave->setChecked(main.autoSave);
  tracker_.time.SetUTCOffset(main.utcOffsetHours);
}

bool TSettingsCommands::TakeFirstStart() {
  if (!firstStart_) return false;
  firstStart_ = false;
  // A folder that cannot keep the mark would count every start as its first: such a start
  // says nothing instead.
  try {
    MarkStarted(std::filesystem::path(programFolder_.toStdString()) / kMainSettingsFile);
  } catch (const TFileError&) {
    return false;
  }
  return true;
}

bool TSettingsCommands::sejwujSetUpMain() {
  TMainSettings main;
  main.autoSave = autoSave->isChecked();
  main.utcOffsetHours = tracker_.time.UtcOffsetHours();
  const std::filesystem::path file =
      std::filesystem::path(programFolder_.toStdString()) / kMainSettingsFile;
  // Kept as it is when the user says so: a "No" is an answer, not a failure.
  bool replace = false;
  if (!MayWrite(file, replace)) return true;
  try {
    WriteMainSettings(file, main, replace);
  } catch (const TFileError& error) {
    return Report(error);
  }
  return true;
}

void TSettingsCommands::zapodawajSetUp(const std::string& name) {
  const std::filesystem::path file = SettingsFilePath(programFolder_.toStdString(), name);
  std::string problem;
  const TSettings settings = ReadSettings(file, &problem);
  if (!problem.empty()) startProblems_ << QString::fromStdString(problem);
  Apply(settings, name,
        QStringLiteral("Setup/") + QString::fromStdString(name) + QStringLiteral(".ini"));
}

void TSettingsCommands::Apply(const TSettings& settings, const std::string& name,
                              const QString& fileName) {
  settingsFileName_ = fileName;
  TSatelliteList& list = tracker_.list;
  list.TleFileName = settings.tleFile;
  list.ActiveId = settings.activeId;
  list.TrackedIds = settings.trackedIds;
  if (!settings.onlySats || SameTextIgnoringCase(name, "default")) ApplyOptions(settings);
  tracking_.ReloadCatalogue();
}

void TSettingsCommands::ApplyOptions(const TSettings& s) {
  TTimeControl& time = tracker_.time;
  time.Display = s.timeSystem == 0 ? TTimeDisplay::Utc : TTimeDisplay::Local;
  // A drop-down choice runs no handler while settings load, so the timer is set here.
  time_.SetRefreshIndex(s.refreshIndex);
  time.JumpMultiplier = s.jumpMultiplier;
  time.JumpUnit = s.jumpUnit;
  tracker_.view.timePanelShown = s.timePanel;
  tracker_.locationFile = s.locationFile;
  tracker_.SetSite(s.site);
  tracker_.show = s.show;
  tracker_.prediction = s.prediction;
}

TSettings TSettingsCommands::FromModel() const {
  TSettings s;
  const TTimeControl& time = tracker_.time;
  s.timeSystem = time.Display == TTimeDisplay::Utc ? 0 : 1;
  s.refreshIndex = tracker_.view.refreshIndex;
  s.jumpMultiplier = time.JumpMultiplier;
  s.jumpUnit = time.JumpUnit;
  s.timePanel = tracker_.view.timePanelShown;
  const TSatelliteList& list = tracker_.list;
  s.tleFile = list.TleFileName;
  s.activeId = list.HasActiveSat() ? list.CatalogNumberOf(list.ActiveSat) : std::string();
  for (int i = 1; i <= list.TrackedCount; ++i) s.trackedIds.push_back(list.CatalogNumberOf(i));
  s.locationFile = tracker_.locationFile;
  s.site = tracker_.Site();
  s.show = tracker_.show;
  s.prediction = tracker_.prediction;
  return s;
}

bool TSettingsCommands::SejwujSetUp(const std::string& name, TSaveChoice choice) {
  SettleLoads();
  TSettings settings = FromModel();
  if (choice != TSaveChoice::OnlyOptions) tracker_.list.TrackedIds = settings.trackedIds;
  const std::filesystem::path file = SettingsFilePath(programFolder_.toStdString(), name);
  bool replace = false;
  if (!MayWrite(file, replace)) return true;
  try {
    WriteSettings(file, settings, choice, replace);
  } catch (const TFileError& error) {
    return Report(error);
  }
  if (SameTextIgnoringCase(name, "default")) {
    // A start reads every option of "default", even of one marked "Only satellites".
    defaultState_ = settings;
    if (choice == TSaveChoice::OnlyOptions) {
      defaultState_.tleFile.clear();
      defaultState_.activeId.clear();
      defaultState_.trackedIds.clear();
    }
  }
  return true;
}

void TSettingsCommands::RememberDefault() { defaultState_ = FromModel(); }

std::vector<std::string> TSettingsCommands::ChangedSinceDefault() const {
  return SettingsChanges(defaultState_, FromModel());
}

void TSettingsCommands::Load() {
  QString file = dialogs_.ChooseFileToOpen(
      QStringLiteral("Load settings"), programFolder_ + QStringLiteral("/Setup"), kSettingsFilter);
  if (file.isEmpty()) return;
  const std::string path = file.toStdString();
  TSettings settings;
  try {
    settings = ReadSettingsFile(path);
  } catch (const TFileError& error) {
    dialogs_.ShowError(QString::fromStdString(error.what()) +
                       QStringLiteral("\nThe settings stay as they were."));
    return;
  }
  if (busyStarts) busyStarts();
  Apply(settings, SettingsNameOf(path),
        QString::fromStdString(StoredFileName(path, programFolder_.toStdString())));
  if (siteLoaded) siteLoaded();
  tracker_.Recompute();
  tracking_.TellElementAge();
  if (busyEnds) busyEnds();
}

void TSettingsCommands::Save() {
  int choice = dialogs_.ChooseSaveContent(static_cast<int>(saveChoice_));
  if (choice < 0) return;
  saveChoice_ = static_cast<TSaveChoice>(std::clamp(choice, 0, 2));
  QString file = dialogs_.ChooseFileToSave(
      QStringLiteral("Save settings"), programFolder_ + QStringLiteral("/Setup"), kSettingsFilter);
  if (file.isEmpty()) return;
  std::string name = SettingsNameOf(file.toStdString());
  if (name.empty()) {
    dialogs_.ShowError(QStringLiteral("A settings file needs a name before its first \".\": ") +
                       file);
    return;
  }
  SejwujSetUp(name, saveChoice_);
}

}  // namespace zen
