// Where the Moon or the Sun stands in one site's sky, for the station's controllers.
#pragma once

#include <optional>
#include <string_view>

#include "core/observer.h"
#include "sky/sky_bodies.h"
#include "station/satellite_look.h"

namespace zen::station {

enum class TSkyBody { Moon, Sun };

// "Moon", "Sun".
const char* BodyName(TSkyBody body);

// One body seen from one site: azimuth, elevation refracted as a satellite's, range and range
// rate from the site, on the sky layer's Moon and precise Sun. It keeps the sky's minute, so one
// object serves one thread. ok is false for a moment the sky does not accept (before 1950 or
// after 2100).
class TBodyLook : public TTargetLook {
 public:
  TBodyLook(TSkyBody body, double latDeg, double lonDeg, double altM);
  TLook At(double jd) override;
  TSkyBody Body() const { return body_; }

 private:
  TSkyBody body_;
  TGeodetic site_;
  TSky sky_;
};

}  // namespace zen::station
