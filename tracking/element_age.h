// How old the elements are that a user relies on: predictions from elements weeks away from
// their epoch put satellites where they are not.
#pragma once

#include <string>
#include <vector>

namespace zen {

// Elements further than this from their epoch are called stale.
inline constexpr double kStaleElementDays = 14.0;

struct TAgedSet {
  std::string name;
  double epochJulian = 0.0;
};

// The warning for the sets relied on at moment nowJd (a Julian date, UTC), or an empty text:
// the set at focusIndex (the active satellite; -1 for none) when it is stale, else the stale
// ones when they are more than half of the sets. Days are whole, rounded down; elements
// whose epoch lies ahead of the moment are named as such.
std::string ElementAgeWarning(const std::vector<TAgedSet>& sets, int focusIndex, double nowJd);

class TSatelliteList;
// The warning for the tracked satellites, the active one as the focus.
std::string TrackedElementAgeWarning(const TSatelliteList& list, double nowJd);

}  // namespace zen
