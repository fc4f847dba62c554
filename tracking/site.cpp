// The observer's site as the user keeps it, and the observer record computed from it.
#include "tracking/site.h"

#include "core/locator.h"

namespace zen {

TSite DefaultSite() {
  TSite s;
  s.name = "Greenwich, United Kingdom";
  s.sign = "Greenwich";
  s.latitude = 51.4769;
  s.longitude = -0.0005;
  s.altitude = 46.0;
  s.locator = LatLonToLocator(s.latitude, s.longitude);
  return s;
}

TGeodetic UstawLokacje(TSite& site) {
  if (site.sign.empty()) {
    size_t comma = site.name.find(',');
    site.sign = (comma == std::string::npos || comma == 0) ? site.name : site.name.substr(0, comma);
  }
  return ObserverFromSite(site.latitude, site.longitude, site.altitude);
}

}  // namespace zen
