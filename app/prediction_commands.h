// Every command of the prediction pages: the set-up's period and options, "Predict" with its
// worker thread and progress dialog, the "Passes"/"Flares" toggle, "Go to" and "Save".
#pragma once

#include <QAction>
#include <QActionGroup>
#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/search_dialog.h"
#include "app/time_commands.h"
#include "app/tracker.h"
#include "app/tracking_commands.h"
#include "app/user_dialogs.h"
#include "prediction/search.h"
#include "prediction/search_setup.h"

namespace zen {

class TPredictionCommands : public QObject {
  Q_OBJECT

 public:
  TPredictionCommands(TTracker& tracker, TTimeCommands& time, TTrackingCommands& tracking,
                      UserDialogs& dialogs, TForm3& dialog, QObject* parent = nullptr);
  // A search still running is stopped and waited for.
  ~TPredictionCommands() override;

  void SetProgramFolder(const QString& folder) { programFolder_ = folder; }
  // Which catalogue numbers are Iridiums; the Iridium status table supplies it. Until then
  // no loaded set counts as one, and a flares search finds nothing to process.
  TIridiumTest isIridium;
  // zapodawajIridiums: reads the Iridium status table (a missing or unreadable file gives an
  // empty one), which every flares search then carries and isIridium answers from.
  void zapodawajIridiums(const QString& file);
  const TIridiumTable& IridiumTable() const { return iridiumTable_; }
  // The selected data row (0-based, -1: none) of the table that shows a kind.
  std::function<int(TSearchKind)> selectedRow;

  QAction* predict;  // "&Predict": a search of the kind the toggle shows
  QAction* goTo;     // "Go to"
  QAction* save;     // "Save"
  QActionGroup* kinds;
  QAction* showPasses;  // "Passes", checked at start
  QAction* showFlares;  // "Flares"

  TSearchKind ShownKind() const;
  void ShowKind(TSearchKind kind);

  // The set-up page's choices. Options changes go to the model that the settings keep.
  const TSearchSetup& Setup() const { return setup_; }
  void SetOptions(const TPredictionOptions& options);
  // "Automatic" (no recomputation) or "Manual" (the automatic period becomes the manual one).
  void SetAutomatic(bool automatic);
  void SetBackward(bool backward);
  // Leaving the "Start:" or "End:" edit; returns the text the edit shows then.
  QString LeavePeriodStart(const QString& typed);
  QString LeavePeriodEnd(const QString& typed);
  void PeriodToManual();

  // The search of a kind: checks, prepares, runs the worker and shows the progress dialog
  // until it closes. The search may still be finishing when this returns.
  void PrepareSearch(TSearchKind kind);
  // "Go to" on a data row (0-based) of the kind's table.
  void GoTo(TSearchKind kind, int row);
  // "Save" of a kind's results.
  void Save(TSearchKind kind);
  // Asks a running search to stop at once and waits for its thread.
  void StopSearch();

  bool SearchRunning() const { return searchRunning_; }
  bool ResultsReady(TSearchKind kind) const { return ready_[Index(kind)]; }
  // The rows below the heading row of a kind's table.
  const TResultRows& Rows(TSearchKind kind) const { return rows_[Index(kind)]; }
  const std::vector<std::string>& ReportHeader(TSearchKind kind) const {
    return headers_[Index(kind)];
  }

 signals:
  // The rows of a kind's table from firstRow on changed, and so did the number of rows.
  void RowsChanged(int kind, int firstRow);
  // The period or the options changed outside the page's own controls.
  void SetupChanged();

 private:
  static size_t Index(TSearchKind kind) { return kind == TSearchKind::Flares ? 1 : 0; }

  TTracker& tracker_;
  TTimeCommands& time_;
  TTrackingCommands& tracking_;
  UserDialogs& dialogs_;
  TForm3& dialog_;
  QString programFolder_;
  TIridiumTable iridiumTable_;

  TSearchSetup setup_;
  bool searchRunning_ = false;
  std::array<TResultRows, 2> rows_;
  std::array<std::vector<std::string>, 2> headers_;
  std::array<bool, 2> ready_{};
  // The first moment each kind's results were searched from, which names the saved report.
  std::array<TDateRec, 2> searchedFrom_{};
  // The row of the running search's table that its next event fills.
  size_t nextResultRow_ = 0;
  std::shared_ptr<TSearchFlags> flags_;
  std::thread worker_;

  // Calls of the running search, on the user-interface thread.
  void onEventAdded(TSearchKind kind, const TResultRows& rows, int satelliteCount, int totalCount);
  void onSearchFinished(TSearchKind kind, TSearchOutcome outcome, const std::string& failure);
  // Tracked position (1-based) of the last tracked satellite with the number; 0: none.
  int FindTracked(const std::string& catalogNumber) const;

  friend class TQueuedListener;
};

}  // namespace zen
