// The warning about elements far from their epoch.
#include "tracking/element_age.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tracking/satellite_list.h"

namespace zen {

namespace {

bool Stale(double epochJd, double nowJd) {
  return std::fabs(nowJd - epochJd) > kStaleElementDays;
}

std::string DaysText(double days) {
  const long whole = static_cast<long>(std::floor(days));
  return std::to_string(whole) + (whole == 1 ? " day" : " days");
}

// The newest epoch among the loaded sets (a Julian date), or 0 when none is decodable.
double NewestLoadedEpoch(const TSatelliteList& list) {
  double newest = 0.0;
  for (int i = 1; i <= list.LoadedCount; ++i) {
    const TCatalogSet& set = list.Catalog.CatalogElements[static_cast<size_t>(i)];
    if (set.decodable) newest = std::max(newest, set.elements.epochJulian);
  }
  return newest;
}

}  // namespace

std::string ElementAgeWarning(const std::vector<TAgedSet>& sets, int focusIndex, double nowJd) {
  if (!std::isfinite(nowJd)) return {};
  if (focusIndex >= 0 && static_cast<size_t>(focusIndex) < sets.size()) {
    const TAgedSet& focus = sets[static_cast<size_t>(focusIndex)];
    if (Stale(focus.epochJulian, nowJd)) {
      const double age = nowJd - focus.epochJulian;
      if (age < 0.0) {
        return "Elements of " + focus.name + " have their epoch " + DaysText(-age) + " ahead";
      }
      return "Elements of " + focus.name + " are " + DaysText(age) + " old";
    }
  }
  size_t stale = 0;
  double oldest = 0.0;
  for (const TAgedSet& set : sets) {
    if (!Stale(set.epochJulian, nowJd)) continue;
    ++stale;
    oldest = std::max(oldest, std::fabs(nowJd - set.epochJulian));
  }
  if (stale == 0 || stale * 2 <= sets.size()) return {};
  if (sets.size() == 1) {
    return ElementAgeWarning(sets, 0, nowJd);
  }
  return "Elements of " + std::to_string(stale) + " of " + std::to_string(sets.size()) +
         " satellites are over " + DaysText(kStaleElementDays) + " from their epoch (up to " +
         DaysText(oldest) + ")";
}

std::string TrackedElementAgeWarning(const TSatelliteList& list, double nowJd) {
  std::vector<TAgedSet> sets;
  for (int k = 1; k <= list.TrackedCount; ++k) {
    const TCatalogSet& set = list.ElementsOf(k);
    if (set.decodable) sets.push_back({list.NameOf(k), set.elements.epochJulian});
  }
  int focus = -1;
  if (list.HasActiveSat() && list.ElementsOf(list.ActiveSat).decodable) {
    for (int k = 1; k < list.ActiveSat; ++k) focus += list.ElementsOf(k).decodable ? 1 : 0;
    ++focus;
  }
  return ElementAgeWarning(sets, focus, nowJd);
}

std::string ElementAgeText(double epochJd, double nowJd) {
  const double age = nowJd - epochJd;
  const std::string days = TenthsOfDays(std::fabs(age));
  const std::string unit = days == "1.0" ? " day" : " days";
  return age < 0.0 && days != "0.0" ? "epoch " + days + unit + " ahead" : days + unit + " old";
}

std::string TenthsOfDays(double days) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", days);
  return text;
}

TElementAgeLine ActiveElementAge(const TSatelliteList& list, double nowJd) {
  if (!list.HasActiveSat() || !std::isfinite(nowJd)) return {};
  const TCatalogSet& set = list.ElementsOf(list.ActiveSat);
  if (!set.decodable) return {};
  TElementAgeLine line;
  line.stale = Stale(set.elements.epochJulian, nowJd);
  line.text = "Elements of " + list.NameOf(list.ActiveSat) + ": " +
              ElementAgeText(set.elements.epochJulian, nowJd) + (line.stale ? " - stale" : "");
  return line;
}

std::string UpdateOffer(const TSatelliteList& list, double nowJd) {
  const double newest = NewestLoadedEpoch(list);
  if (newest == 0.0 || !std::isfinite(nowJd) || nowJd - newest <= kUpdateOfferDays) return {};
  return "The newest elements loaded are " + DaysText(nowJd - newest) + " old: " + kUpdateHint;
}

}  // namespace zen
