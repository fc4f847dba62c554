// A week of tracking in one run: 200 satellites of the Starlink constellation computed every
// second of seven simulated days, the information table filled after every cycle, the map,
// radar and time panel redrawn every simulated minute, the active satellite changed every
// hour and a pass report of the tracked satellites made for every day. Every number that is
// not finite and reaches a table, a drawing or a report is counted, and the resident memory
// after the first simulated hour is compared with the memory at the end.
//
//   soak [DAYS]   simulated days, 7 unless given
//
// The last line is "soak: CYCLES cycles, NAN non-finite, RSS start KIB KiB, end KIB KiB". The
// exit status is non-zero when a non-finite number was counted or the memory grew by more
// than 1 MiB.
#include <unistd.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <QGuiApplication>
#include <QImage>
#include <array>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "core/timescale.h"
#include "display/bitmaps.h"
#include "display/map_screen.h"
#include "display/projection.h"
#include "display/radar_view.h"
#include "display/time_display.h"
#include "prediction/results.h"
#include "prediction/search.h"
#include "prediction/search_setup.h"
#include "tracking/compute_cycle.h"
#include "tracking/info_texts.h"
#include "tracking/satellite_list.h"
#include "tracking/settings.h"
#include "tracking/site.h"
#include "tracking/time_control.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSecondsPerMinute = 60;
constexpr int kSecondsPerHour = 3600;
constexpr int kSecondsPerDay = 86400;
constexpr int kDefaultDays = 7;
constexpr long kAllowedGrowthKiB = 1024;
// The element file's sets have epochs of 2026-05-28 to 30; the week starts at the newest.
constexpr zen::TDateRec kStart{2026, 5, 30, 0, 0, 0, 0};

fs::path StarlinkFile() {
  return fs::path(ZEN_SOURCE_DIR) / "tests" / "data" / "tle" / "starlink_2026-05-30.tle";
}

// Resident memory of this process in KiB, as the kernel counts it.
long ResidentKiB() {
  std::ifstream statm("/proc/self/statm");
  long sizePages = 0;
  long residentPages = 0;
  statm >> sizePages >> residentPages;
  return residentPages * (sysconf(_SC_PAGESIZE) / 1024);
}

// The bytes the allocator has handed out and not had back, which the resident memory hides
// behind what the allocator keeps for reuse; -1 where the C library does not tell.
long long BytesInUse() {
#if defined(__GLIBC__)
  return static_cast<long long>(mallinfo2().uordblks);
#else
  return -1;
#endif
}

// A text shows a number that was none: a word "nan", "inf" or "infinity" in any case, as
// printf writes them.
bool ShowsNonFinite(const std::string& text) {
  std::string word;
  for (size_t i = 0; i <= text.size(); ++i) {
    const unsigned char c = i < text.size() ? static_cast<unsigned char>(text[i]) : ' ';
    if (std::isalpha(c)) {
      word.push_back(static_cast<char>(std::tolower(c)));
      continue;
    }
    if (word == "nan" || word == "inf" || word == "infinity") return true;
    word.clear();
  }
  return false;
}

// Non-finite numbers counted where they would be shown: tables, drawings and reports.
struct TNonFiniteCount {
  long table = 0;
  long drawing = 0;
  long report = 0;
  long Total() const { return table + drawing + report; }

  static void Number(long& count, double value) {
    if (!std::isfinite(value)) ++count;
  }
  // A cell that should hold a number: unavailable ("-") means the value was not one.
  static void NumberCell(long& count, const std::string& text) {
    if (text == zen::kUnavailableText || ShowsNonFinite(text)) ++count;
  }
};

// The live table as the information page fills it after every cycle, and the orbit table
// when the active satellite changed.
void FillTables(zen::TSatelliteList& list, const zen::TComputeCycle& cycle,
                TNonFiniteCount& found) {
  const std::array<std::string, zen::kLiveRows> live = zen::LiveTableValues(list, cycle.SunNow);
  const zen::TSunNow& sun = cycle.SunNow;
  for (double value :
       {sun.azimuth, sun.elevation, sun.subLongitude, sun.subLatitude, sun.position.w}) {
    TNonFiniteCount::Number(found.table, value);
  }
  for (int row = 15; row < zen::kLiveRows; ++row) {
    TNonFiniteCount::NumberCell(found.table, live[static_cast<size_t>(row)]);
  }
  // The rows below them: the Moon's numbers, and the active satellite's J2000 place, whenever
  // the sky has the moment.
  const auto more = zen::LiveMoreValues(list, cycle.SunNow, cycle.SkyNow);
  const bool activeComputed =
      list.HasActiveSat() && list.TrackedSats[static_cast<size_t>(list.ActiveSat)].computed;
  if (cycle.SkyNow.valid) {
    for (size_t row : {5u, 6u, 8u, 9u, 10u}) TNonFiniteCount::NumberCell(found.table, more[row]);
    if (activeComputed) {
      for (size_t row : {1u, 2u}) TNonFiniteCount::NumberCell(found.table, more[row]);
    }
  }
  if (list.HasActiveSat() && list.TrackedSats[static_cast<size_t>(list.ActiveSat)].computed) {
    const zen::TSatState& s = list.TrackedSats[static_cast<size_t>(list.ActiveSat)];
    for (double value :
         {s.longitude, s.latitude, s.geodetic.altitude, s.azimuth, s.elevation, s.rightAscension,
          s.declination, s.lookAngles.third, s.lookAngles.fourth, s.velocity.w, s.velocity.z}) {
      TNonFiniteCount::Number(found.table, value);
    }
    for (int row = 1; row <= 10; ++row) {
      TNonFiniteCount::NumberCell(found.table, live[static_cast<size_t>(row)]);
    }
  }
  if (list.ActiveSat == list.InfoShownSat) return;
  list.InfoShownSat = list.ActiveSat;
  const std::array<std::string, zen::kOrbitRows> orbit =
      zen::OrbitTableValues(cycle.ActiveSnapshot);
  if (!cycle.ActiveSnapshot.valid) return;
  const zen::TElements& e = cycle.ActiveSnapshot.elements;
  for (double value : {e.epochJulian, e.inclination, e.rightAscension, e.eccentricity, e.argPerigee,
                       cycle.ActiveSnapshot.revsPerDay, e.periodDays, e.semiMajorAxisKm,
                       e.perigeeHeightKm, e.apogeeHeightKm, e.meanAnomaly, e.bstar}) {
    TNonFiniteCount::Number(found.table, value);
  }
  for (int row : {4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}) {
    TNonFiniteCount::NumberCell(found.table, orbit[static_cast<size_t>(row)]);
  }
}

// What the map and the radar draw from: the Sun, the day/night boundary, every satellite
// computed at this cycle, the active satellite's footprint and ground track.
void CheckDrawn(const zen::TSatelliteList& list, const zen::TComputeCycle& cycle,
                const zen::TShowOptions& show, TNonFiniteCount& found) {
  long& n = found.drawing;
  const zen::TSunNow& sun = cycle.SunNow;
  for (double value : {sun.subLatitude, sun.subLongitude, sun.azimuth, sun.elevation}) {
    TNonFiniteCount::Number(n, value);
  }
  if (show.solarIllumination) {
    for (const zen::TLatLon& p : cycle.TerminatorPoints) {
      TNonFiniteCount::Number(n, p.latitude);
      TNonFiniteCount::Number(n, p.longitude);
    }
  }
  for (int i = 1; i <= list.TrackedCount; ++i) {
    const zen::TSatState& s = list.TrackedSats[static_cast<size_t>(i)];
    if (!s.computed) continue;
    for (double value : {s.latitude, s.longitude, s.azimuth, s.elevation, s.geodetic.altitude}) {
      TNonFiniteCount::Number(n, value);
    }
    if (i == list.ActiveSat) TNonFiniteCount::Number(n, zen::FootprintRadius(s.geodetic.altitude));
  }
  if (!list.HasActiveSat()) return;
  for (const zen::TTrackSample& sample : cycle.ActiveTrack) {
    if (!sample.computed) continue;
    for (double value : {sample.latitude, sample.longitude, sample.azimuth, sample.elevation}) {
      TNonFiniteCount::Number(n, value);
    }
  }
}

struct TReportTally {
  int events = 0;
  size_t lines = 0;
};

// The pass report of the tracked satellites for one day from startLocal, with the
// prediction page's default conditions.
TReportTally DayReport(const zen::TSatelliteList& list, const zen::TSite& site,
                       const zen::TTimeControl& time, double startLocal, TNonFiniteCount& found) {
  const zen::TPredictionOptions options;
  zen::TSearchPeriod period;
  period.SetStart(startLocal);
  period.SetEnd(startLocal + 1.0);
  const zen::TSearchRequest request =
      zen::MakeSearchRequest(zen::TSearchKind::Passes, options, period, time.UtcOffsetHours(), site,
                             zen::SearchList(list, false), {});
  zen::TSearchFlags flags;
  const zen::TSearchOutcome outcome = zen::RunSearch(request, flags, nullptr);
  for (const std::optional<zen::TFound>& row : outcome.rows) {
    if (!row) continue;
    for (double value : {row->timeUtc, row->azimuth, row->elevation, row->range, row->sunAzimuth,
                         row->sunElevation}) {
      TNonFiniteCount::Number(found.report, value);
    }
  }
  const zen::TReportHeaderInput headerInput =
      zen::MakeReportHeaderInput(zen::TSearchKind::Passes, options, false, period,
                                 zen::SiteText(site.name, site.latitude, site.longitude),
                                 zen::TimeZoneText(time.UtcOffsetHours()));
  const std::vector<std::string> lines =
      zen::ReportLines(zen::TSearchKind::Passes, zen::ReportHeader(headerInput), outcome.rows);
  for (const std::string& line : lines) {
    if (ShowsNonFinite(line)) ++found.report;
  }
  return {outcome.totalCount, lines.size()};
}

}  // namespace

int main(int argc, char** argv) {
  const int days = argc > 1 ? std::atoi(argv[1]) : kDefaultDays;
  // Lines appear as they are made, in order with anything the libraries print.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  if (days < 1) {
    std::fprintf(stderr, "usage: soak [DAYS]  (DAYS at least 1)\n");
    return 2;
  }
  if (!fs::is_regular_file(StarlinkFile())) {
    std::fprintf(stderr, "soak: cannot find %s\n", StarlinkFile().c_str());
    return 1;
  }
  // Text needs the font database of a GUI application; no window is ever shown.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);

  zen::TBitmaps bitmaps;
  const zen::TBitmapLoad load = zen::LoadBitmaps(
      QString::fromStdString((fs::path(ZEN_SOURCE_DIR) / "resources").string()), bitmaps);
  if (!load.ok) {
    std::fprintf(stderr, "soak: %s\n", qPrintable(zen::BitmapErrorText(load)));
    return 2;
  }

  zen::TSatelliteList list;
  list.TleFileName = fs::weakly_canonical(StarlinkFile()).string();
  list.zapodawajSatelity(fs::current_path());
  constexpr int kSoakTracked = 200;
  std::vector<int> firstRows;
  for (int row = 0; row < kSoakTracked; ++row) firstRows.push_back(row);
  list.AddRows(firstRows);
  if (list.TrackedCount != kSoakTracked) {
    std::fprintf(stderr, "soak: only %d satellites could be tracked\n", list.TrackedCount);
    return 2;
  }
  zen::TSite site = zen::DefaultSite();
  zen::TGeodetic observer = zen::UstawLokacje(site);
  zen::TShowOptions show;
  show.grid = true;  // every layer of the map
  show.radarMode = zen::TRadarMode::On;
  zen::TTimeControl time;
  time.SetMode(zen::TTimeMode::Simulation, false);
  zen::TComputeCycle cycle;
  zen::TRadarView radar;
  const zen::TMapScene scene{list, cycle, site, show, bitmaps, time};
  QImage map(zen::kMapImageWidth, zen::kMapImageHeight, QImage::Format_RGB32);
  QImage radarImage(zen::kRadarImageWidth, zen::kRadarImageHeight, QImage::Format_RGB32);
  QImage timePanel(zen::kTimePanelWidth, zen::kTimePanelHeight, QImage::Format_RGB32);

  const double start = zen::DateRecToJulian(kStart);
  const long cycles = static_cast<long>(days) * kSecondsPerDay;
  TNonFiniteCount found;
  long startKiB = 0;
  long visibleSeconds = 0;
  const auto began = std::chrono::steady_clock::now();
  for (long second = 0; second < cycles; ++second) {
    if (second == kSecondsPerHour) startKiB = ResidentKiB();
    // Each moment from the start, not summed step by step, so a week of steps does not drift.
    time.SimTime = start + static_cast<double>(second) / kSecondsPerDay;
    time.PobierzCzas(kStart);
    if (second > 0 && second % kSecondsPerHour == 0) list.ShowNext(false);
    if (second % kSecondsPerDay == 0) {
      const TReportTally report = DayReport(list, site, time, time.SimTime, found);
      const double seconds =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
      std::printf(
          "day %ld: %d passes in %zu report lines; %ld satellite-seconds above the "
          "horizon so far; RSS %ld KiB; %lld bytes in use; %ld non-finite; %.0f s\n",
          second / kSecondsPerDay + 1, report.events, report.lines, visibleSeconds, ResidentKiB(),
          BytesInUse(), found.Total(), seconds);
    }
    cycle.LiczWszo(time.NowUtc, observer, list, time, show);
    visibleSeconds += cycle.VisibleCount;
    FillTables(list, cycle, found);
    CheckDrawn(list, cycle, show, found);
    if (second % kSecondsPerMinute == 0) {
      zen::DrawScreen(map, scene, false);
      zen::DrawTimePanel(timePanel, time, false);
      radar.DrawRadar(radarImage, scene);
    }
  }
  const long endKiB = ResidentKiB();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  std::printf("non-finite in tables %ld, drawings %ld, reports %ld; %.0f s\n", found.table,
              found.drawing, found.report, seconds);
  std::printf("soak: %ld cycles, %ld non-finite, RSS start %ld KiB, end %ld KiB\n", cycles,
              found.Total(), startKiB, endKiB);
  const bool flat = endKiB - startKiB <= kAllowedGrowthKiB;
  return found.Total() == 0 && flat ? 0 : 1;
}
