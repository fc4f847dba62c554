// Where one satellite stands in one site's sky at a given moment, for the station's controllers.
#pragma once

#include <functional>

#include "core/elements.h"
#include "core/observer.h"
#include "core/propagator.h"

namespace zen::station {

// Azimuth from north through east in [0, 360), elevation with refraction, range, and range rate
// (positive when the distance grows). ok is false when the model broke down at that moment; the
// numbers are then 0 and mean nothing.
struct TLook {
  bool ok = false;
  double azDeg = 0;
  double elDeg = 0;
  double rangeKm = 0;
  double rangeRateKmS = 0;
};

// A look from look angles in radians, km and km/s; not ok when any of them is not finite.
TLook LookFromAngles(const TLookAngles& angles);

// The controllers ask for the target through this, so that they can be driven by any track.
using TLookAt = std::function<TLook(double jd)>;

// What the station follows: a satellite or a body of the sky, seen from one site.
class TTargetLook {
 public:
  virtual ~TTargetLook() = default;
  // The look at a Julian date (UTC); ok false where there is none to give.
  virtual TLook At(double jd) = 0;
};

// One satellite seen from one site. It owns its propagator, whose deep-space state moves with
// every call, so one object serves one thread.
class TSatelliteLook : public TTargetLook {
 public:
  // Takes a decoded set (latitude and longitude in degrees, altitude in metres). Decoding is
  // where an element set fails (LoadElements throws TElementError); a decoded one is taken as is.
  TSatelliteLook(const TElements& elements, double latDeg, double lonDeg, double altM);

  // The look at a Julian date (UTC); ok false on a model breakdown or a result that is not finite.
  TLook At(double jd) override;

  // A TLookAt over this object, which must outlive it.
  TLookAt AsLookAt() {
    return [this](double jd) { return At(jd); };
  }

 private:
  TPropagator propagator_;
  TGeodetic site_;
};

}  // namespace zen::station
