// The observer's site as the user keeps it, and the observer record computed from it.
#include "tracking/site.h"

#include "core/locator.h"

namespace zen {

TSite DefaultSite() {
  TSite s;
  s.name = "Torun";
  s.sign = "Torun";
  s.latitude = 53.0217;
  s.longitude = 18.6107;
  s.altitude = 5.0;
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
