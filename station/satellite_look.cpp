// Where one satellite stands in one site's sky at a given moment, for the station's controllers.
#include "station/satellite_look.h"

#include <cmath>

#include "core/numeric.h"

namespace zen::station {

TSatelliteLook::TSatelliteLook(const TElements& elements, double latDeg, double lonDeg, double altM)
    : site_(ObserverFromSite(latDeg, lonDeg, altM)) {
  propagator_.LoadElements(elements);
}

TLook TSatelliteLook::At(double jd) {
  TVector pos;
  TVector vel;
  if (!std::isfinite(jd) || propagator_.Propagate(pos, vel, jd) != TPropagationStatus::Ok) {
    return {};
  }
  TPropagator::ScaleStateToKm(pos, vel);
  return LookFromAngles(LookAngles(pos, vel, site_, jd));
}

TLook LookFromAngles(const TLookAngles& angles) {
  TLook look{true, Degrees(angles.first), Degrees(angles.second), angles.third, angles.fourth};
  // An azimuth just below 2 pi can round up to 360 degrees in the conversion.
  if (look.azDeg >= 360.0) look.azDeg -= 360.0;
  if (!std::isfinite(look.azDeg) || !std::isfinite(look.elDeg) || !std::isfinite(look.rangeKm) ||
      !std::isfinite(look.rangeRateKmS)) {
    return {};
  }
  return look;
}

}  // namespace zen::station
