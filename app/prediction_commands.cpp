// Every command of the prediction pages: the set-up's period and options, "Predict" with its
// worker thread and progress dialog, the "Passes"/"Flares" toggle, "Go to" and "Save".
#include "app/prediction_commands.h"

#include <QDir>
#include <QFileInfo>
#include <QMetaObject>
#include <QPointer>
#include <exception>
#include <filesystem>
#include <mutex>
#include <optional>
#include <system_error>
#include <utility>

#include "cli/search_command.h"
#include "core/observer.h"
#include "prediction/iridium.h"
#include "prediction/left_out.h"
#include "prediction/moon_track.h"
#include "prediction/pass_export.h"
#include "prediction/pass_lines.h"
#include "prediction/pass_track.h"
#include "prediction/results.h"
#include "tracking/text_file.h"
#include "tracking/date_text.h"

namespace zen {

namespace {

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

// The picture of a pass reaches this far beyond its visible part, to the horizon.
constexpr int64_t kPassReachSeconds = 15 * 60;
// The picture of a flare shows the satellite's path this long before and after it.
constexpr int64_t kFlareReachSeconds = 2 * 60;

// The file types "Save" offers, the report first.
const QString kReportFilter = QStringLiteral("Text report (*.txt)");
const QString kCalendarFilter = QStringLiteral("iCalendar (*.ics)");
const QString kJsonFilter = QStringLiteral("JSON (*.json)");

TPlotMark MarkOf(const TFound& found, const char* label) {
  return TPlotMark{found.timeUtc, found.azimuth, found.elevation, label};
}

TGeodetic SiteOf(const TSearchRequest& request) {
  return ObserverFromSite(request.latitudeDeg, request.longitudeDeg, request.altitudeM);
}

// The latest progress of a search. The search may report faster than the window draws, so
// only the newest values wait to be shown, never a queue of old ones.
struct TProgressMailbox {
  std::mutex mutex;
  bool pending = false;
  int satellitePercent = 0;
  int globalPercent = 0;
  std::string estimate;
  bool sortPending = false;
  int sortPercent = 0;
};

}  // namespace

// Hands every call of a search, made on the worker thread, to the user-interface thread. It
// never waits for the window and never touches a widget itself.
class TQueuedListener final : public TSearchListener {
 public:
  TQueuedListener(TPredictionCommands& owner, TSearchKind kind)
      : owner_(owner), kind_(kind), mailbox_(std::make_shared<TProgressMailbox>()) {}

  void SatelliteStarted(int, const std::string& line, int satelliteCount) override {
    TPredictionCommands* owner = &owner_;
    Post([owner, text = Q(line), satelliteCount] {
      owner->dialog_.SatelliteStarted(text, satelliteCount);
    });
  }

  void Progress(int satellitePercent, int globalPercent, const std::string& estimate) override {
    {
      std::lock_guard lock(mailbox_->mutex);
      mailbox_->satellitePercent = satellitePercent;
      mailbox_->globalPercent = globalPercent;
      mailbox_->estimate = estimate;
      if (mailbox_->pending) return;
      mailbox_->pending = true;
    }
    TPredictionCommands* owner = &owner_;
    Post([owner, mailbox = mailbox_] {
      int satellite = 0;
      int global = 0;
      QString estimate;
      {
        std::lock_guard lock(mailbox->mutex);
        mailbox->pending = false;
        satellite = mailbox->satellitePercent;
        global = mailbox->globalPercent;
        estimate = Q(mailbox->estimate);
      }
      owner->dialog_.ShowProgress(satellite, global, estimate);
    });
  }

  void EventAdded(int, const TResultRows& rows, int satelliteCount, int totalCount) override {
    TPredictionCommands* owner = &owner_;
    Post([owner, kind = kind_, rows, satelliteCount, totalCount] {
      owner->onEventAdded(kind, rows, satelliteCount, totalCount);
    });
  }

  void SortStarted(bool interruptedByCancel) override {
    TPredictionCommands* owner = &owner_;
    Post([owner, interruptedByCancel] { owner->dialog_.SortStarted(interruptedByCancel); });
  }

  void SortProgress(int percent) override {
    {
      std::lock_guard lock(mailbox_->mutex);
      mailbox_->sortPercent = percent;
      if (mailbox_->sortPending) return;
      mailbox_->sortPending = true;
    }
    TPredictionCommands* owner = &owner_;
    Post([owner, mailbox = mailbox_] {
      int percent = 0;
      {
        std::lock_guard lock(mailbox->mutex);
        mailbox->sortPending = false;
        percent = mailbox->sortPercent;
      }
      owner->dialog_.ShowSortProgress(percent);
    });
  }

 private:
  TPredictionCommands& owner_;
  TSearchKind kind_;
  std::shared_ptr<TProgressMailbox> mailbox_;

  // The owner outlives the thread (it joins it before it goes); a call still queued when the
  // owner goes is dropped with it.
  template <typename F>
  void Post(F&& call) {
    QMetaObject::invokeMethod(&owner_, std::forward<F>(call), Qt::QueuedConnection);
  }
};

TPredictionCommands::TPredictionCommands(TTracker& tracker, TTimeCommands& time,
                                         TTrackingCommands& tracking, TFooter& footer,
                                         UserDialogs& dialogs, TForm3& dialog, QObject* parent)
    : QObject(parent),
      tracker_(tracker),
      time_(time),
      tracking_(tracking),
      footer_(footer),
      dialogs_(dialogs),
      dialog_(dialog) {
  predict = new QAction(QStringLiteral("&Predict"), this);
  goTo = new QAction(QStringLiteral("Go to"), this);
  save = new QAction(QStringLiteral("Save"), this);
  kinds = new QActionGroup(this);
  showPasses = new QAction(QStringLiteral("Passes"), kinds);
  showFlares = new QAction(QStringLiteral("Flares"), kinds);
  for (QAction* kind : {showPasses, showFlares}) kind->setCheckable(true);
  showPasses->setChecked(true);
  passLines = new QAction(QStringLiteral("One line per pass"), this);
  passLines->setCheckable(true);
  details = new QAction(QStringLiteral("Details"), this);
  // Space in a results table, where the page adds it.
  details->setShortcut(QKeySequence(Qt::Key_Space));
  details->setShortcutContext(Qt::WidgetShortcut);
  connect(predict, &QAction::triggered, this, [this] { PrepareSearch(ShownKind()); });
  connect(goTo, &QAction::triggered, this, [this] {
    if (PassLinesShown()) {
      GoToPass(selectedLine ? selectedLine() : -1);
      return;
    }
    TSearchKind kind = ShownKind();
    GoTo(kind, selectedRow ? selectedRow(kind) : -1);
  });
  connect(details, &QAction::triggered, this, [this] {
    if (PassLinesShown()) {
      ShowPassDetails(selectedLine ? selectedLine() : -1);
      return;
    }
    TSearchKind kind = ShownKind();
    ShowDetails(kind, selectedRow ? selectedRow(kind) : -1);
  });
  connect(save, &QAction::triggered, this, [this] { Save(ShownKind()); });
  connect(showPasses, &QAction::triggered, this, [this] { ShowKind(TSearchKind::Passes); });
  connect(showFlares, &QAction::triggered, this, [this] { ShowKind(TSearchKind::Flares); });
  // Until a search has run, each table holds one empty row.
  rows_ = {TResultRows{std::nullopt}, TResultRows{std::nullopt}};
}

TPredictionCommands::~TPredictionCommands() {
  StopSearch();
}

TSearchKind TPredictionCommands::ShownKind() const {
  return showFlares->isChecked() ? TSearchKind::Flares : TSearchKind::Passes;
}

bool TPredictionCommands::PassLinesShown() const {
  return passLines->isChecked() && ShownKind() == TSearchKind::Passes;
}

void TPredictionCommands::ShowKind(TSearchKind kind) {
  (kind == TSearchKind::Flares ? showFlares : showPasses)->setChecked(true);
}

void TPredictionCommands::zapodawajIridiums(const QString& file) {
  std::string problem;
  iridiumTable_ = zen::zapodawajIridiums(std::filesystem::path(file.toStdString()), &problem);
  iridiumProblem_ = QString::fromStdString(problem);
  isIridium = [this](int64_t catalogNumber) { return IsIridium(iridiumTable_, catalogNumber); };
}

void TPredictionCommands::SetOptions(const TPredictionOptions& options) {
  tracker_.prediction = options;
}

void TPredictionCommands::SetAutomatic(bool automatic) {
  setup_.automatic = automatic;
  if (!automatic) {
    PeriodToManual();
  } else {
    emit SetupChanged();
  }
}

void TPredictionCommands::SetBackward(bool backward) {
  setup_.backward = backward;
}

QString TPredictionCommands::LeavePeriodStart(const QString& typed) {
  return Q(setup_.period.LeaveStart(typed.toStdString()));
}

QString TPredictionCommands::LeavePeriodEnd(const QString& typed) {
  return Q(setup_.period.LeaveEnd(typed.toStdString()));
}

void TPredictionCommands::PeriodToManual() {
  const TPredictionOptions& o = tracker_.prediction;
  setup_.period = zen::PeriodToManual(tracker_.time.MachineTime, o.periodLength, o.periodUnit,
                                      setup_.backward, tracker_.time.UnitLength);
  emit SetupChanged();
}

void TPredictionCommands::PrepareSearch(TSearchKind kind) {
  // A search that is still finishing (its dialog closed during the sort) is not joined by a
  // second one.
  if (searchRunning_) return;
  const TPredictionOptions options = tracker_.prediction;
  std::vector<TSearchSatellite> list = SearchList(tracker_.list, SearchesAllLoaded(kind, options));
  if (!HasSomethingToSearch(kind, list, isIridium)) {
    QString text = QString::fromLatin1(NothingToSearchText(kind));
    // Why the table is empty, when it is.
    if (kind == TSearchKind::Flares && !iridiumProblem_.isEmpty()) text += "\n" + iridiumProblem_;
    dialogs_.Inform(text);
    return;
  }

  const size_t k = Index(kind);
  searchRunning_ = true;
  predict->setEnabled(false);
  // Why the last search found nothing no longer holds.
  footer_.Withdraw(kFooterAlert, leftOutAlert_);
  leftOutAlert_.clear();
  ready_[k] = false;
  rows_[k] = TResultRows{std::nullopt};
  nextResultRow_ = 0;
  emit RowsChanged(static_cast<int>(kind), 0);
  if (kind == TSearchKind::Passes) {
    passLines_.clear();
    emit PassLinesChanged();
  }

  if (setup_.automatic) {
    PeriodToManual();
  }
  if (setup_.period.SwapIfReversed()) emit SetupChanged();

  const double offsetHours = tracker_.time.UtcOffsetHours();
  const TSite& site = tracker_.Site();
  TSearchRequest request = MakeSearchRequest(kind, options, setup_.period, offsetHours, site,
                                             std::move(list), iridiumTable_);
  auto searched = std::make_shared<const TSearchRequest>(std::move(request));
  searched_[k] = searched;
  exportSites_[k] = TExportSite{site.name, site.latitude, site.longitude, offsetHours};
  const std::string siteText = SiteText(site.name, site.latitude, site.longitude);
  const std::string zoneText = TimeZoneText(offsetHours);
  flags_ = std::make_shared<TSearchFlags>();
  dialog_.Prepare(kind, Q(setup_.period.StartText()), Q(setup_.period.EndText()), Q(siteText),
                  Q(zoneText), flags_);
  searchedFrom_[k] = setup_.period.PeriodStartRec;
  headers_[k] = zen::ReportHeader(
      MakeReportHeaderInput(kind, options, setup_.automatic, setup_.period, siteText, zoneText));
  time_.StopTimers();

  if (worker_.joinable()) worker_.join();
  auto search = [this, kind, searched, flags = flags_] {
    const TSearchRequest& request = *searched;
    TSearchOutcome outcome;
    std::string failure;
    try {
      TQueuedListener listener(*this, kind);
      outcome = RunSearch(request, *flags, &listener);
    } catch (const std::exception& error) {
      failure = error.what();
      outcome.terminated = true;
    }
    QMetaObject::invokeMethod(
        this,
        [this, kind, outcome = std::move(outcome), failure]() mutable {
          onSearchFinished(kind, std::move(outcome), failure);
        },
        Qt::QueuedConnection);
  };
  try {
    worker_ = std::thread(std::move(search));
  } catch (const std::system_error& error) {
    searchRunning_ = false;
    predict->setEnabled(true);
    time_.StartTimers();
    dialogs_.ShowError(QStringLiteral("The search cannot start: ") + Q(error.what()));
    return;
  }

  QPointer<TPredictionCommands> alive(this);
  dialog_.exec();
  if (alive.isNull()) return;
  // Closed during the sort: the search stops where it stands and reports what it has.
  if (searchRunning_) flags_->terminate = true;
}

void TPredictionCommands::onEventAdded(TSearchKind kind, const TResultRows& rows,
                                       int satelliteCount, int totalCount) {
  TResultRows& table = rows_[Index(kind)];
  const size_t first = nextResultRow_;
  for (const std::optional<TFound>& row : rows) {
    if (nextResultRow_ < table.size()) {
      table[nextResultRow_] = row;
    } else {
      table.push_back(row);
    }
    ++nextResultRow_;
  }
  emit RowsChanged(static_cast<int>(kind), static_cast<int>(first));
  dialog_.ShowCounts(satelliteCount, totalCount);
}

void TPredictionCommands::onSearchFinished(TSearchKind kind, TSearchOutcome outcome,
                                           const std::string& failure) {
  if (worker_.joinable()) worker_.join();
  const size_t k = Index(kind);
  rows_[k] = outcome.rows.empty() ? TResultRows{std::nullopt} : std::move(outcome.rows);
  emit RowsChanged(static_cast<int>(kind), 0);
  if (kind == TSearchKind::Passes) {
    passLines_ = std::move(outcome.passes);
    emit PassLinesChanged();
  }
  const bool sortStopped = outcome.interruptedInSort || outcome.terminated;
  if (outcome.interruptedByCancel || sortStopped) MarkInterrupted(headers_[k]);
  dialog_.Finished(sortStopped);
  if (searched_[k]) leftOutAlert_ = Q(LeftOutText(*searched_[k], outcome));
  if (!leftOutAlert_.isEmpty()) footer_.SendToFooter(kFooterAlert, leftOutAlert_);
  ready_[k] = true;
  time_.StartTimers();
  searchRunning_ = false;
  predict->setEnabled(true);
  if (!failure.empty()) dialogs_.ShowError(QStringLiteral("The search stopped: ") + Q(failure));
}

void TPredictionCommands::StopSearch() {
  if (!worker_.joinable()) return;
  flags_->cancel = true;
  flags_->terminate = true;
  worker_.join();
}

int TPredictionCommands::FindTracked(const std::string& catalogNumber) const {
  const TSatelliteList& list = tracker_.list;
  int found = 0;
  for (int i = 1; i <= list.TrackedCount; ++i) {
    if (list.CatalogNumberOf(i) == catalogNumber) found = i;
  }
  return found;
}

void TPredictionCommands::GoTo(TSearchKind kind, int row) {
  const TResultRows& rows = rows_[Index(kind)];
  if (row < 0 || row >= static_cast<int>(rows.size())) return;
  GoToEvent(kind, rows[static_cast<size_t>(row)]);
}

void TPredictionCommands::GoToPass(int line) {
  if (line < 0 || line >= static_cast<int>(passLines_.size())) return;
  GoToEvent(TSearchKind::Passes, passLines_[static_cast<size_t>(line)].culmination);
}

void TPredictionCommands::GoToEvent(TSearchKind kind, const std::optional<TFound>& event) {
  const std::vector<std::string> cells = ResultCells(kind, event);
  if (cells.empty() || cells.front().empty()) return;
  const std::string timeText = cells.front();
  const std::string catalogNumber = cells.back();
  int position = FindTracked(catalogNumber);
  if (position == 0) {
    const TSatelliteList& list = tracker_.list;
    std::vector<int> matches;
    for (int slot = 1; slot <= list.LoadedCount; ++slot) {
      if (list.Catalog.CatalogElements[static_cast<size_t>(slot)].elements.catalogNumber ==
          catalogNumber) {
        matches.push_back(slot);
      }
    }
    for (int slot : matches) tracking_.TrackCatalogEntry(slot);
    position = FindTracked(catalogNumber);
  }
  if (position == 0) return;
  time_.GoToMoment(DateRecToJulian(NormaliseDateText(timeText).record),
                   tracker_.show.middleAfterGoToMarker);
  tracking_.SetActive(position);
}

void TPredictionCommands::Save(TSearchKind kind) {
  const size_t k = Index(kind);
  if (!ready_[k]) {
    dialogs_.Inform(QStringLiteral("Nothing to save."));
    return;
  }
  const QString proposal = QDir(programFolder_).filePath(
      QStringLiteral("Output/") + QString::fromStdString(ReportFileName(kind, searchedFrom_[k])));
  QString chosenFilter;
  QString file = dialogs_.ChooseFileToSave(
      QStringLiteral("Save results"), proposal,
      QStringList{kReportFilter, kCalendarFilter, kJsonFilter, QStringLiteral("All files (*)")}
          .join(QStringLiteral(";;")),
      &chosenFilter);
  // A name typed without an extension gets the chosen type's.
  if (!file.isEmpty()) {
    file = CompleteFileToSave(dialogs_, file,
                              chosenFilter == kCalendarFilter ? QStringLiteral("ics")
                              : chosenFilter == kJsonFilter   ? QStringLiteral("json")
                                                              : QStringLiteral("txt"));
  }
  if (file.isEmpty()) return;
  const QString suffix = QFileInfo(file).suffix().toLower();
  if (suffix == QStringLiteral("ics") || suffix == QStringLiteral("json")) {
    WriteExport(kind, file, suffix == QStringLiteral("ics"));
    return;
  }
  std::string error;
  if (!WriteReport(file.toStdString(), ReportLines(kind, headers_[k], rows_[k]), error)) {
    dialogs_.ShowError(QStringLiteral("Cannot write ") + file + QStringLiteral(": ") + Q(error));
  }
}

bool TPredictionCommands::WriteExport(TSearchKind kind, const QString& file, bool calendar) {
  const size_t k = Index(kind);
  static const std::vector<TSearchSatellite> kNone;
  const std::vector<TSearchSatellite>& satellites = searched_[k] ? searched_[k]->satellites : kNone;
  std::string text;
  if (kind == TSearchKind::Passes) {
    text = calendar ? PassesCalendar(passLines_, exportSites_[k], cli::NowUtcWholeSecond()) : PassesJson(passLines_);
  } else {
    text = calendar ? FlaresCalendar(rows_[k], satellites, exportSites_[k], cli::NowUtcWholeSecond())
                    : FlaresJson(rows_[k], satellites);
  }
  std::string error;
  if (!WriteFileBytes(file.toStdString(), text, error)) {
    dialogs_.ShowError(QStringLiteral("Cannot write ") + file + QStringLiteral(": ") + Q(error));
    return false;
  }
  return true;
}

bool TPredictionCommands::ShowDetails(TSearchKind kind, int row) {
  TPassPlot plot;
  if (kind == TSearchKind::Flares) {
    if (!FlarePlotOf(row, plot)) return false;
    emit DetailsChosen(plot);
    return true;
  }
  const TResultRows& rows = rows_[Index(kind)];
  if (row < 0 || row >= static_cast<int>(rows.size())) return false;
  const std::optional<TFound>& found = rows[static_cast<size_t>(row)];
  if (!found) return false;
  return ShowPassDetails(PassOfRow(passLines_, *found));
}

bool TPredictionCommands::ShowPassDetails(int line) {
  TPassPlot plot;
  if (!PassPlotOf(line, plot)) return false;
  emit DetailsChosen(plot);
  return true;
}

void AddMoon(TPassPlot& plot, const TGeodetic& site, double atUtc) {
  const std::vector<TTrackPoint>& path = plot.track.points;
  if (path.empty()) return;
  plot.moon = MoonBetween(site, path.front().timeUtc, path.back().timeUtc, atUtc);
}

TPassPlot PlotOfPass(const TSearchRequest& request, const TPassLine& pass) {
  const TCatalogSet& set = request.satellites.at(pass.satellite).set;
  const TGeodetic site = SiteOf(request);
  const TTrackSpan span =
      HorizonSpan(set, site, pass.rise.timeUtc, pass.set.timeUtc, kPassReachSeconds);
  TPassPlot plot;
  plot.title = pass.culmination.sat + "  " + DateRecToText(pass.rise.time).substr(0, 10);
  plot.track = TrackBetween(set, site, span.fromUtc, span.toUtc, pass.culmination.timeUtc);
  plot.marks = {MarkOf(pass.rise, "Rise"), MarkOf(pass.culmination, "Max"),
                MarkOf(pass.set, "Set")};
  plot.utcOffsetHours = request.utcOffsetHours;
  plot.facts = PassFacts(pass);
  return plot;
}

bool TPredictionCommands::PassPlotOf(int line, TPassPlot& plot) const {
  const TSearchRequest* request = searched_[Index(TSearchKind::Passes)].get();
  if (request == nullptr || line < 0 || line >= static_cast<int>(passLines_.size())) return false;
  const TPassLine& pass = passLines_[static_cast<size_t>(line)];
  if (pass.satellite >= request->satellites.size()) return false;
  plot = PlotOfPass(*request, pass);
  if (tracker_.show.moon) AddMoon(plot, SiteOf(*request), pass.culmination.timeUtc);
  return true;
}

bool TPredictionCommands::FlarePlotOf(int row, TPassPlot& plot) const {
  const TSearchRequest* request = searched_[Index(TSearchKind::Flares)].get();
  const TResultRows& rows = rows_[Index(TSearchKind::Flares)];
  if (request == nullptr || row < 0 || row >= static_cast<int>(rows.size())) return false;
  const std::optional<TFound>& flare = rows[static_cast<size_t>(row)];
  if (!flare) return false;
  const TSearchSatellite* satellite = nullptr;
  for (const TSearchSatellite& s : request->satellites) {
    if (s.catalogNumberText == flare->catalogNumber) {
      satellite = &s;
      break;
    }
  }
  if (satellite == nullptr) return false;
  // The path while the satellite is up, at most the reach either side of the flare.
  const TTrackSpan span = HorizonSpan(satellite->set, SiteOf(*request), flare->timeUtc,
                                      flare->timeUtc, kFlareReachSeconds);
  plot = TPassPlot{};
  plot.title = satellite->name + " flare  " + DateRecToText(flare->time).substr(0, 10);
  plot.track =
      TrackBetween(satellite->set, SiteOf(*request), span.fromUtc, span.toUtc, flare->timeUtc);
  plot.marks = {MarkOf(*flare, "Flare")};
  plot.utcOffsetHours = request->utcOffsetHours;
  plot.facts = FlareFacts(*flare);
  if (tracker_.show.moon) AddMoon(plot, SiteOf(*request), flare->timeUtc);
  return true;
}

}  // namespace zen
