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
  // At an eccentricity of 1 or more the models' set-up takes the root of 1 - e^2, and every
  // later quantity would come out NaN; the orbit is not an ellipse, so say that instead.
  if (!(CurrentElements.eccentricity < 1.0)) {
    pos = TVector{};
    vel = TVector{};
    return TPropagationStatus::EccentricityOutOfRange;
  }
  bool& initPending = CurrentElements.ModelInitPending;
  if (CurrentElements.UseDeepSpace) return Sdp4Propagate(initPending, pos, vel, tsinceMinutes);
  return Sgp4Propagate(initPending, pos, vel, tsinceMinutes);
}

void TPropagator::PrepareModel() {
  if (!CurrentElements.ModelInitPending || !(CurrentElements.eccentricity < 1.0)) return;
  if (CurrentElements.UseDeepSpace) {
    InitialiseCommon();
    DeepSpaceInitialise();
  } else {
    InitialiseNearEarth();
  }
  CurrentElements.ModelInitPending = false;
}

}  // namespace zen
