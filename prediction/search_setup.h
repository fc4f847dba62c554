// What the set-up page decides before a search: the period, the field rules, the list of
// satellites, the search request and what heads the report.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/timescale.h"
#include "prediction/results.h"
#include "prediction/search.h"
#include "tracking/satellite_list.h"
#include "tracking/settings.h"
#include "tracking/site.h"

namespace zen {

// The entries of the period unit list and of the anti miss out filter level list.
inline constexpr std::array<const char*, 3> kPeriodUnitNames = {"minute(s)", "hour(s)", "day(s)"};
inline constexpr std::array<const char*, 5> kFilterLevelNames = {"1", "2", "3", "4", "5"};

inline constexpr double kFlareAngleStepDeg = 0.05;
inline constexpr double kMinFlareAngleDeg = 0.1;
inline constexpr double kMaxFlareAngleDeg = 4.0;

// The manual period on the local clock. A value and its record always change together.
struct TSearchPeriod {
  double PeriodStart = 0.0;  // Julian dates
  double PeriodEnd = 0.0;
  TDateRec PeriodStartRec;
  TDateRec PeriodEndRec;

  void SetStart(double jd);
  void SetEnd(double jd);
  // Leaving the "Start:" or "End:" edit: the typed text made a valid moment, which is kept;
  // returns the text the edit shows then.
  std::string LeaveStart(std::string_view typed);
  std::string LeaveEnd(std::string_view typed);
  std::string StartText() const { return DateRecToText(PeriodStartRec); }
  std::string EndText() const { return DateRecToText(PeriodEndRec); }
  // A start later than the end changes places with it, values and records; true if it did.
  bool SwapIfReversed();
};

// The set-up choices the settings do not keep.
struct TSearchSetup {
  bool automatic = true;  // "Automatic" (else "Manual")
  bool backward = false;  // "Backward"
  TSearchPeriod period;
};

// Length in days of a period unit index (0 minute, 1 hour, 2 day), from the time control's
// jump-unit lengths (entry 1 a minute, 2 an hour, 3 a day).
double PeriodUnitLength(int unitIndex, const std::array<double, 6>& unitLength);

// The automatic period as a manual one: count units from machineTime (the local clock), or
// up to it when backward.
TSearchPeriod PeriodToManual(double machineTime, int count, int unitIndex, bool backward,
                             const std::array<double, 6>& unitLength);

// A spin box's text when it is left: an integer, a text that is not one reading as 0, then
// held within the box's limits.
int SpinBoxValue(std::string_view text, int minimum, int maximum);

// The flare angle edit: its buttons step by 0.05 within 0.1..4.0; a typed text has its ","
// read as "." and is held within the limits, and a text that is not a number keeps previous.
double FlareAngleUp(double angleDeg);
double FlareAngleDown(double angleDeg);
double LeaveFlareAngleText(std::string_view typed, double previousDeg);
// The edit's text: two decimals ("1.00").
std::string FlareAngleFieldText(double angleDeg);

// Flares always search every loaded set; passes when "Calculate all loadad" is checked.
bool SearchesAllLoaded(TSearchKind kind, const TPredictionOptions& options);

// The list to search: the loaded sets in catalogue order, or the tracked satellites in
// tracked order.
std::vector<TSearchSatellite> SearchList(const TSatelliteList& list, bool allLoaded);

// Whether a catalogue number belongs to an Iridium of the status table.
using TIridiumTest = std::function<bool(int64_t catalogNumber)>;

// For passes any entry counts; for flares only an entry the test accepts (none without one).
bool HasSomethingToSearch(TSearchKind kind, const std::vector<TSearchSatellite>& list,
                          const TIridiumTest& isIridium);
// "No satellite to process." or "No Iridiums loaded.".
const char* NothingToSearchText(TSearchKind kind);

// The request of a search: flares are always brief, over every loaded set and need an
// illuminated satellite; an unchecked "Maximum sun elevation" means no limit (90 degrees).
// A flares request carries the Iridium status table, "Use internal Iridium status table" and
// the maximum flare angle; a passes request needs none of them and leaves the table empty.
TSearchRequest MakeSearchRequest(TSearchKind kind, const TPredictionOptions& options,
                                 const TSearchPeriod& period, double utcOffsetHours,
                                 const TSite& site, std::vector<TSearchSatellite> satellites,
                                 const TIridiumTable& iridiumTable);

// What the report header says about a search about to start.
TReportHeaderInput MakeReportHeaderInput(TSearchKind kind, const TPredictionOptions& options,
                                         bool automaticPeriod, const TSearchPeriod& period,
                                         const std::string& siteText,
                                         const std::string& timeZoneText);

}  // namespace zen
