// Every command on the catalogue and the tracked list: loading an element file, adding,
// removing and cropping tracked satellites, and choosing the active one.
#include "app/tracking_commands.h"

#include <QFileInfo>

#include "tracking/element_age.h"
#include "tracking/list_counts.h"

namespace zen {

// Element lines and mean-elements messages read alike (the content tells them apart), so the
// first choice shows both.
QString ElementFileFilter() {
  return QStringLiteral(
      "Element sets (*.tle *.txt *.mtl *.csv *.json *.xml);;"
      "Two-line element (*.tle *.txt *.mtl);;"
      "Orbit mean-elements messages (*.csv *.json *.xml);;"
      "All files (*)");
}

TTrackingCommands::TTrackingCommands(TTracker& tracker, TFooter& footer, UserDialogs& dialogs,
                                     QObject* parent)
    : QObject(parent), tracker_(tracker), footer_(footer), dialogs_(dialogs) {
  auto add = [this](const char* caption, std::function<void()> run) {
    auto* action = new QAction(QString::fromLatin1(caption), this);
    connect(action, &QAction::triggered, this, std::move(run));
    return action;
  };
  loadTle = add("Load TLE...", [this] { ChooseElementFile(); });
  progressTimer_.setInterval(200);
  connect(&progressTimer_, &QTimer::timeout, this, [this] { ShowProgress(); });
  addSelected = add("Add selected", [this] { AddTr(false, false, 0); });
  addSelectedAndActivate = add("Add selected and activate", [this] { AddTr(false, true, 0); });
  addAll = add("Add all to tracked", [this] { AddTr(true, false, 0); });
  replaceWithSelected = add("Replace tracked to selected", [this] { ReplaceTracked(false); });
  replaceWithAll = add("Replace tracked to all", [this] { ReplaceTracked(true); });
  removeSelected = add("Remove selected", [this] { RemoveTr(false, false, 0); });
  removeAll = add("Remove all", [this] { RemoveTr(true, false, 0); });
  crop = add("Crop", [this] { RemoveTr(false, true, 0); });
}

void TTrackingCommands::ChooseElementFile() {
  QString file = dialogs_.ChooseFileToOpen(
      QStringLiteral("Load TLE"), programFolder_ + QStringLiteral("/Tle"), ElementFileFilter());
  if (!file.isEmpty()) LoadChosenFile(file);
}

void TTrackingCommands::LoadChosenFile(const QString& file) {
  LoadKeepingTracked(file, true);
}

void TTrackingCommands::LoadElementFile(const QString& file) {
  LoadKeepingTracked(file, false);
}

void TTrackingCommands::LoadKeepingTracked(const QString& file, bool keepIfEmpty) {
  const std::string previous = tracker_.list.TleFileName;
  tracker_.list.TleFileName = StoredFileName(file.toStdString(), programFolder_.toStdString());
  // The user's tracked list outlives the file; only when nothing is tracked do the numbers
  // of the settings last loaded or saved choose what to track.
  const bool keep = tracker_.list.TrackedCount > 0 ||
                    (!queue_.empty() && queue_.back().kind == TLoadKind::KeepTracked);
  Load(keep ? TLoadKind::KeepTracked : TLoadKind::TrackSettings, false, true, keepIfEmpty,
       previous);
}

void TTrackingCommands::ReadElementFile(const QString& file, bool trackAll) {
  tracker_.list.TleFileName = StoredFileName(file.toStdString(), programFolder_.toStdString());
  Load(TLoadKind::TrackSettings, trackAll, false);
}

void TTrackingCommands::ReloadCatalogue() {
  Load(TLoadKind::TrackSettings, false, false);
}

void TTrackingCommands::ReloadKeepingTracked() {
  Load(TLoadKind::KeepTracked, false, true);
}

void TTrackingCommands::Load(TLoadKind kind, bool trackAll, bool recompute, bool keepIfEmpty,
                             const std::string& previousName) {
  const TSatelliteList& list = tracker_.list;
  TLoad load;
  load.storedName = list.TleFileName;
  load.keepIfEmpty = keepIfEmpty;
  load.previousName = previousName;
  if (!load.storedName.empty()) {
    load.file = ExpandFileName(load.storedName, programFolder_.toStdString());
  }
  load.kind = kind;
  load.trackedIds = list.TrackedIds;
  load.activeId = list.ActiveId;
  load.trackAll = trackAll;
  load.recompute = recompute;
  std::error_code ec;
  const bool large = !load.file.empty() && std::filesystem::is_regular_file(load.file, ec) &&
                     std::filesystem::file_size(load.file, ec) >= kWorkerLoadBytes && !ec;
  if (queue_.empty() && !large) {
    if (recompute && busyStarts) busyStarts();
    Take(load, ReadCatalog(load.file), false);
    if (recompute && busyEnds) busyEnds();
    return;
  }
  queue_.push_back(std::move(load));
  if (queue_.size() == 1) StartWorker();
}

void TTrackingCommands::StartWorker() {
  const TLoad& load = queue_.front();
  std::error_code ec;
  const uintmax_t size = std::filesystem::file_size(load.file, ec);
  fileBytes_ = ec ? 0 : static_cast<uint64_t>(size);
  bytesRead_ = 0;
  worker_ = std::thread([this, file = load.file, starts = workerStarts] {
    if (starts) starts();
    auto read = std::make_unique<TCatalogRead>(ReadCatalog(file, &bytesRead_));
    {
      std::lock_guard<std::mutex> lock(doneMutex_);
      done_ = std::move(read);
    }
    QMetaObject::invokeMethod(this, [this] { TakeWorkerRead(); }, Qt::QueuedConnection);
  });
  ShowProgress();
  progressTimer_.start();
}

void TTrackingCommands::TakeWorkerRead() {
  std::unique_ptr<TCatalogRead> read;
  {
    std::lock_guard<std::mutex> lock(doneMutex_);
    read = std::move(done_);
  }
  // A wait in FinishLoading may have taken this read over already.
  if (read == nullptr || queue_.empty()) return;
  if (worker_.joinable()) worker_.join();
  progressTimer_.stop();
  footer_.Withdraw(kFooterNotice, progressShown_);
  progressShown_.clear();
  TLoad load = std::move(queue_.front());
  queue_.pop_front();
  Take(load, std::move(*read), true);
  if (!queue_.empty()) StartWorker();
}

void TTrackingCommands::FinishLoading() {
  while (!queue_.empty()) {
    if (worker_.joinable()) worker_.join();
    TakeWorkerRead();
  }
}

void TTrackingCommands::AfterLoading(std::function<void()> then) {
  if (queue_.empty()) {
    then();
  } else {
    queue_.back().then.push_back(std::move(then));
  }
}

TTrackingCommands::~TTrackingCommands() {
  if (worker_.joinable()) worker_.join();
}

QString LoadingProgressText(const QString& fileName, uint64_t bytesRead, uint64_t fileBytes) {
  const uint64_t percent = fileBytes == 0 ? 0 : std::min<uint64_t>(bytesRead * 100 / fileBytes, 99);
  return QStringLiteral("Loading %1... %2 %").arg(fileName).arg(percent);
}

void TTrackingCommands::ShowProgress() {
  if (queue_.empty()) return;
  const QString text =
      LoadingProgressText(QString::fromStdString(queue_.front().file.filename().string()),
                          bytesRead_.load(std::memory_order_relaxed), fileBytes_);
  if (text == progressShown_) return;
  progressShown_ = text;
  footer_.SendToFooter(kFooterNotice, text);
}

void TTrackingCommands::Take(TLoad& load, TCatalogRead read, bool fromWorker) {
  TSatelliteList& list = tracker_.list;
  if (load.keepIfEmpty && read.count == 0) {
    Refuse(load, read);
    for (auto& then : load.then) then();
    return;
  }
  // Later requests may have changed the names since this one was asked for; the take uses its
  // own, and the last take leaves the last request's.
  list.TleFileName = load.storedName;
  std::string error;
  int lacking = 0;
  TTrackedView view;
  if (load.kind == TLoadKind::KeepTracked) {
    view = list.TakeCatalogKeepingTracked(std::move(read), &error, &lacking);
  } else {
    list.TrackedIds = load.trackedIds;
    list.ActiveId = load.activeId;
    view = list.TakeCatalog(std::move(read), &error);
  }
  if (load.trackAll) {
    TSelection none;
    list.AddTr(true, false, 0, none);
    view = list.TrackedTabView();
  }
  if (lists_ != nullptr) lists_->ShowCatalog(view);
  TellReadProblem(error);
  // A read on the worker ends after the asker's own computation: the new sets are computed now.
  if (load.recompute || fromWorker) {
    tracker_.Recompute();
    TellElementAge();
    TellLacking(lacking);
  }
  for (auto& then : load.then) then();
}

void TTrackingCommands::Refuse(TLoad& load, const TCatalogRead& read) {
  // A later request sets its own name when it is taken; the one it replaced is this one's
  // previous, if this one is refused as well.
  if (queue_.empty()) {
    tracker_.list.TleFileName = load.previousName;
  } else if (queue_.front().previousName == load.storedName) {
    queue_.front().previousName = load.previousName;
  }
  const QString file = QString::fromStdString(load.file.string());
  QString why;
  if (!read.error.empty()) {
    why = QString::fromStdString(read.error);
  } else if (!QFileInfo::exists(file)) {
    why = QStringLiteral("Element file not found: ") + file;
  } else {
    const unsigned invalid = read.catalog->InvalidElementCount;
    why = QStringLiteral("No element sets in %1 (%2%3 invalid)")
              .arg(file)
              .arg(invalid)
              .arg(invalid == UINT16_MAX ? QStringLiteral(" or more") : QString());
  }
  footer_.SendToFooter(kFooterAlert, why);
}

void TTrackingCommands::TellElementAge() {
  const QString warning =
      QString::fromStdString(TrackedElementAgeWarning(tracker_.list, tracker_.time.NowUtc));
  // The word on the elements loaded before no longer holds once others are loaded.
  if (warning != ageWarning_) footer_.Withdraw(kFooterAlert, ageWarning_);
  ageWarning_ = warning;
  if (!warning.isEmpty()) footer_.SendToFooter(kFooterAlert, warning);
}

void TTrackingCommands::OfferUpdate() {
  QString offer = QString::fromStdString(UpdateOffer(tracker_.list, tracker_.time.NowUtc));
  if (offer.isEmpty()) return;
  // Said together with the tracked satellites' age, so neither hides the other.
  if (!ageWarning_.isEmpty()) {
    ageWarning_ += QStringLiteral(" - ") + QString::fromLatin1(kUpdateHint);
    offer = ageWarning_;
  }
  footer_.SendToFooter(kFooterAlert, offer);
}

void TTrackingCommands::TellReadProblem(const std::string& error) {
  const QString file = LoadedFile();
  // An empty catalogue is what a missing or unreadable file gives; the alert says why.
  if (!error.empty()) {
    footer_.SendToFooter(kFooterAlert, QString::fromStdString(error));
  } else if (!file.isEmpty() && !QFileInfo::exists(file)) {
    footer_.SendToFooter(kFooterAlert, QStringLiteral("Element file not found: ") + file);
  } else if (!file.isEmpty() && tracker_.list.LoadedCount == 0 &&
             tracker_.list.Catalog.InvalidElementCount == 0) {
    footer_.SendToFooter(kFooterAlert, QStringLiteral("No element sets in ") + file);
  } else if (const unsigned invalid = tracker_.list.Catalog.InvalidElementCount; invalid > 0) {
    // A file of other data reads as nothing but invalid sets: the count tells so. The counter
    // stops at its largest value; past it the count is a lower bound.
    footer_.SendToFooter(kFooterAlert,
                         QStringLiteral("%1%2 %3 skipped in %4")
                             .arg(invalid)
                             .arg(invalid == UINT16_MAX ? QStringLiteral(" or more")
                                                        : QString())
                             .arg(invalid == 1 ? QStringLiteral("invalid element set")
                                               : QStringLiteral("invalid element sets"))
                             .arg(file));
  }
}

void TTrackingCommands::TellLacking(int lacking) {
  if (lacking <= 0) return;
  const int before = tracker_.list.TrackedCount + lacking;
  footer_.SendToFooter(kFooterAlert, QStringLiteral("%1 of %2 tracked satellites are not in %3")
                                         .arg(lacking)
                                         .arg(before)
                                         .arg(QFileInfo(LoadedFile()).fileName()));
}

QString TTrackingCommands::LoadedFile() const {
  const std::string& stored = tracker_.list.TleFileName;
  if (stored.empty()) return {};
  return QString::fromStdString(ExpandFileName(stored, programFolder_.toStdString()).string());
}

void TTrackingCommands::AddTr(bool all, bool activate, int position) {
  TSelection loaded = lists_ != nullptr ? lists_->LoadedSelection() : TSelection{};
  // "All" with a filter typed is every line it leaves in view.
  const std::optional<std::vector<int>> shown =
      all && lists_ != nullptr ? lists_->ShownLoadedRows() : std::nullopt;
  TTrackedView view = shown ? tracker_.list.AddRows(*shown)
                            : tracker_.list.AddTr(all, activate, position, loaded);
  if (lists_ != nullptr) {
    lists_->SetLoadedSelection(loaded);
    if (view.focusedRow < 0) view.selection = lists_->TrackedSelection();
    lists_->ShowTracked(view);
  }
  tracker_.Recompute();
}

void TTrackingCommands::RemoveTr(bool all, bool keepSelected, int position) {
  TSelection tracked = lists_ != nullptr ? lists_->TrackedSelection() : TSelection{};
  const std::optional<std::vector<int>> shown =
      all && position == 0 && lists_ != nullptr ? lists_->ShownTrackedRows() : std::nullopt;
  if (all && position == 0 && !ConfirmRemovingAll(shown)) return;
  if (shown) {
    // "All" with a filter typed is every line it leaves in view: those go as a selection would.
    all = false;
    keepSelected = false;
    tracked = TSelection(shown->begin(), shown->end());
  }
  TTrackedView view = tracker_.list.RemoveTr(all, keepSelected, position, tracked);
  if (lists_ != nullptr) lists_->ShowTracked(view);
  tracker_.Recompute();
}

bool TTrackingCommands::ConfirmRemovingAll(const std::optional<std::vector<int>>& shown) {
  const int count = shown ? static_cast<int>(shown->size()) : tracker_.list.TrackedCount;
  if (count <= kFewTrackedMax) return true;
  const QString number = QString::fromStdString(CountText(count));
  return dialogs_.AskDefaultNo(
      shown ? QStringLiteral("Remove the %1 tracked satellites the filter shows?").arg(number)
            : QStringLiteral("Remove all %1 tracked satellites?").arg(number));
}

void TTrackingCommands::ReplaceTracked(bool all) {
  tracker_.list.RemoveTr(true, false, 0, {});
  AddTr(all, false, 0);
}

void TTrackingCommands::ShowNext(bool backwards) {
  tracker_.list.ShowNext(backwards);
  tracker_.Recompute();
}

void TTrackingCommands::ClickTracked(int row) {
  if (tracker_.list.TrackedCount == 0) return;
  tracker_.list.ClickTracked(row);
  tracker_.Recompute();
}

void TTrackingCommands::SetActive(int position) {
  TSatelliteList& list = tracker_.list;
  list.ActiveSat = position >= 0 && position <= list.TrackedCount ? position : 0;
  if (lists_ != nullptr) lists_->ShowTracked(list.TrackedTabView());
  tracker_.Recompute();
}

}  // namespace zen
