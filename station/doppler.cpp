// Doppler correction of a radio's frequencies while a satellite passes, and the pairing of a
// linear transponder's uplink with its downlink.
#include "station/doppler.h"

#include <cmath>

namespace zen::station {

namespace {

bool InsideBand(double hz, const std::optional<int64_t>& lowHz,
                const std::optional<int64_t>& highHz) {
  if (!lowHz || !highHz) return false;
  return hz >= static_cast<double>(*lowHz) && hz <= static_cast<double>(*highHz);
}

// Whole Hz: a radio takes nothing finer, and comparing whole numbers keeps the tolerance exact.
std::optional<double> Propose(double plannedHz, double correctedHz,
                              const std::optional<double>& sentHz, double toleranceHz) {
  if (!(plannedHz > 0.0) || !std::isfinite(correctedHz)) return std::nullopt;
  const double wholeHz = std::round(correctedHz);
  if (sentHz && std::fabs(wholeHz - *sentHz) <= toleranceHz) return std::nullopt;
  return wholeHz;
}

}  // namespace

double HeardOnGroundHz(double sentHz, double rangeRateKmS) {
  return sentHz * (1.0 - rangeRateKmS / kLightSpeedKmS);
}

double EchoHeardHz(double sentHz, double rangeRateKmS) {
  return sentHz * (1.0 - 2.0 * rangeRateKmS / kLightSpeedKmS);
}

double SentFromGroundHz(double heardHz, double rangeRateKmS) {
  return heardHz * (1.0 + rangeRateKmS / kLightSpeedKmS);
}

std::optional<double> PairedUplinkHz(const TTransmitter& t, double downlinkHz) {
  if (!t.uplinkLowHz || !t.uplinkHighHz) return std::nullopt;
  if (!InsideBand(downlinkHz, t.downlinkLowHz, t.downlinkHighHz)) return std::nullopt;
  const double offsetHz = downlinkHz - static_cast<double>(*t.downlinkLowHz);
  return t.invert ? static_cast<double>(*t.uplinkHighHz) - offsetHz
                  : static_cast<double>(*t.uplinkLowHz) + offsetHz;
}

TRadioPlan PlanFor(const TTransmitter& t, double chosenDownlinkHz) {
  TRadioPlan plan;
  if (InsideBand(chosenDownlinkHz, t.downlinkLowHz, t.downlinkHighHz)) {
    plan.downlinkHz = chosenDownlinkHz;
  } else if (t.downlinkLowHz) {
    plan.downlinkHz = static_cast<double>(*t.downlinkLowHz);
  }
  if (const std::optional<double> paired = PairedUplinkHz(t, plan.downlinkHz)) {
    plan.uplinkHz = *paired;
  } else if (t.uplinkLowHz) {
    plan.uplinkHz = static_cast<double>(*t.uplinkLowHz);
  }
  return plan;
}

// Written so that a NaN tolerance, which compares false with everything, becomes 0 as well.
TRadioControl::TRadioControl(double toleranceHz)
    : toleranceHz_(toleranceHz > 0.0 ? toleranceHz : 0.0) {}

void TRadioControl::SetPlan(const TRadioPlan& plan) {
  plan_ = plan;
  Forget();
}

TTuning TRadioControl::Step(double rangeRateKmS) const {
  TTuning tuning;
  if (!std::isfinite(rangeRateKmS)) return tuning;
  const double heardHz = plan_.echo ? EchoHeardHz(plan_.downlinkHz, rangeRateKmS)
                                    : HeardOnGroundHz(plan_.downlinkHz, rangeRateKmS);
  tuning.downlinkHz = Propose(plan_.downlinkHz, heardHz, sentDownlinkHz_, toleranceHz_);
  if (plan_.echo) return tuning;
  tuning.uplinkHz = Propose(plan_.uplinkHz, SentFromGroundHz(plan_.uplinkHz, rangeRateKmS),
                            sentUplinkHz_, toleranceHz_);
  return tuning;
}

void TRadioControl::Sent(const TTuning& tuning) {
  if (tuning.downlinkHz) sentDownlinkHz_ = tuning.downlinkHz;
  if (tuning.uplinkHz) sentUplinkHz_ = tuning.uplinkHz;
}

void TRadioControl::Forget() {
  sentDownlinkHz_.reset();
  sentUplinkHz_.reset();
}

double TRadioControl::DownlinkShiftHz(double rangeRateKmS) const {
  if (plan_.downlinkHz <= 0.0) return 0.0;
  if (plan_.echo) return EchoHeardHz(plan_.downlinkHz, rangeRateKmS) - plan_.downlinkHz;
  return OneWayShiftHz(rangeRateKmS);
}

double TRadioControl::OneWayShiftHz(double rangeRateKmS) const {
  if (plan_.downlinkHz <= 0.0) return 0.0;
  return HeardOnGroundHz(plan_.downlinkHz, rangeRateKmS) - plan_.downlinkHz;
}

}  // namespace zen::station
