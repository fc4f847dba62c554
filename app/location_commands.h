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
  // "<<<" and ">>>".
  void StepDatabase(bool next);
  // The database button: any ".loc" file.
  void OpenDatabase();
  // zapodawajLokacje of the settings' LocationFile, as start-up does; reports nothing.
  void LoadDatabase();
  // At exit, before the question: a changed database is written back to its own file.
  void SaveIfChanged();
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
  // zapodawajLokacje of db_.LocationFile; the database buttons show the "Loading..." notice.
  void Reload(bool withNotice);
};

}  // namespace zen
