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
#include "display/footer.h"
#include "display/pass_plot.h"
#include "prediction/pass_export.h"
#include "prediction/search.h"
#include "prediction/search_setup.h"

namespace zen {

// The picture of a pass that a search of the request found: its path from horizon to horizon
// (at most a quarter of an hour beyond the pass), its rise, culmination and set, its numbers.
TPassPlot PlotOfPass(const TSearchRequest& request, const TPassLine& pass);
// The Moon over the plot's path, placed at the event's moment, for when the Moon is shown.
void AddMoon(TPassPlot& plot, const TGeodetic& site, double atUtc);

class TPredictionCommands : public QObject {
  Q_OBJECT

 public:
  // A search that finds nothing while its conditions left passes or flares out says why in
  // the footer's alert slot.
  TPredictionCommands(TTracker& tracker, TTimeCommands& time, TTrackingCommands& tracking,
                      TFooter& footer, UserDialogs& dialogs, TForm3& dialog,
                      QObject* parent = nullptr);
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
  // The selected line of the one-line view (0-based, in PassLines order), -1: none.
  std::function<int()> selectedLine;
  // Whether the one-line view stands in for the passes table.
  bool PassLinesShown() const;

  QAction* predict;  // "&Predict": a search of the kind the toggle shows
  QAction* goTo;     // "Go to"
  QAction* save;     // "Save"
  QActionGroup* kinds;
  QAction* showPasses;  // "Passes", checked at start
  QAction* showFlares;  // "Flares"
  // "One line per pass": the passes shown one line each instead of the report's rows.
  QAction* passLines;
  // "Details": the sky plot, the elevation curve and the numbers of the chosen pass or flare.
  QAction* details;

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
  // "Go to" the culmination of a line (0-based) of the one-line view.
  void GoToPass(int line);
  // "Save" of a kind's results: the report, a calendar or JSON, by the file type chosen.
  void Save(TSearchKind kind);
  // The details of a data row (0-based) of the kind's table: a row of a pass shows its pass.
  // Returns false, showing nothing, for an empty row or a row without a pass.
  bool ShowDetails(TSearchKind kind, int row);
  // The details of a line (0-based) of the one-line view.
  bool ShowPassDetails(int line);
  // The picture of a pass or a flare of the last search of its kind; false when there is none.
  bool PassPlotOf(int line, TPassPlot& plot) const;
  bool FlarePlotOf(int row, TPassPlot& plot) const;
  // Asks a running search to stop at once and waits for its thread.
  void StopSearch();

  bool SearchRunning() const { return searchRunning_; }
  bool ResultsReady(TSearchKind kind) const { return ready_[Index(kind)]; }
  // The rows below the heading row of a kind's table.
  const TResultRows& Rows(TSearchKind kind) const { return rows_[Index(kind)]; }
  const std::vector<std::string>& ReportHeader(TSearchKind kind) const {
    return headers_[Index(kind)];
  }
  // The passes of the last passes search, one line each, in the order of their culminations.
  const std::vector<TPassLine>& PassLines() const { return passLines_; }

 signals:
  // The rows of a kind's table from firstRow on changed, and so did the number of rows.
  void RowsChanged(int kind, int firstRow);
  // The period or the options changed outside the page's own controls.
  void SetupChanged();
  // The details of a pass or a flare were chosen.
  void DetailsChosen(const zen::TPassPlot& plot);
  // The passes of the one-line view changed.
  void PassLinesChanged();

 private:
  static size_t Index(TSearchKind kind) { return kind == TSearchKind::Flares ? 1 : 0; }

  TTracker& tracker_;
  TTimeCommands& time_;
  TTrackingCommands& tracking_;
  TFooter& footer_;
  UserDialogs& dialogs_;
  TForm3& dialog_;
  QString programFolder_;
  TIridiumTable iridiumTable_;
  QString iridiumProblem_;  // why the table is empty, when it is
  QString leftOutAlert_;    // why the last search found nothing, while the footer may show it

  TSearchSetup setup_;
  bool searchRunning_ = false;
  std::array<TResultRows, 2> rows_;
  std::array<std::vector<std::string>, 2> headers_;
  std::array<bool, 2> ready_{};
  // The first moment each kind's results were searched from, which names the saved report.
  std::array<TDateRec, 2> searchedFrom_{};
  // What each kind's results were searched for: the satellites' sets and the site, which the
  // details and the calendar need whatever was loaded or chosen since.
  std::array<std::shared_ptr<const TSearchRequest>, 2> searched_;
  std::array<TExportSite, 2> exportSites_;
  std::vector<TPassLine> passLines_;
  // The row of the running search's table that its next event fills.
  size_t nextResultRow_ = 0;
  std::shared_ptr<TSearchFlags> flags_;
  std::thread worker_;

  // Calls of the running search, on the user-interface thread.
  void onEventAdded(TSearchKind kind, const TResultRows& rows, int satelliteCount, int totalCount);
  void onSearchFinished(TSearchKind kind, TSearchOutcome outcome, const std::string& failure);
  // Tracked position (1-based) of the last tracked satellite with the number; 0: none.
  int FindTracked(const std::string& catalogNumber) const;
  void GoToEvent(TSearchKind kind, const std::optional<TFound>& event);
  // Writes a calendar or JSON; false with the failure shown.
  bool WriteExport(TSearchKind kind, const QString& file, bool calendar);

  friend class TQueuedListener;
};

}  // namespace zen
