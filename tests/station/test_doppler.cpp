// Doppler correction: the direction and size of the shift, the plan for a transmitter with the
// pairing of a transponder's two passbands, and when the radio is retuned.
#include <gtest/gtest.h>

#include <cmath>

#include "station/doppler.h"

namespace zen::station {
namespace {

TEST(Doppler, ComingCloserIsHeardHigherAndSentLower) {
  // 437.8 MHz at 7 km/s: 437.8e6 * 7 / 299792.458 = 10222.405 Hz, worked out by hand. The uplink
  // moves the other way, so that the satellite hears what was planned.
  for (const auto& [rangeRateKmS, heardMinusSentHz] :
       {std::pair{-7.0, 10222.405}, {7.0, -10222.405}, {0.0, 0.0}, {-3.5, 5111.203}}) {
    EXPECT_NEAR(HeardOnGroundHz(437.8e6, rangeRateKmS) - 437.8e6, heardMinusSentHz, 1e-3);
    EXPECT_NEAR(SentFromGroundHz(437.8e6, rangeRateKmS) - 437.8e6, -heardMinusSentHz, 1e-3);
  }
}

TEST(Doppler, APlanPairsTheTransponderPassbandsTheRightWayRound) {
  // MHz; 0 where the transmitter has no such frequency or nothing is chosen or planned.
  const struct {
    double upLow, upHigh, downLow, downHigh;
    bool invert;
    double chosen, down, up;
  } cases[] = {
      {145.9, 146.0, 435.8, 435.9, true, 0, 435.8, 146.0},  // inverting
      {145.9, 146.0, 435.8, 435.9, true, 435.9, 435.9, 145.9},
      {145.9, 146.0, 435.8, 435.9, true, 435.8275, 435.8275, 145.9725},
      {145.9, 146.0, 435.8, 435.9, true, 435.7999, 435.8, 146.0},       // chosen outside
      {145.85, 145.95, 29.4, 29.5, false, 29.4321, 29.4321, 145.8821},  // not inverting
      {145.85, 145.95, 29.4, 29.5, false, 29.5001, 29.4, 145.85},
      {145.9, 0, 435.8, 435.9, true, 435.85, 435.85, 145.9},  // no uplink passband: not paired
      {145.99, 0, 437.8, 0, false, 437.805, 437.8, 145.99},   // a repeater has no passband
      {0, 0, 435.605, 0, false, 0, 435.605, 0},               // a beacon
      {435.25, 0, 0, 0, false, 0, 0, 435.25},
  };
  for (const auto& c : cases) {
    auto hz = [](double mhz) {
      return mhz > 0 ? std::optional<int64_t>(std::llround(mhz * 1e6)) : std::nullopt;
    };
    TTransmitter t;
    t.uplinkLowHz = hz(c.upLow);
    t.uplinkHighHz = hz(c.upHigh);
    t.downlinkLowHz = hz(c.downLow);
    t.downlinkHighHz = hz(c.downHigh);
    t.invert = c.invert;
    const TRadioPlan plan = PlanFor(t, c.chosen * 1e6);
    EXPECT_NEAR(plan.downlinkHz, c.down * 1e6, 1e-3) << c.downLow << " " << c.chosen;
    EXPECT_NEAR(plan.uplinkHz, c.up * 1e6, 1e-3) << c.downLow << " " << c.chosen;
  }
}

TEST(Doppler, TheRadioIsRetunedOnlyWhenAFrequencyMovedPastTheTolerance) {
  TRadioControl control(10.0);
  control.SetPlan({437'800'000, 145'990'000});
  // The range rate that moves the downlink by one Hz moves the uplink by a third of one.
  const double perHz = kLightSpeedKmS / 437.8e6;
  const struct {
    double rangeRateKmS;
    bool down, up, sent;  // proposed, and reported as sent
  } steps[] = {{-6.0, true, true, false},
               {-6.0, true, true, true},  // not sent before, so proposed again
               {-6.0, false, false, true},
               {-6.0 + 9.0 * perHz, false, false, true},  // within the tolerance
               {-6.0 + 11.0 * perHz, true, false, true},  // past it on the downlink only
               {-6.0 - 11.0 * perHz, true, false, true},  // 22 Hz from the last sent
               {2.0, true, true, true},
               {std::nan(""), false, false, true}};
  for (const auto& s : steps) {
    const TTuning tuning = control.Step(s.rangeRateKmS);
    const double downHz = tuning.downlinkHz.value_or(0), upHz = tuning.uplinkHz.value_or(0);
    EXPECT_NEAR(downHz, s.down ? HeardOnGroundHz(437.8e6, s.rangeRateKmS) : 0, 0.5)
        << s.rangeRateKmS;
    EXPECT_NEAR(upHz, s.up ? SentFromGroundHz(145.99e6, s.rangeRateKmS) : 0, 0.5) << s.rangeRateKmS;
    EXPECT_TRUE(downHz == std::round(downHz) && upHz == std::round(upHz));  // whole Hz
    if (s.sent) control.Sent(tuning);
  }
  // Forget, or the plan set again, starts over.
  control.Forget();
  EXPECT_TRUE(control.Step(2.0).downlinkHz && control.Step(2.0).uplinkHz);
  control.Sent(control.Step(2.0));
  control.SetPlan({437'800'000, 145'990'000});
  EXPECT_TRUE(control.Step(2.0).downlinkHz && control.Step(2.0).uplinkHz);
  // A tolerance of 0 retunes for every whole Hz, not for less; without an uplink, none is tuned.
  TRadioControl exact(0.0);
  exact.SetPlan({145'800'000, 0});
  const TTuning first = exact.Step(0.0);
  EXPECT_TRUE(first.downlinkHz && !first.uplinkHz);
  exact.Sent(first);
  EXPECT_FALSE(exact.Step(0.4 * kLightSpeedKmS / 145.8e6).downlinkHz);
  EXPECT_TRUE(exact.Step(-0.6 * kLightSpeedKmS / 145.8e6).downlinkHz);
}

}  // namespace
}  // namespace zen::station
