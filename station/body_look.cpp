// Where the Moon or the Sun stands in one site's sky, for the station's controllers.
#include "station/body_look.h"

#include <cmath>

#include "sky/sky_site.h"

namespace zen::station {

namespace {

// The Sun's nominal radius (IAU 2015); only its apparent size depends on it.
constexpr double kSunRadiusKm = 695700.0;

}  // namespace

const char* BodyName(TSkyBody body) {
  return body == TSkyBody::Moon ? "Moon" : "Sun";
}

TBodyLook::TBodyLook(TSkyBody body, double latDeg, double lonDeg, double altM)
    : body_(body), site_(ObserverFromSite(latDeg, lonDeg, altM)) {}

TLook TBodyLook::At(double jd) {
  if (!std::isfinite(jd) || !sky_.At(jd)) return {};
  const TObserverFrame frame = ObserverFrameAt(site_, jd);
  const bool moon = body_ == TSkyBody::Moon;
  const TBodyView view =
      BodyView(sky_, frame, moon ? sky_.Moon() : sky_.Sun(), moon ? kMoonRadiusKm : kSunRadiusKm);
  return LookFromAngles(view.look);
}

}  // namespace zen::station
