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

// How far moment nowJd lies from an epoch, to a tenth of a day: "3.4 days old", "1.0 day old",
// or "epoch 2.5 days ahead" for elements issued for a later moment.
std::string ElementAgeText(double epochJd, double nowJd);
// Days to one decimal, as the age texts write them: "3.4".
std::string TenthsOfDays(double days);

// The line the map keeps in sight for the active satellite's elements: "Elements of <name>:
// 3.4 days old", marked stale (and ending "- stale") beyond kStaleElementDays. Empty with no
// active satellite, or one whose set is not decodable.
struct TElementAgeLine {
  std::string text;
  bool stale = false;
};
TElementAgeLine ActiveElementAge(const TSatelliteList& list, double nowJd);

// How the footer points to the update.
inline constexpr const char* kUpdateHint =
    "\"Update elements...\" in the quick menu fetches new ones";

// Loaded elements whose newest set is further than this from the moment are worth updating.
inline constexpr double kUpdateOfferDays = 7.0;

// The footer's offer of an update when the newest loaded set is more than kUpdateOfferDays
// older than moment nowJd; empty when it is not, or nothing is loaded.
std::string UpdateOffer(const TSatelliteList& list, double nowJd);

}  // namespace zen
