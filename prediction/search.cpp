// The prediction search: walks, progress, the outcome's rows and the sort.
#include "prediction/search.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>

#include "prediction/pass_walk.h"
#include "prediction/result_sort.h"

namespace zen {

int CoarseStepSeconds(int level) {
  // A higher level misses fewer short passes and costs more time.
  static constexpr std::array<int, 5> kSeconds = {60, 30, 10, 5, 1};
  if (level < 0) level = 0;
  if (level > 4) level = 4;
  return kSeconds[static_cast<size_t>(level)];
}

namespace {

// Whether a flare search walks the entry: only Iridium satellites flare. The Iridium table
// comes with the flare scan; until then no entry is one, and a flare search walks nothing.
bool IsIridiumEntry(const TSearchSatellite& /*satellite*/) {
  return false;
}

bool IsSearched(TSearchKind kind, const TSearchSatellite& satellite) {
  return kind == TSearchKind::Passes || IsIridiumEntry(satellite);
}

// The moments of a walk computed as it asks for them.
class TComputedMoments : public TMomentSource {
 public:
  TComputedMoments(const TGeodetic& observer, const TSearchPeriod& period)
      : observer_(observer), period_(period) {}

  const TMoment& At(int64_t second) override {
    if (!valid_ || second != second_) {
      moment_ = MomentAt(observer_, period_.JulianAt(second));
      second_ = second;
      valid_ = true;
    }
    return moment_;
  }

 private:
  TGeodetic observer_;
  TSearchPeriod period_;
  TMoment moment_;
  int64_t second_ = 0;
  bool valid_ = false;
};

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

// The rows of one event: its culmination, or rise, culmination, set and an empty row.
TResultRows RowsOf(const TPassEvent& event, bool brief, const TSearchSatellite& satellite,
                   const TSearchPeriod& period) {
  TResultRows rows;
  if (brief) {
    rows.push_back(FoundOf(event.culmination, satellite, period));
  } else {
    rows.push_back(FoundOf(event.rise, satellite, period));
    rows.push_back(FoundOf(event.culmination, satellite, period));
    rows.push_back(FoundOf(event.set, satellite, period));
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

// The seconds a walk covers between two looks at the flags and the progress.
int64_t SliceSeconds(int64_t periodSeconds) {
  return std::clamp<int64_t>(periodSeconds / 100, 1, 3600);
}

}  // namespace

TSearchOutcome RunSearch(const TSearchRequest& request, TSearchFlags& flags,
                         TSearchListener* listener) {
  TSearchOutcome outcome;
  const TSearchPeriod period = PeriodOfRequest(request);
  const TWalkConditions conditions = ConditionsOfRequest(request);
  const TGeodetic observer =
      ObserverFromSite(request.latitudeDeg, request.longitudeDeg, request.altitudeM);
  const int n = static_cast<int>(request.satellites.size());
  TProgress progress(listener);

  std::vector<std::vector<TPassEvent>> events(request.satellites.size());
  bool stopped = false;
  if (period.seconds == 0) {
    progress.Report(100.0, 100.0);
  } else {
    const double periodSeconds = static_cast<double>(period.seconds);
    const int64_t slice = SliceSeconds(period.seconds);
    for (int k = 0; k < n && !stopped; ++k) {
      const TSearchSatellite& satellite = request.satellites[static_cast<size_t>(k)];
      if (!IsSearched(request.kind, satellite)) continue;
      if (listener != nullptr) {
        listener->SatelliteStarted(k + 1, "Tracked sat " + std::to_string(k + 1) + "/" +
                                              std::to_string(n) + ": " + satellite.name);
      }
      TSatelliteWalk walk(satellite.lines, conditions, period.seconds);
      TComputedMoments moments(observer, period);
      std::vector<TPassEvent>& found = events[static_cast<size_t>(k)];
      while (!walk.Finished()) {
        const size_t before = found.size();
        walk.WalkUntil(walk.NextSecond() + slice, moments, found);
        for (size_t e = before; e < found.size(); ++e) {
          ++outcome.totalCount;
          if (listener != nullptr) {
            listener->EventAdded(k + 1, RowsOf(found[e], request.brief, satellite, period),
                                 static_cast<int>(e + 1), outcome.totalCount);
          }
        }
        const double reached =
            std::min(periodSeconds, std::fabs(static_cast<double>(walk.NextSecond())));
        progress.Report(reached / periodSeconds * 100.0,
                        (periodSeconds * k + reached) / (periodSeconds * n) * 100.0);
        if (flags.terminate.load()) {
          outcome.terminated = true;
          stopped = true;
          break;
        }
        if (flags.cancel.load()) {
          outcome.interruptedByCancel = true;
          stopped = true;
          break;
        }
      }
    }
  }

  for (size_t k = 0; k < events.size(); ++k) {
    for (const TPassEvent& event : events[k]) {
      TResultRows rows = RowsOf(event, request.brief, request.satellites[k], period);
      outcome.rows.insert(outcome.rows.end(), rows.begin(), rows.end());
    }
  }
  if (outcome.rows.empty()) outcome.rows.emplace_back();
  if (outcome.terminated) return outcome;

  flags.cancel.store(true);
  if (listener != nullptr) listener->SortStarted(outcome.interruptedByCancel);
  TSortControl sort;
  sort.rowsPerEvent = request.brief ? 1 : 4;
  sort.keyRow = request.brief ? 0 : 1;
  sort.terminate = &flags.terminate;
  if (listener != nullptr)
    sort.progress = [listener](int percent) { listener->SortProgress(percent); };
  if (!SortResults(outcome.rows, outcome.totalCount, sort)) outcome.interruptedInSort = true;
  return outcome;
}

}  // namespace zen
