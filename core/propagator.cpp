// The propagator's entry: model choice, time since epoch and the conversion to km.
#include "core/propagator.h"

#include <cmath>

namespace zen {

const char* PropagationStatusText(TPropagationStatus status) {
  switch (status) {
    case TPropagationStatus::Ok:
      return "ok";
    case TPropagationStatus::EccentricityOutOfRange:
      return "eccentricity";
    case TPropagationStatus::NonPositiveAxis:
      return "axis";
    case TPropagationStatus::NonFinite:
      return "nonfinite";
    case TPropagationStatus::Decayed:
      return "decayed";
  }
  return "unknown";
}

void TPropagator::LoadElements(const TTleLines& lines) {
  zen::LoadElements(lines, CurrentElements);
}

void TPropagator::LoadElements(const TElements& elements) {
  CurrentElements = elements;
  CurrentElements.ModelInitPending = true;
}

TPropagationStatus TPropagator::Propagate(TVector& pos, TVector& vel, double jd) {
  return PropagateMinutes(pos, vel, (jd - CurrentElements.epochJulian) * kMinutesPerDay);
}

TPropagationStatus TPropagator::PropagateMinutes(TVector& pos, TVector& vel, double tsinceMinutes) {
  if (!std::isfinite(tsinceMinutes)) {
    pos = TVector{};
    vel = TVector{};
    return TPropagationStatus::NonFinite;
  }
  bool& initPending = CurrentElements.ModelInitPending;
  if (CurrentElements.UseDeepSpace) return Sdp4Propagate(initPending, pos, vel, tsinceMinutes);
  return Sgp4Propagate(initPending, pos, vel, tsinceMinutes);
}

void TPropagator::ScaleStateToKm(TVector& pos, TVector& vel) {
  constexpr double kKmPerSecond = kEarthRadiusKm / 60.0;
  pos.x *= kEarthRadiusKm;
  pos.y *= kEarthRadiusKm;
  pos.z *= kEarthRadiusKm;
  vel.x *= kKmPerSecond;
  vel.y *= kKmPerSecond;
  vel.z *= kKmPerSecond;
  VecMagnitude(pos);
  VecMagnitude(vel);
}

}  // namespace zen
