// Doppler correction: the direction and size of the shift, the pairing of a transponder's two
// passbands, the plan for a transmitter, and when the radio is retuned.
#include <gtest/gtest.h>

#include <cmath>

#include "station/doppler.h"

namespace zen::station {
namespace {

// A frequency is handed to the radio in whole Hz.
constexpr double kHalfHz = 0.5;

TTransmitter Transponder(int64_t upLow, int64_t upHigh, int64_t downLow, int64_t downHigh,
                         bool invert) {
  TTransmitter t;
  t.type = "Transponder";
  t.uplinkLowHz = upLow;
  t.uplinkHighHz = upHigh;
  t.downlinkLowHz = downLow;
  t.downlinkHighHz = downHigh;
  t.invert = invert;
  return t;
}

TTransmitter Repeater() {
  TTransmitter t;
  t.type = "Transceiver";
  t.uplinkLowHz = 145'990'000;
  t.downlinkLowHz = 437'800'000;
  return t;
}

TEST(Doppler, ComingCloserIsHeardHigherAndSentLower) {
  // 437.8 MHz at 7 km/s: 437.8e6 * 7 / 299792.458 = 10222.405 Hz, worked out by hand.
  const struct {
    double rangeRateKmS;
    double heardMinusSentHz;
  } cases[] = {{-7.0, 10222.405}, {7.0, -10222.405}, {0.0, 0.0}, {-3.5, 5111.203}};
  const double sentHz = 437.8e6;
  TRadioControl control;
  control.SetPlan({sentHz, 0});
  for (const auto& c : cases) {
    const double heardHz = HeardOnGroundHz(sentHz, c.rangeRateKmS);
    EXPECT_NEAR(heardHz - sentHz, c.heardMinusSentHz, 1e-3) << c.rangeRateKmS;
    EXPECT_NEAR(control.DownlinkShiftHz(c.rangeRateKmS), c.heardMinusSentHz, 1e-3);
    // The uplink is moved the other way by the same amount (to first order in v/c), so that the
    // satellite hears what was planned but for a (v/c)^2 part.
    const double upHz = SentFromGroundHz(sentHz, c.rangeRateKmS);
    EXPECT_NEAR(upHz - sentHz, -c.heardMinusSentHz, 1e-3) << c.rangeRateKmS;
    const double ratio = c.rangeRateKmS / kLightSpeedKmS;
    EXPECT_NEAR(HeardOnGroundHz(upHz, c.rangeRateKmS), sentHz, sentHz * ratio * ratio * 1.01);
  }
}

TEST(Doppler, TransponderPassbandsPairTheRightWayRound) {
  const TTransmitter inverting =
      Transponder(145'900'000, 146'000'000, 435'800'000, 435'900'000, true);
  const TTransmitter straight =
      Transponder(145'850'000, 145'950'000, 29'400'000, 29'500'000, false);
  TTransmitter upOnlyLow = inverting;
  upOnlyLow.uplinkHighHz.reset();
  const struct {
    const char* what;
    const TTransmitter& transmitter;
    double downHz;
    std::optional<double> upHz;
  } cases[] = {
      {"inverting, bottom of the downlink", inverting, 435.800e6, 146.000e6},
      {"inverting, top of the downlink", inverting, 435.900e6, 145.900e6},
      {"inverting, inside", inverting, 435.8275e6, 145.9725e6},
      {"straight, bottom", straight, 29.400e6, 145.850e6},
      {"straight, inside", straight, 29.4321e6, 145.8821e6},
      {"straight, top", straight, 29.500e6, 145.950e6},
      {"below the downlink passband", inverting, 435.7999e6, std::nullopt},
      {"above the downlink passband", straight, 29.5001e6, std::nullopt},
      {"uplink without its high", upOnlyLow, 435.850e6, std::nullopt},
      {"a repeater has no passbands", Repeater(), 437.800e6, std::nullopt},
  };
  for (const auto& c : cases) {
    const std::optional<double> upHz = PairedUplinkHz(c.transmitter, c.downHz);
    ASSERT_EQ(upHz.has_value(), c.upHz.has_value()) << c.what;
    if (upHz) {
      EXPECT_NEAR(*upHz, *c.upHz, 1e-3) << c.what;
    }
  }
}

TEST(Doppler, APlanTakesTheChosenDownlinkAndItsUplink) {
  const TTransmitter inverting =
      Transponder(145'935'000, 145'995'000, 435'610'000, 435'670'000, true);
  TTransmitter beacon;
  beacon.downlinkLowHz = 435'605'000;
  TTransmitter uplinkOnly;
  uplinkOnly.uplinkLowHz = 435'250'000;
  const struct {
    const char* what;
    TTransmitter transmitter;
    double chosenHz;
    double downHz;
    double upHz;
  } cases[] = {
      {"transponder, chosen inside", inverting, 435.640e6, 435.640e6, 145.965e6},
      {"transponder, nothing chosen", inverting, 0, 435.610e6, 145.995e6},
      {"transponder, chosen outside", inverting, 437.0e6, 435.610e6, 145.995e6},
      {"repeater", Repeater(), 0, 437.800e6, 145.990e6},
      {"repeater ignores a choice", Repeater(), 437.805e6, 437.800e6, 145.990e6},
      {"beacon: nothing to send", beacon, 0, 435.605e6, 0},
      {"uplink only", uplinkOnly, 0, 0, 435.250e6},
  };
  for (const auto& c : cases) {
    const TRadioPlan plan = PlanFor(c.transmitter, c.chosenHz);
    EXPECT_NEAR(plan.downlinkHz, c.downHz, 1e-3) << c.what;
    EXPECT_NEAR(plan.uplinkHz, c.upHz, 1e-3) << c.what;
  }
}

TEST(Doppler, TheRadioIsRetunedOnlyWhenAFrequencyMovedPastTheTolerance) {
  TRadioControl control(10.0);
  control.SetPlan({437'800'000, 145'990'000});
  // 10 Hz at 437.8 MHz is a range-rate change of 299792.458 * 10 / 437.8e6 = 6.848e-3 km/s; at
  // 145.99 MHz 10 Hz takes three times that.
  const double perHzDown = kLightSpeedKmS / 437.8e6;
  const struct {
    const char* what;
    double rangeRateKmS;
    bool down;
    bool up;
  } steps[] = {
      {"first step: both", -6.0, true, true},
      {"unchanged", -6.0, false, false},
      {"9 Hz on the downlink", -6.0 + 9.0 * perHzDown, false, false},
      {"11 Hz on the downlink, 3.7 Hz up", -6.0 + 11.0 * perHzDown, true, false},
      {"back by 11 Hz: 22 Hz up since sent", -6.0 - 11.0 * perHzDown, true, false},
      {"far off", 2.0, true, true},
      {"not a number", std::nan(""), false, false},
  };
  for (const auto& s : steps) {
    const TTuning tuning = control.Step(s.rangeRateKmS);
    EXPECT_EQ(tuning.downlinkHz.has_value(), s.down) << s.what;
    EXPECT_EQ(tuning.uplinkHz.has_value(), s.up) << s.what;
    if (tuning.downlinkHz) {
      EXPECT_EQ(*tuning.downlinkHz, std::round(*tuning.downlinkHz)) << s.what;
      EXPECT_NEAR(*tuning.downlinkHz, HeardOnGroundHz(437.8e6, s.rangeRateKmS), kHalfHz);
    }
    if (tuning.uplinkHz) {
      EXPECT_NEAR(*tuning.uplinkHz, SentFromGroundHz(145.99e6, s.rangeRateKmS), kHalfHz);
    }
    control.Sent(tuning);
  }
}

TEST(Doppler, AFailedSendIsProposedAgainAndForgetStartsOver) {
  TRadioControl control(10.0);
  control.SetPlan({145'800'000, 0});
  const TTuning first = control.Step(-5.0);
  ASSERT_TRUE(first.downlinkHz);
  EXPECT_FALSE(first.uplinkHz);  // no uplink planned
  // Not reported as sent: proposed again.
  EXPECT_EQ(control.Step(-5.0).downlinkHz, first.downlinkHz);
  control.Sent(first);
  EXPECT_FALSE(control.Step(-5.0).downlinkHz);
  control.Forget();
  EXPECT_EQ(control.Step(-5.0).downlinkHz, first.downlinkHz);
  control.Sent(first);
  // A new plan has sent nothing yet.
  control.SetPlan({145'800'000, 0});
  EXPECT_TRUE(control.Step(-5.0).downlinkHz);
  // A tolerance of 0 retunes for every whole Hz, not for less.
  TRadioControl exact(0.0);
  exact.SetPlan({145'800'000, 0});
  exact.Sent(exact.Step(0.0));
  EXPECT_FALSE(exact.Step(0.4 * kLightSpeedKmS / 145.8e6).downlinkHz);
  EXPECT_TRUE(exact.Step(-0.6 * kLightSpeedKmS / 145.8e6).downlinkHz);
}

}  // namespace
}  // namespace zen::station
