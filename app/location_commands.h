// Every command on the observer's site and the location databases: choosing a site, picking
// one on the map, and adding, updating, removing and clearing entries, and switching files.
#pragma once

#include <QAction>
#include <QObject>
#include <QString>
#include <functional>

#include "app/tracker.h"
#include "app/user_dialogs.h"
#include "display/projection.h"
#include "locations/location_db.h"

namespace zen {

class TLocationCommands : public QObject {
  Q_OBJECT

 public:
  TLocationCommands(TTracker& tracker, UserDialogs& dialogs, QObject* parent = nullptr);

  void SetProgramFolder(const QString& folder) { programFolder_ = folder; }
  // Shows and hides the "Loading..." notice around a database load.
  std::function<void()> busyStarts;
  std::function<void()> busyEnds;

  TLocationDb& Database() { return db_; }
  const TLocationDb& Database() const { return db_; }

  // "&Choose": the fields' site becomes the current site.
  void Choose(const TSite& fields);
  // "Pick Location": the map point of the last press, altitude 0.
  void PickLocation(const TMapPoint& point);
  // "&Add to DB", "&Update", "&Remove", "Clear DB"; index is the list's selected row (-1: none).
  void Add(const std::string& name, const TSite& fields);
  void Update(int index, const std::string& name, const TSite& fields);
  void Remove(int index);
  void ClearDb();
  // "<<<" and ">>>". A changed database is saved first; when that fails the user is told why
  // and the database stays open with its edits.
  void StepDatabase(bool next);
  // The database button: any ".loc" file, after the same save as "<<<" and ">>>".
  void OpenDatabase();
  // zapodawajLokacje of the settings' LocationFile, as start-up does. A file that cannot be
  // read leaves the list empty, the site and the settings' file as they are, and gives the
  // message for the user, to be shown once the window is drawn; empty when all went well.
  QString LoadDatabase();
  // A changed database is written back to its own file; false, with the user told why, when
  // that fails.
  bool SaveIfChanged();
  // At exit, before the question: a changed database is saved. When that fails the user is
  // asked whether to exit without saving it.
  enum class TExitSave { Saved, LeaveUnsaved, Stay };
  TExitSave SaveBeforeExit();
  // The fields show the current site again (after start-up or a settings load).
  void ShowSite() { emit SiteToForm(); }

 signals:
  // The list changed; select is the row to select (-1: none).
  void DatabaseChanged(int select);
  // The fields must show the current site again (start-up, settings, "Pick Location").
  void SiteToForm();
  // "Pick Location": the list keeps its entries but loses its selection.
  void SelectionCleared();

 private:
  TTracker& tracker_;
  UserDialogs& dialogs_;
  QString programFolder_;
  TLocationDb db_;

  void Apply(const TSite& site);
  // Writes a changed database back to its own file; the reason when that fails, else empty.
  QString SaveProblem();
  // zapodawajLokacje of file; the database buttons show the "Loading..." notice. A file that
  // cannot be read leaves the database in memory as it was and gives the reason; empty when
  // the file was read.
  QString Reload(const std::string& file, bool withNotice);
};

}  // namespace zen
