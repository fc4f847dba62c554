// Every command on the catalogue and the tracked list: loading an element file, adding,
// removing and cropping tracked satellites, and choosing the active one.
#pragma once

#include <QAction>
#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include <filesystem>

#include "app/tracker.h"
#include "app/user_dialogs.h"
#include "display/footer.h"

namespace zen {

// "Load TLE"'s choices of files: every kind the catalogue reads first.
QString ElementFileFilter();

// Files from this size on are read on a worker thread; a smaller one reads in a few
// milliseconds, faster than the hand-over would take.
inline constexpr uintmax_t kWorkerLoadBytes = 256 * 1024;

// "Loading NAME... P %": the footer's word while a file is read on the worker.
QString LoadingProgressText(const QString& fileName, uint64_t bytesRead, uint64_t fileBytes);

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
  // The Loaded (or Tracked) rows a filter leaves in view, in order; nothing when every row is.
  virtual std::optional<std::vector<int>> ShownLoadedRows() const { return std::nullopt; }
  virtual std::optional<std::vector<int>> ShownTrackedRows() const { return std::nullopt; }
};

class TTrackingCommands : public QObject {
  Q_OBJECT

 public:
  TTrackingCommands(TTracker& tracker, TFooter& footer, UserDialogs& dialogs,
                    QObject* parent = nullptr);
  ~TTrackingCommands() override;

  void SetLists(TListSelections* lists) { lists_ = lists; }
  void SetProgramFolder(const QString& folder) { programFolder_ = folder; }
  // Shows and hides the "Loading..." notice around a load.
  std::function<void()> busyStarts;
  std::function<void()> busyEnds;
  // Runs on the worker thread before each read there (a test holds a load with it).
  std::function<void()> workerStarts;

  QAction* loadTle;
  QAction* addSelected;
  QAction* addSelectedAndActivate;
  QAction* addAll;
  QAction* replaceWithSelected;
  QAction* replaceWithAll;
  QAction* removeSelected;
  QAction* removeAll;
  QAction* crop;

  // "Load TLE": the file dialog in the "Tle" folder, then the load. A chosen file without a
  // single valid element set changes nothing: the catalogue, both lists and the element file's
  // name stay, and the footer says so.
  void ChooseElementFile();
  // The load of "Load TLE" for a file already chosen.
  void LoadChosenFile(const QString& file);
  // Loads a file and recomputes. The satellites tracked before that it also holds stay
  // tracked in their order, the active one with them, and the footer says how many it lacks;
  // with nothing tracked, the settings' numbers are tracked.
  //
  // Every load below reads a large file on a worker thread: the window keeps running, the
  // footer shows the progress, and the lists fill, and everything is recomputed, when it is
  // done. Loads are taken over in the order they were asked for.
  void LoadElementFile(const QString& file);
  // The same without computing, for the start-up sequence that computes once at its end;
  // trackAll tracks every set of the file instead of the settings' numbers.
  void ReadElementFile(const QString& file, bool trackAll = false);
  // Loads the element file the model names (TleFileName), tracking TrackedIds, without
  // computing; a file that is named but cannot be read is said in the footer.
  void ReloadCatalogue();
  // A file is being read on the worker, or waits to be.
  bool Loading() const { return !queue_.empty(); }
  // Runs then once every load asked for so far is taken over (at once when none is pending).
  void AfterLoading(std::function<void()> then);
  // Waits for the loads asked for and takes them over: before the model is saved or the
  // window closes.
  void FinishLoading();
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
  // "All" means the rows a filter leaves in view.
  void AddTr(bool all, bool activate, int position);
  // Tracked rows: all (those a filter leaves in view); with position 0 the selected ones
  // (keepSelected: the others, "Crop"); else the tracked position (1-based). All of more than
  // kFewTrackedMax lines is asked about first, No the default; No removes nothing.
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

  enum class TLoadKind { TrackSettings, KeepTracked };
  struct TLoad {
    std::string storedName;  // TleFileName as the load sets it
    std::filesystem::path file;
    TLoadKind kind = TLoadKind::TrackSettings;
    std::vector<std::string> trackedIds;  // the settings' numbers at the time of asking
    std::string activeId;
    bool trackAll = false;
    bool recompute = false;
    // A file that yields no valid set is refused, and the name before it comes back.
    bool keepIfEmpty = false;
    std::string previousName;
    std::vector<std::function<void()>> then;
  };
  // Loads asked for, oldest first; the first is on the worker.
  std::deque<TLoad> queue_;
  std::thread worker_;
  std::mutex doneMutex_;
  std::unique_ptr<TCatalogRead> done_;  // the worker's read, handed over under doneMutex_
  std::atomic<uint64_t> bytesRead_{0};
  uint64_t fileBytes_ = 0;
  QTimer progressTimer_;
  QString progressShown_;

  void Load(TLoadKind kind, bool trackAll, bool recompute, bool keepIfEmpty = false,
            const std::string& previousName = {});
  // "Load TLE" and the loads from the update window: the tracked list is kept unless empty.
  void LoadKeepingTracked(const QString& file, bool keepIfEmpty);
  // A refused load: the name it replaced comes back and the footer says why.
  void Refuse(TLoad& load, const TCatalogRead& read);
  void StartWorker();
  // On the window's thread once the worker finished: takes its read over and starts the next.
  void TakeWorkerRead();
  void Take(TLoad& load, TCatalogRead read, bool fromWorker);
  void ShowProgress();
  void TellReadProblem(const std::string& error);
  // "N of M tracked satellites are not in <file>".
  void TellLacking(int lacking);
  // True when "all" may go: few lines, or Yes to the question. shown: the lines a filter leaves.
  bool ConfirmRemovingAll(const std::optional<std::vector<int>>& shown);
};

}  // namespace zen
