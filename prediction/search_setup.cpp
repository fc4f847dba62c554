// What the set-up page decides before a search: the period, the field rules, the list of
// satellites, the search request and what heads the report.
#include "prediction/search_setup.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "core/numeric.h"
#include "tracking/date_text.h"

namespace zen {

namespace {

// A decimal number with nothing but blanks around it; false for anything else.
bool ReadNumber(std::string_view text, double& value) {
  std::string trimmed = TrimBlanks(text);
  if (trimmed.empty()) return false;
  const char* first = trimmed.data();
  const char* last = first + trimmed.size();
  // from_chars takes no leading "+", which a typed number may well have.
  if (*first == '+') ++first;
  double parsed = 0.0;
  auto [end, error] = std::from_chars(first, last, parsed, std::chars_format::general);
  if (error != std::errc() || end != last || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

}  // namespace

void TSearchPeriod::SetStart(double jd) {
  PeriodStart = jd;
  PeriodStartRec = JulianToDateRec(jd);
}

void TSearchPeriod::SetEnd(double jd) {
  PeriodEnd = jd;
  PeriodEndRec = JulianToDateRec(jd);
}

std::string TSearchPeriod::LeaveStart(std::string_view typed) {
  TNormalisedDate date = NormaliseDateText(typed);
  PeriodStartRec = date.record;
  PeriodStart = DateRecToJulian(date.record);
  return date.text;
}

std::string TSearchPeriod::LeaveEnd(std::string_view typed) {
  TNormalisedDate date = NormaliseDateText(typed);
  PeriodEndRec = date.record;
  PeriodEnd = DateRecToJulian(date.record);
  return date.text;
}

bool TSearchPeriod::SwapIfReversed() {
  if (PeriodStart <= PeriodEnd) return false;
  std::swap(PeriodStart, PeriodEnd);
  std::swap(PeriodStartRec, PeriodEndRec);
  return true;
}

double PeriodUnitLength(int unitIndex, const std::array<double, 6>& unitLength) {
  // The period units start at the jump units' minute.
  int index = std::clamp(unitIndex, 0, static_cast<int>(kPeriodUnitNames.size()) - 1) + 1;
  return unitLength[static_cast<size_t>(index)];
}

TSearchPeriod PeriodToManual(double machineTime, int count, int unitIndex, bool backward,
                             const std::array<double, 6>& unitLength) {
  const double lengthDays = count * PeriodUnitLength(unitIndex, unitLength);
  TSearchPeriod period;
  if (backward) {
    period.SetStart(machineTime - lengthDays);
    period.SetEnd(machineTime);
  } else {
    period.SetStart(machineTime);
    period.SetEnd(machineTime + lengthDays);
  }
  return period;
}

int SpinBoxValue(std::string_view text, int minimum, int maximum) {
  int64_t value = 0;
  if (!StrictInt(TrimBlanks(text), value)) value = 0;
  return static_cast<int>(std::clamp<int64_t>(value, minimum, maximum));
}

double FlareAngleUp(double angleDeg) {
  return std::min(angleDeg + kFlareAngleStepDeg, kMaxFlareAngleDeg);
}

double FlareAngleDown(double angleDeg) {
  return std::max(angleDeg - kFlareAngleStepDeg, kMinFlareAngleDeg);
}

double LeaveFlareAngleText(std::string_view typed, double previousDeg) {
  std::string text(typed);
  std::replace(text.begin(), text.end(), ',', '.');
  double value = 0.0;
  if (!ReadNumber(text, value)) return previousDeg;
  return std::clamp(value, kMinFlareAngleDeg, kMaxFlareAngleDeg);
}

std::string FlareAngleFieldText(double angleDeg) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", angleDeg);
  return text;
}

bool SearchesAllLoaded(TSearchKind kind, const TPredictionOptions& options) {
  return kind == TSearchKind::Flares || options.calculateAllLoaded;
}

std::vector<TSearchSatellite> SearchList(const TSatelliteList& list, bool allLoaded) {
  std::vector<TSearchSatellite> satellites;
  auto add = [&](int slot) {
    satellites.push_back(
        SearchSatelliteOf(list.Catalog.CatalogNames[static_cast<size_t>(slot)],
                          list.Catalog.CatalogElements[static_cast<size_t>(slot)]));
  };
  if (allLoaded) {
    satellites.reserve(static_cast<size_t>(list.LoadedCount));
    for (int slot = 1; slot <= list.LoadedCount; ++slot) add(slot);
  } else {
    satellites.reserve(static_cast<size_t>(list.TrackedCount));
    for (int k = 1; k <= list.TrackedCount; ++k) {
      add(list.TrackedSats[static_cast<size_t>(k)].catalogIndex);
    }
  }
  return satellites;
}

bool HasSomethingToSearch(TSearchKind kind, const std::vector<TSearchSatellite>& list,
                          const TIridiumTest& isIridium) {
  if (kind == TSearchKind::Passes) return !list.empty();
  if (!isIridium) return false;
  return std::any_of(list.begin(), list.end(),
                     [&](const TSearchSatellite& s) { return isIridium(s.set.number); });
}

const char* NothingToSearchText(TSearchKind kind) {
  return kind == TSearchKind::Passes ? "No satellite to process." : "No Iridiums loaded.";
}

TSearchRequest MakeSearchRequest(TSearchKind kind, const TPredictionOptions& options,
                                 const TSearchPeriod& period, double utcOffsetHours,
                                 const TSite& site, std::vector<TSearchSatellite> satellites,
                                 const TIridiumTable& iridiumTable) {
  const bool flares = kind == TSearchKind::Flares;
  TSearchRequest r;
  r.kind = kind;
  r.brief = flares || options.brief;
  r.allLoaded = SearchesAllLoaded(kind, options);
  r.illuminationRequired = flares || options.satelliteIlluminated;
  r.maxSunElevationDeg = options.sunBelowLimit ? options.maxSunElevationDeg : 90.0;
  r.minSatElevationDeg = options.minSatElevationDeg;
  r.periodStartLocal = period.PeriodStart;
  r.periodEndLocal = period.PeriodEnd;
  r.utcOffsetHours = utcOffsetHours;
  r.level = options.level;
  r.latitudeDeg = site.latitude;
  r.longitudeDeg = site.longitude;
  r.altitudeM = site.altitude;
  r.satellites = std::move(satellites);
  if (flares) r.iridiumTable = iridiumTable;
  r.useIridiumTable = options.internalIridiumTable;
  r.maxFlareAngleDeg = options.maxFlareAngleDeg;
  return r;
}

TReportHeaderInput MakeReportHeaderInput(TSearchKind kind, const TPredictionOptions& options,
                                         bool automaticPeriod, const TSearchPeriod& period,
                                         const std::string& siteText,
                                         const std::string& timeZoneText) {
  TReportHeaderInput h;
  h.kind = kind;
  h.beginText = period.StartText();
  h.endText = period.EndText();
  h.automaticPeriod = automaticPeriod;
  h.periodCount = options.periodLength;
  h.periodUnitText = kPeriodUnitNames[static_cast<size_t>(
      std::clamp(options.periodUnit, 0, static_cast<int>(kPeriodUnitNames.size()) - 1))];
  h.siteText = siteText;
  h.timeZoneText = timeZoneText;
  h.sunLimit = options.sunBelowLimit;
  h.maxSunElevationDeg = options.maxSunElevationDeg;
  h.minSatElevationDeg = options.minSatElevationDeg;
  h.illuminationRequired = kind == TSearchKind::Flares || options.satelliteIlluminated;
  h.flareAngleText = FlareAngleFieldText(options.maxFlareAngleDeg);
  return h;
}

}  // namespace zen
