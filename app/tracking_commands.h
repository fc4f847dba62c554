// Every command on the catalogue and the tracked list: loading an element file, adding,
// removing and cropping tracked satellites, and choosing the active one.
#pragma once

#include <QAction>
#include <QObject>
#include <QString>
#include <functional>

#include "app/tracker.h"
#include "app/user_dialogs.h"
#include "display/footer.h"

namespace zen {

// "Load TLE"'s choices of files: every kind the catalogue reads first.
QString ElementFileFilter();

// The lists' selections, which the commands read, and where they show their outcome.
class TListSelections {
 public:
  virtual ~TListSelections() = default;
  virtual TSelection LoadedSelection() const = 0;
  virtual TSelection TrackedSelection() const = 0;
  virtual void SetLoadedSelection(const TSelection& selection) = 0;
  // The Tracked list with this selection and focus.
  virtual void ShowTracked(const TTrackedView& view) = 0;
  // Both lists after a load, on the "Loaded" tab.
  virtual void ShowCatalog(const TTrackedView& view) = 0;
};

class TTrackingCommands : public QObject {
  Q_OBJECT

 public:
  TTrackingCommands(TTracker& tracker, TFooter& footer, UserDialogs& dialogs,
                    QObject* parent = nullptr);

  void SetLists(TListSelections* lists) { lists_ = lists; }
  void SetProgramFolder(const QString& folder) { programFolder_ = folder; }
  // Shows and hides the "Loading..." notice around a load.
  std::function<void()> busyStarts;
  std::function<void()> busyEnds;

  QAction* loadTle;
  QAction* addSelected;
  QAction* addSelectedAndActivate;
  QAction* addAll;
  QAction* replaceWithSelected;
  QAction* replaceWithAll;
  QAction* removeSelected;
  QAction* removeAll;
  QAction* crop;

  // "Load TLE": the file dialog in the "Tle" folder, then the load.
  void ChooseElementFile();
  // Loads a file and recomputes. The satellites tracked before that it also holds stay
  // tracked in their order, the active one with them, and the footer says how many it lacks;
  // with nothing tracked, the settings' numbers are tracked.
  void LoadElementFile(const QString& file);
  // The same without computing, for the start-up sequence that computes once at its end.
  void ReadElementFile(const QString& file);
  // Loads the element file the model names (TleFileName), without computing; a file that is
  // named but cannot be read is said in the footer.
  void ReloadCatalogue();
  // After a load, at the moment of computation: an alert in the footer when the elements the
  // tracked satellites rely on are far from their epoch (nothing when they are fresh).
  void TellElementAge();

  // At start: the footer offers the update when the newest loaded set is over a week old.
  void OfferUpdate();

  // The loaded file read again after it changed on disk (an element update), the tracked
  // satellites that are still in it kept in their order, and everything recomputed.
  void ReloadKeepingTracked();
  // The loaded element file, absolute; empty when none is named.
  QString LoadedFile() const;

  // Loaded rows (all, the selected ones when position is 0, else catalogue entry position).
  void AddTr(bool all, bool activate, int position);
  // Tracked rows: all; with position 0 the selected ones (keepSelected: the others, "Crop");
  // else the tracked position (1-based).
  void RemoveTr(bool all, bool keepSelected, int position);
  void ReplaceTracked(bool all);
  void StopTracking(int position) { RemoveTr(false, false, position); }
  void TrackCatalogEntry(int position) { AddTr(false, false, position); }
  // "Show next" (with backwards, the previous) tracked satellite.
  void ShowNext(bool backwards);
  // A click on a row of the Tracked list (0-based).
  void ClickTracked(int row);
  // ActiveSat := position (0: none).
  void SetActive(int position);

 private:
  TTracker& tracker_;
  TFooter& footer_;
  UserDialogs& dialogs_;
  TListSelections* lists_ = nullptr;
  QString programFolder_;
  QString ageWarning_;  // the one told last

  void ReadKeepingTracked(int* lacking);
  void TellReadProblem(const std::string& error);
  // "N of M tracked satellites are not in <file>".
  void TellLacking(int lacking);
};

}  // namespace zen
