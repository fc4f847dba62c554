// Doppler correction of a radio's frequencies while a satellite passes, and the pairing of a
// linear transponder's uplink with its downlink.
#pragma once

#include <optional>

#include "core/numeric.h"
#include "tracking/transmitters.h"

namespace zen::station {

inline constexpr double kLightSpeedKmS = kSpeedOfLightKmPerS;

// What a receiver on the ground tunes to for a satellite sending sentHz at a range rate
// (km/s, positive when the distance grows): sentHz (1 - v/c). Coming closer, it is heard higher.
double HeardOnGroundHz(double sentHz, double rangeRateKmS);
// What a station hears of its own transmission on sentHz echoed by a body at a range rate
// (km/s): the shift of the way out and of the way back, sentHz (1 - 2v/c).
double EchoHeardHz(double sentHz, double rangeRateKmS);
// What to transmit from the ground so that the satellite hears heardHz: heardHz (1 + v/c).
// Coming closer, the station sends lower.
double SentFromGroundHz(double heardHz, double rangeRateKmS);

// The uplink frequency (at the satellite) of a linear transponder that comes down on downlinkHz.
// Non-inverting: uplink low + (down - downlink low); inverting: uplink high - (down - downlink
// low). Empty unless the transmitter has both passbands (low and high of each) and downlinkHz
// lies inside the downlink passband.
std::optional<double> PairedUplinkHz(const TTransmitter& transmitter, double downlinkHz);

// The satellite's own frequencies of one contact; 0 where a direction is not used. An echo
// plan listens for the station's own transmission on downlinkHz coming back from a body: the
// receiver is tuned to the echo and the uplink is never tuned.
struct TRadioPlan {
  double downlinkHz = 0;
  double uplinkHz = 0;
  bool echo = false;
};

// The plan for a transmitter: the downlink is chosenDownlinkHz when that lies inside the
// downlink passband, else the transmitter's downlink low (0 without one); the uplink is paired
// with it for a transponder with both passbands, and the uplink low (0 without one) otherwise.
TRadioPlan PlanFor(const TTransmitter& transmitter, double chosenDownlinkHz = 0);

// Frequencies to send to the radio now, whole Hz; empty: leave that one as it is.
struct TTuning {
  std::optional<double> downlinkHz;
  std::optional<double> uplinkHz;
};

// Decides when the radio needs retuning. Step only proposes; the caller sends the proposal and
// reports what went out with Sent, so a send that failed is simply proposed again at the next
// Step. Forget makes the next Step propose both again, for a radio that may have been retuned
// while it was out of reach (after a reconnection).
class TRadioControl {
 public:
  // A frequency is sent again only when it moved by more than toleranceHz (negative: 0).
  explicit TRadioControl(double toleranceHz = 10.0);

  // A new plan; nothing of it has been sent yet.
  void SetPlan(const TRadioPlan& plan);
  const TRadioPlan& Plan() const { return plan_; }

  // Each planned frequency corrected for the range rate (km/s) and rounded to whole Hz, set only
  // when none was sent yet or it differs from the one last sent by more than the tolerance. A
  // range rate that is not finite proposes nothing.
  TTuning Step(double rangeRateKmS) const;
  // The radio took these; fields left empty keep their previous record.
  void Sent(const TTuning& tuning);
  // The next Step proposes every planned frequency again.
  void Forget();

  // What the receiver hears minus the planned downlink (Hz), for display (the echo's shift for
  // an echo plan); 0 without a downlink.
  double DownlinkShiftHz(double rangeRateKmS) const;
  // The shift of one way only, from the transmitter to the receiver; 0 without a downlink.
  double OneWayShiftHz(double rangeRateKmS) const;

 private:
  double toleranceHz_;
  TRadioPlan plan_;
  std::optional<double> sentDownlinkHz_;
  std::optional<double> sentUplinkHz_;
};

}  // namespace zen::station
