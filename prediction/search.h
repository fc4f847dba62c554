// The prediction search: every satellite of a list walked through a period in time steps,
// passes (or flares) that meet the conditions recorded, and the results sorted by time.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/catalog.h"
#include "core/timescale.h"
#include "prediction/iridium.h"

namespace zen {

enum class TSearchKind { Passes = 0, Flares = 1 };

// One entry of the list to search: the search keeps its own copy of the element set.
struct TSearchSatellite {
  TCatalogSet set;
  std::string name;               // up to 24 characters, UTF-8
  std::string catalogNumberText;  // as lists show it: set.elements.catalogNumber
};

// The entry for a catalogue set and its name.
TSearchSatellite SearchSatelliteOf(const std::string& name, const TCatalogSet& set);

// Everything a search needs, by value: the window's controls may change while it runs.
struct TSearchRequest {
  TSearchKind kind = TSearchKind::Passes;
  bool brief = false;                // one row per pass (the culmination) instead of four
  bool allLoaded = false;            // the list is every loaded set, not the tracked ones
  bool illuminationRequired = true;  // the satellite must be sunlit (penumbra is dark)
  double maxSunElevationDeg = -5.0;  // at culmination; 90 means no limit
  double minSatElevationDeg = 10.0;
  // The period on the local clock, as the set-up page shows it; the search works in UTC.
  double periodStartLocal = 0.0;  // Julian dates
  double periodEndLocal = 0.0;
  double utcOffsetHours = 0.0;  // local minus UTC; event times are shown on the local clock
  int level = 0;                // anti miss out filter level index 0..4 ("1".."5")
  double latitudeDeg = 0.0;     // the site, north positive
  double longitudeDeg = 0.0;    // east positive
  double altitudeM = 0.0;
  std::vector<TSearchSatellite> satellites;  // in search order
  // Flares: only entries the status table lists are searched; useIridiumTable chooses the
  // labels ("Use internal Iridium status table"); a flare's smallest panel angle must not be
  // above maxFlareAngleDeg.
  TIridiumTable iridiumTable;
  bool useIridiumTable = true;
  double maxFlareAngleDeg = 1.0;
  int threads = 0;  // 0: every core of the machine
};

// Seconds of the coarse step for a filter level index 0..4: 60, 30, 10, 5, 1.
int CoarseStepSeconds(int level);

// One event: one row of a results table.
struct TFound {
  TDateRec time;         // local clock
  double timeUtc = 0.0;  // the same moment, Julian date UTC
  std::string sat;       // passes: the set's name; flares: the Iridium label
  std::string catalogNumber;
  double azimuth = 0.0;     // degrees
  double elevation = 0.0;   // degrees
  double range = 0.0;       // km
  double sunAzimuth = 0.0;  // degrees, seen from the site
  double sunElevation = 0.0;
  std::array<double, 3> flareAngles{};  // flares: offset angle of panels 1..3, degrees
  uint8_t panel = 0;                    // flares: 1..3
  char direction = ' ';                 // flares: 'A' ascending or 'D' descending
  // Passes: the row belongs to a pass already under way at the period's first second. The
  // satellite was then above the lowest elevation, and the pass's rise row lies before the
  // start, up to one coarse step (where the search stepped back to): no rise through the lowest
  // elevation.
  bool inProgress = false;
};

// The rows of a results table below its heading row; an empty optional is an empty row
// (the row after each pass in full output, or the single row of a search without results).
using TResultRows = std::vector<std::optional<TFound>>;

// One pass that met every condition, from its first to its last second, whatever the rows
// show of it (the culmination alone in brief output).
struct TPassLine {
  size_t satellite = 0;  // its position in the search's list
  int64_t number = -1;   // the full catalogue number
  TFound rise;
  TFound culmination;
  TFound set;
  int64_t sunlitSeconds = 0;  // of the seconds from rise to set

  // Whole seconds from rise to set.
  int64_t DurationSeconds() const;
};

// Shared between the window and a running search; either side may set them at any time.
struct TSearchFlags {
  // Stop searching and sort what was found. The search sets it itself when it starts sorting.
  std::atomic<bool> cancel{false};
  // Stop at once: during the search without sorting, during the sort where it stands.
  std::atomic<bool> terminate{false};
};

// What a search tells its owner while it runs. Every call comes from the thread that runs
// RunSearch; none comes from the threads it starts. Satellites are searched side by side, so
// events arrive in the order they are found; the outcome holds them in list order.
class TSearchListener {
 public:
  virtual ~TSearchListener() = default;
  // line is "Tracked sat K/N: NAME"; position is K (1-based); satelliteCount is the number of
  // its events handed on so far. As all satellites move through the period together, the line
  // names the satellite of the latest event (at first the first satellite searched), and at
  // the end of a search that was not stopped the last one searched: every satellite is then
  // through the period.
  virtual void SatelliteStarted(int position, const std::string& line, int satelliteCount) = 0;
  // Percentages 0..100 and the remaining-time estimate ("3:07"). The satellite percentage is
  // the share of the period that every satellite has been walked through, the global one the
  // share of the whole work. Sent only when a shown value changes (about 200 calls at most).
  virtual void Progress(int satellitePercent, int globalPercent, const std::string& estimate) = 0;
  // An event that met every condition, with the rows it adds (one, or rise, culmination, set
  // and an empty row) and the counts after it.
  virtual void EventAdded(int position, const TResultRows& rows, int satelliteCount,
                          int totalCount) = 0;
  virtual void SortStarted(bool interruptedByCancel) = 0;
  virtual void SortProgress(int percent) = 0;
};

// What the conditions left out of a search: passes that rose above the lowest elevation and
// were not reported, or flares, each counted under one reason.
struct TLeftOut {
  // Passes: no second of the pass met the illumination condition. Flares: reflections (a
  // panel's smallest offset angle no larger than the largest flare angle) while the satellite
  // was in the Earth's shadow.
  int64_t inShadow = 0;
  // Passes: sunlit seconds there were, but the culmination of each of their stretches had the
  // Sun above its limit. Flares: sunlit reflections with the Sun above its limit.
  int64_t sunTooHigh = 0;

  int64_t Total() const { return inShadow + sunTooHigh; }
  TLeftOut& operator+=(const TLeftOut& other) {
    inShadow += other.inShadow;
    sunTooHigh += other.sunTooHigh;
    return *this;
  }
  friend bool operator==(const TLeftOut&, const TLeftOut&) = default;
};

struct TSearchOutcome {
  TResultRows rows;  // sorted unless the search was terminated before the sort
  // A pass search's passes in the order of their culminations (the satellites' order for a
  // tie), unless the search was terminated before the sort.
  std::vector<TPassLine> passes;
  int totalCount = 0;
  bool interruptedByCancel = false;  // the search loop stopped at a cancel
  bool interruptedInSort = false;    // the sort stopped at a terminate
  bool terminated = false;           // the search loop stopped at a terminate (no sort)
  // Over the part of the period searched: a pass counts once whatever the shadow made of it,
  // and only when it set inside the period (as only such passes are reported).
  TLeftOut leftOut;
};

// Whether the search walks the satellite: a flare search walks only the satellites of the
// Iridium table, whatever their names.
bool IsSearched(const TSearchRequest& request, const TSearchSatellite& satellite);

// Runs the whole search on the calling thread and the threads it starts. Results, their order
// before the sort and the sorted rows are those of a search of one satellite after another.
TSearchOutcome RunSearch(const TSearchRequest& request, TSearchFlags& flags,
                         TSearchListener* listener);

}  // namespace zen
