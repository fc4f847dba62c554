// Every command on the observer's site and the location databases: choosing a site, picking
// one on the map, and adding, updating, removing and clearing entries, and switching files.
#include "app/location_commands.h"

#include <QDir>

#include "core/locator.h"
#include "tracking/satellite_list.h"
#include "tracking/text_file.h"

namespace zen {

namespace {

TLocationRec EntryOf(const TSite& site) {
  TLocationRec entry;
  entry.latitude = site.latitude;
  entry.longitude = site.longitude;
  entry.altitude = site.altitude;
  entry.sign = site.sign;
  return entry;
}

}  // namespace

TLocationCommands::TLocationCommands(TTracker& tracker, UserDialogs& dialogs, QObject* parent)
    : QObject(parent), tracker_(tracker), dialogs_(dialogs) {}

void TLocationCommands::Apply(const TSite& site) {
  tracker_.SetSite(site);
  tracker_.Recompute();
}

void TLocationCommands::Choose(const TSite& fields) {
  Apply(fields);
}

void TLocationCommands::PickLocation(const TMapPoint& point) {
  TSite site;
  site.name = "Picked Site";
  site.sign = "Picked";
  site.latitude = point.lat;
  site.longitude = point.lon;
  site.altitude = 0.0;
  site.locator = LatLonToLocator(site.latitude, site.longitude);
  tracker_.SetSite(site);
  emit SelectionCleared();
  emit SiteToForm();
  tracker_.Recompute();
}

void TLocationCommands::Add(const std::string& name, const TSite& fields) {
  int index = db_.Add(name, EntryOf(fields));
  if (index >= 0) emit DatabaseChanged(index);
}

void TLocationCommands::Update(int index, const std::string& name, const TSite& fields) {
  if (index < 0 || index >= static_cast<int>(db_.Names.size())) {
    dialogs_.Inform(QStringLiteral("No item selected to update."));
    return;
  }
  db_.Update(index, name, EntryOf(fields));
  emit DatabaseChanged(index);
}

void TLocationCommands::Remove(int index) {
  if (index < 0 || index >= static_cast<int>(db_.Names.size())) {
    dialogs_.Inform(QStringLiteral("No item selected to remove."));
    return;
  }
  if (!dialogs_.Ask(QStringLiteral("Remove item from DB?"))) return;
  db_.Remove(index);
  emit DatabaseChanged(-1);
}

void TLocationCommands::ClearDb() {
  if (!dialogs_.Ask(QStringLiteral("Do you really want to clear location DB?"))) return;
  db_.Clear();
  emit DatabaseChanged(-1);
}

QString TLocationCommands::SaveProblem() {
  if (db_.LocationDbSaved) return {};
  try {
    db_.SejwujLokacje(programFolder_.toStdString());
  } catch (const TFileError& error) {
    return QString::fromStdString(error.what());
  }
  return {};
}

bool TLocationCommands::SaveIfChanged() {
  const QString problem = SaveProblem();
  if (problem.isEmpty()) return true;
  dialogs_.ShowError(problem + QStringLiteral("\nThe location list stays open with its changes."));
  return false;
}

TLocationCommands::TExitSave TLocationCommands::SaveBeforeExit() {
  const QString problem = SaveProblem();
  if (problem.isEmpty()) return TExitSave::Saved;
  return dialogs_.Ask(problem + QStringLiteral("\nExit without saving the location list?"))
             ? TExitSave::LeaveUnsaved
             : TExitSave::Stay;
}

QString TLocationCommands::Reload(const std::string& file, bool withNotice) {
  const std::string previous = db_.LocationFile;
  db_.LocationFile = file;
  if (withNotice && busyStarts) busyStarts();
  QString problem;
  try {
    db_.zapodawajLokacje(programFolder_.toStdString());
  } catch (const TFileError& error) {
    db_.LocationFile = previous;
    problem = QString::fromStdString(error.what());
  }
  if (withNotice && busyEnds) busyEnds();
  if (problem.isEmpty()) {
    tracker_.locationFile = db_.LocationFile;
    emit DatabaseChanged(-1);
  }
  return problem;
}

void TLocationCommands::StepDatabase(bool next) {
  if (!SaveIfChanged()) return;
  std::string name = db_.NeighbourDatabase(next);
  if (name.empty()) return;
  // The notice is gone before any message, so the window is never left frozen behind a box.
  const QString problem = Reload("*" + name, true);
  if (!problem.isEmpty()) dialogs_.ShowError(problem);
}

void TLocationCommands::OpenDatabase() {
  if (!SaveIfChanged()) return;
  QString file = dialogs_.ChooseFileToOpen(QStringLiteral("Load locations"),
                                           programFolder_ + QStringLiteral("/Locations"),
                                           QStringLiteral("Location list file (*.loc)"));
  if (file.isEmpty()) return;
  const QString problem =
      Reload(StoredFileName(file.toStdString(), programFolder_.toStdString()), true);
  if (!problem.isEmpty()) dialogs_.ShowError(problem);
}

QString TLocationCommands::LoadDatabase() {
  return Reload(tracker_.locationFile, false);
}

}  // namespace zen
