// How many satellites the lists hold and show, as the side panel writes it, and how many
// tracked satellites the map and radar still draw one by one.
#pragma once

#include <string>

#include "tracking/satellite_list.h"

namespace zen {

// Up to this many tracked satellites the map and the radar draw each one's symbol and name.
// Beyond it they draw a field of dots, and removing them all is asked about first: a list that
// long took a deliberate load to build.
inline constexpr int kFewTrackedMax = 500;

// A whole number with a comma between thousands, whatever the locale: "31,185".
std::string CountText(int count);
// The filter's matches among a list's lines: "1,204 of 31,185".
std::string MatchCountText(int shown, int total);

// The lines of both lists and those the filter leaves in view.
struct TListCounts {
  int loaded = 0;
  int loadedShown = 0;
  int tracked = 0;
  int trackedShown = 0;
  bool filtered = false;  // a filter text is typed
};

// One list's count, the filter's matches with it when a filter is typed: "31,185 loaded" or
// "31,185 loaded; filter: 1,204 of 31,185". Empty for the Info tab.
std::string ListCountText(TListTab tab, const TListCounts& counts);
// The filter row's short form, two lines, the list in view first: "1,204 of 31,185" over
// "200 tracked" on the Loaded tab with a filter typed, "200 tracked" over "31,185 loaded" on the
// Tracked tab without.
std::string FilterRowCountText(TListTab tab, const TListCounts& counts);

}  // namespace zen
