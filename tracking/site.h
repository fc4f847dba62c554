// The observer's site as the user keeps it, and the observer record computed from it.
#pragma once

#include <string>

#include "core/observer.h"

namespace zen {

struct TSite {
  std::string name;     // at most 25 characters
  std::string sign;     // at most 15 characters, shown beside the site marker
  std::string locator;  // at most 6 characters
  double longitude = 0.0;  // degrees, east positive
  double latitude = 0.0;   // degrees, north positive
  double altitude = 0.0;   // metres
  bool operator==(const TSite&) const = default;
};

// The site used until the user chooses one.
TSite DefaultSite();

// Applies a site: an empty sign becomes the name up to its first "," (or the whole name);
// the observer record gets the latitude, the longitude in [0, 360) and the altitude in km.
TGeodetic UstawLokacje(TSite& site);

}  // namespace zen
