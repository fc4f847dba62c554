// The prediction search: walks, progress, the outcome's rows and the sort.
#include "prediction/search.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <memory>
#include <mutex>
#include <thread>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "prediction/moment_table.h"
#include "prediction/pass_walk.h"
#include "prediction/result_sort.h"
#include "tracking/work_team.h"

namespace zen {

int CoarseStepSeconds(int level) {
  // A higher level misses fewer short passes and costs more time.
  static constexpr std::array<int, 5> kSeconds = {60, 30, 10, 5, 1};
  if (level < 0) level = 0;
  if (level > 4) level = 4;
  return kSeconds[static_cast<size_t>(level)];
}

TSearchSatellite SearchSatelliteOf(const std::string& name, const TCatalogSet& set) {
  return TSearchSatellite{set, name, set.elements.catalogNumber};
}

bool IsSearched(const TSearchRequest& request, const TSearchSatellite& satellite) {
  return request.kind == TSearchKind::Passes ||
         IsIridium(request.iridiumTable, satellite.set.number);
}

namespace {

// Whether each event is one row: every flare, and passes in brief output.
bool OneRowPerEvent(const TSearchRequest& request) {
  return request.brief || request.kind == TSearchKind::Flares;
}

TFound FoundOf(const TPassSample& sample, const TSearchSatellite& satellite,
               const TSearchPeriod& period) {
  TFound found;
  found.timeUtc = period.JulianAt(sample.second);
  found.time = JulianToDateRec(UtcToLocal(found.timeUtc, period.utcOffsetHours));
  found.sat = satellite.name;
  found.catalogNumber = satellite.catalogNumberText;
  found.azimuth = sample.azimuthDeg;
  found.elevation = sample.elevationDeg;
  found.range = sample.rangeKm;
  found.sunAzimuth = sample.sunAzimuthDeg;
  found.sunElevation = sample.sunElevationDeg;
  return found;
}

// A pass that met the conditions at the period's first second began at or before it: the walk
// looks at seconds before the start only when the satellite is up at the start.
TFound FoundOf(const TPassSample& sample, const TPassEvent& pass, const TSearchSatellite& satellite,
               const TSearchPeriod& period) {
  TFound found = FoundOf(sample, satellite, period);
  found.inProgress = pass.rise.second <= 0;
  return found;
}

// The row of a flare: its sample under the satellite's Iridium label.
TFound FoundOf(const TFlareEvent& flare, const TSearchRequest& request,
               const TSearchSatellite& satellite, const TSearchPeriod& period) {
  TFound found = FoundOf(flare.sample, satellite, period);
  found.sat = IridiumLabel(request.iridiumTable, satellite.name, satellite.set.number,
                           request.useIridiumTable);
  found.flareAngles = flare.anglesDeg;
  found.panel = flare.panel;
  found.direction = flare.direction;
  return found;
}

// The rows of one event: a flare, a pass's culmination, or rise, culmination, set and an empty
// row.
TResultRows RowsOf(const TWalkEvent& walkEvent, const TSearchRequest& request,
                   const TSearchSatellite& satellite, const TSearchPeriod& period) {
  TResultRows rows;
  if (const TFlareEvent* flare = std::get_if<TFlareEvent>(&walkEvent)) {
    rows.push_back(FoundOf(*flare, request, satellite, period));
    return rows;
  }
  const TPassEvent& event = std::get<TPassEvent>(walkEvent);
  if (request.brief) {
    rows.push_back(FoundOf(event.culmination, event, satellite, period));
  } else {
    rows.push_back(FoundOf(event.rise, event, satellite, period));
    rows.push_back(FoundOf(event.culmination, event, satellite, period));
    rows.push_back(FoundOf(event.set, event, satellite, period));
    rows.emplace_back();
  }
  return rows;
}

// "3:07": minutes and two-digit seconds.
std::string EstimateText(double remainingMs) {
  const long long ms = std::max(0LL, std::llround(remainingMs));
  const long long seconds = (ms % 60000) / 1000;
  return std::to_string(ms / 60000) + ":" + (seconds < 10 ? "0" : "") + std::to_string(seconds);
}

class TProgress {
 public:
  explicit TProgress(TSearchListener* listener)
      : listener_(listener), start_(std::chrono::steady_clock::now()) {}

  // Sends the percentages when either shown value changes.
  void Report(double satellitePercent, double globalPercent) {
    if (listener_ == nullptr) return;
    const int satellite = static_cast<int>(std::lround(std::clamp(satellitePercent, 0.0, 100.0)));
    const int global = static_cast<int>(std::lround(std::clamp(globalPercent, 0.0, 100.0)));
    if (satellite == satellite_ && global == global_) return;
    satellite_ = satellite;
    global_ = global;
    const double elapsedMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_)
            .count();
    const double remainingMs = elapsedMs * 100.0 / (globalPercent + 0.001) - elapsedMs + 1000.0;
    listener_->Progress(satellite, global, EstimateText(remainingMs));
  }

 private:
  TSearchListener* listener_;
  std::chrono::steady_clock::time_point start_;
  int satellite_ = -1;
  int global_ = -1;
};

// The seconds of one stretch of the lockstep walk: about a hundredth of the period, so the
// time reached moves by the percent, within bounds that keep the shared table small and the
// stretches few.
int64_t StretchSeconds(int64_t periodSeconds) {
  return std::clamp<int64_t>((periodSeconds + 99) / 100, 300, 3600);
}

int TeamSize(int requested) {
  constexpr int kMostThreads = 256;
  int threads = requested > 0 ? requested : static_cast<int>(std::thread::hardware_concurrency());
  return std::clamp(threads, 1, kMostThreads);
}

// One search. Every satellite keeps its own walk; the period is walked in stretches, each
// first filling the table of its seconds and then taking every satellite through it, both
// shared out among the team. A satellite's walk sees the same seconds in the same order
// whatever the team, so the outcome does not depend on it. Only the calling thread (member
// 0) talks to the listener: it hands on the events found by all members in the order they
// were found, and the progress.
class TSearchRun {
 public:
  TSearchRun(const TSearchRequest& request, TSearchFlags& flags, TSearchListener* listener)
      : request_(request),
        flags_(flags),
        listener_(listener),
        period_(PeriodOfRequest(request)),
        conditions_(ConditionsOfRequest(request)),
        observer_(ObserverFromSite(request.latitudeDeg, request.longitudeDeg, request.altitudeM)),
        progress_(listener),
        handedOnOf_(request.satellites.size(), 0),
        walks_(request.satellites.size()),
        events_(request.satellites.size()),
        table_(request.kind == TSearchKind::Flares) {
    for (size_t k = 0; k < request.satellites.size(); ++k) {
      if (IsSearched(request, request.satellites[k])) searched_.push_back(k);
    }
  }

  TSearchOutcome Run() {
    if (period_.seconds > 0 && !searched_.empty()) Walk();
    // A terminated search says nothing more; otherwise every event is handed on before the
    // sort begins.
    if (terminated_) return Outcome();
    HandOnEvents();
    if (!stopped_) {
      // The line names the satellite of the latest event while the search runs; at the end
      // it counts every satellite as done.
      if (!searched_.empty()) Announce(searched_.back());
      progress_.Report(100.0, 100.0);
    }
    TSearchOutcome outcome = Outcome();
    Sort(outcome);
    return outcome;
  }

 private:
  // The events found, satellite after satellite, each in time order; one empty row if none.
  TSearchOutcome Outcome() {
    TSearchOutcome outcome;
    outcome.interruptedByCancel = interruptedByCancel_;
    outcome.terminated = terminated_;
    // Each walk counted on its own, on whichever member walked it; the team is at rest now.
    for (const std::unique_ptr<TSatelliteWalk>& walk : walks_) {
      if (walk) outcome.leftOut += walk->LeftOut();
    }
    for (size_t k = 0; k < events_.size(); ++k) {
      outcome.totalCount += static_cast<int>(events_[k].size());
      for (const TWalkEvent& event : events_[k]) {
        TResultRows rows = RowsOf(event, request_, request_.satellites[k], period_);
        outcome.rows.insert(outcome.rows.end(), rows.begin(), rows.end());
      }
    }
    if (outcome.rows.empty()) outcome.rows.emplace_back();
    if (request_.kind == TSearchKind::Passes) outcome.passes = PassLines();
    return outcome;
  }

  // Every pass found as one line, in the order of the culminations; a tie keeps the list's order.
  std::vector<TPassLine> PassLines() const {
    std::vector<TPassLine> lines;
    for (size_t k = 0; k < events_.size(); ++k) {
      const TSearchSatellite& satellite = request_.satellites[k];
      for (const TWalkEvent& walkEvent : events_[k]) {
        const TPassEvent* event = std::get_if<TPassEvent>(&walkEvent);
        if (event == nullptr) continue;
        TPassLine line;
        line.satellite = k;
        line.number = satellite.set.number;
        line.rise = FoundOf(event->rise, *event, satellite, period_);
        line.culmination = FoundOf(event->culmination, *event, satellite, period_);
        line.set = FoundOf(event->set, *event, satellite, period_);
        line.sunlitSeconds = event->sunlitSeconds;
        lines.push_back(std::move(line));
      }
    }
    std::stable_sort(lines.begin(), lines.end(), [](const TPassLine& a, const TPassLine& b) {
      return a.culmination.timeUtc < b.culmination.timeUtc;
    });
    return lines;
  }

  void Walk() {
    TWorkTeam team(TeamSize(request_.threads));
    for (int member = 0; member < team.Members(); ++member) {
      lanes_.push_back(std::make_unique<TWalkLanes>());
    }
    Announce(searched_.front());
    const int64_t coarse = conditions_.coarseStepSeconds;
    const int64_t stretch = StretchSeconds(period_.seconds);
    for (int64_t first = 0; first <= period_.seconds && !stopped_; first += stretch) {
      stretchFirst_ = first;
      stretchEnd_ = std::min(first + stretch, period_.seconds + 1);
      // A walk may look back one coarse step from any second of the stretch.
      table_.Cover(first - coarse, stretchEnd_ - 1);
      next_.store(0);
      done_.store(0);
      team.Run([this](int member) { FillTable(member); }, [this] { Look(); });
      Look();
      if (stopped_) break;
      next_.store(0);
      team.Run([this](int member) { WalkStretch(member); }, [this] { Look(); });
      Look();
    }
  }

  void FillTable(int member) {
    constexpr int64_t kBlock = 256;
    for (;;) {
      const int64_t from = table_.First() + static_cast<int64_t>(next_.fetch_add(1)) * kBlock;
      if (from > table_.Last() || Stopping()) return;
      table_.Fill(observer_, period_, from, std::min(from + kBlock - 1, table_.Last()));
      if (member == 0) Look();
    }
  }

  void WalkStretch(int member) {
    TTableMoments moments(table_, observer_, period_);
    std::vector<TWalkEvent> found;
    for (;;) {
      const size_t i = next_.fetch_add(1);
      if (i >= searched_.size() || Stopping()) return;
      const size_t k = searched_[i];
      std::unique_ptr<TSatelliteWalk>& walk = walks_[k];
      if (!walk) {
        walk = std::make_unique<TSatelliteWalk>(request_.satellites[k].set, conditions_,
                                                period_.seconds);
      }
      found.clear();
      walk->WalkUntil(stretchEnd_, moments, found, lanes_[static_cast<size_t>(member)].get());
      if (!found.empty()) {
        std::vector<TWalkEvent>& all = events_[k];
        std::lock_guard<std::mutex> lock(pendingMutex_);
        for (const TWalkEvent& event : found) {
          all.push_back(event);
          pending_.push_back({k, static_cast<int>(all.size()), event});
        }
      }
      done_.fetch_add(1);
      if (member == 0) Look();
    }
  }

  // Any member may stop taking work once a flag is set; member 0 decides what it means.
  bool Stopping() const {
    return stopped_.load() || flags_.cancel.load() || flags_.terminate.load();
  }

  // Member 0 between pieces of work: events and progress to the listener, the flags read.
  void Look() {
    HandOnEvents();
    const double periodSeconds = static_cast<double>(period_.seconds);
    const double share = static_cast<double>(done_.load()) / static_cast<double>(searched_.size());
    const double reached = static_cast<double>(stretchFirst_);
    const double walked = reached + static_cast<double>(stretchEnd_ - stretchFirst_) * share;
    progress_.Report(reached / periodSeconds * 100.0, walked / periodSeconds * 100.0);
    if (stopped_) return;
    if (flags_.terminate.load()) {
      terminated_ = true;
      stopped_ = true;
    } else if (flags_.cancel.load()) {
      interruptedByCancel_ = true;
      stopped_ = true;
    }
  }

  struct TPendingEvent {
    size_t satellite;
    int satelliteCount;
    TWalkEvent event;
  };

  void HandOnEvents() {
    std::vector<TPendingEvent> pending;
    {
      std::lock_guard<std::mutex> lock(pendingMutex_);
      pending.swap(pending_);
    }
    for (const TPendingEvent& p : pending) {
      if (flags_.terminate.load()) return;
      ++handedOn_;
      if (listener_ == nullptr) continue;
      if (p.satellite != announced_) Announce(p.satellite);
      handedOnOf_[p.satellite] = p.satelliteCount;
      const TSearchSatellite& satellite = request_.satellites[p.satellite];
      listener_->EventAdded(static_cast<int>(p.satellite) + 1,
                            RowsOf(p.event, request_, satellite, period_), p.satelliteCount,
                            handedOn_);
    }
  }

  // The line shows the satellite of the latest event (at first the first one searched, at the
  // end the last one).
  void Announce(size_t k) {
    announced_ = k;
    if (listener_ == nullptr) return;
    const std::string n = std::to_string(request_.satellites.size());
    listener_->SatelliteStarted(
        static_cast<int>(k) + 1,
        "Tracked sat " + std::to_string(k + 1) + "/" + n + ": " + request_.satellites[k].name,
        handedOnOf_[k]);
  }

  void Sort(TSearchOutcome& outcome) {
    flags_.cancel.store(true);
    if (listener_ != nullptr) listener_->SortStarted(outcome.interruptedByCancel);
    TSortControl sort;
    sort.rowsPerEvent = OneRowPerEvent(request_) ? 1 : 4;
    sort.keyRow = OneRowPerEvent(request_) ? 0 : 1;
    sort.terminate = &flags_.terminate;
    if (listener_ != nullptr) {
      sort.progress = [this](int percent) { listener_->SortProgress(percent); };
    }
    if (!SortResults(outcome.rows, outcome.totalCount, sort)) outcome.interruptedInSort = true;
  }

  const TSearchRequest& request_;
  TSearchFlags& flags_;
  TSearchListener* listener_;
  const TSearchPeriod period_;
  const TWalkConditions conditions_;
  const TGeodetic observer_;
  TProgress progress_;
  bool interruptedByCancel_ = false;  // written and read by the calling thread only
  bool terminated_ = false;
  int handedOn_ = 0;              // events handed on to the listener
  std::vector<int> handedOnOf_;   // the same per entry
  std::vector<size_t> searched_;  // the entries walked, in list order
  size_t announced_ = 0;

  std::vector<std::unique_ptr<TSatelliteWalk>> walks_;
  std::vector<std::unique_ptr<TWalkLanes>> lanes_;  // one per member of the team
  std::vector<std::vector<TWalkEvent>> events_;  // per entry, in time order
  TMomentTable table_;
  int64_t stretchFirst_ = 0;
  int64_t stretchEnd_ = 0;
  std::atomic<size_t> next_{0};  // the next piece of work to take
  std::atomic<size_t> done_{0};  // satellites through the stretch
  std::atomic<bool> stopped_{false};

  std::mutex pendingMutex_;
  std::vector<TPendingEvent> pending_;
};

}  // namespace

TSearchOutcome RunSearch(const TSearchRequest& request, TSearchFlags& flags,
                         TSearchListener* listener) {
  TSearchOutcome outcome = TSearchRun(request, flags, listener).Run();
#ifdef __GLIBC__
  // The walks, moment tables and events are freed now. The allocator keeps such freed memory
  // for the process wherever a later block lies above it, so a program left running for days
  // would hold the peak of every search; hand the free pages back to the system.
  malloc_trim(0);
#endif
  return outcome;
}

}  // namespace zen
