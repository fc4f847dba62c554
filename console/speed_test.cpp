// The console's speed test: how many moments per second the two models, with the observer
// geometry after them, get through on this machine.
#include "console/speed_test.h"

#include "core/propagator.h"
#include "locations/number_text.h"

namespace zen {

namespace {

constexpr double kStartPeriodsBeforeEpoch = 20.0;
constexpr double kStepsPerPeriod = 1000.0;

}  // namespace

TSpeedTestResult RunSpeedTest(const TGeodetic& site, std::chrono::milliseconds perSet,
                              const std::atomic<bool>* stop) {
  using Clock = std::chrono::steady_clock;
  TSpeedTestResult result;
  result.perSet = perSet;
  TPropagator propagator;
  // Keeps an optimiser from dropping the geometry whose cost is measured.
  double checksum = 0.0;
  for (size_t i = 0; i < SelfTestSatellites.size(); ++i) {
    TSpeedTestSet& set = result.sets[i];
    propagator.LoadElements(SelfTestLines(i));
    const TElements& elements = propagator.CurrentElements;
    set.model = elements.UseDeepSpace ? "SDP4" : "SGP4";
    set.name = SelfTestSatellites[i].name;
    const double periodDays = elements.periodDays;
    double jd = elements.epochJulian - kStartPeriodsBeforeEpoch * periodDays;
    const double stepDays = periodDays / kStepsPerPeriod;
    const Clock::time_point end = Clock::now() + perSet;
    while (Clock::now() < end) {
      if (stop != nullptr && stop->load(std::memory_order_relaxed)) {
        result.stopped = true;
        return result;
      }
      TVector pos;
      TVector vel;
      // The built-in sets never break down over these days; the count is of work done either
      // way, so a status is not looked at.
      propagator.Propagate(pos, vel, jd);
      TPropagator::ScaleStateToKm(pos, vel);
      TGeodetic subPoint = EciToGeodetic(pos, jd);
      TLookAngles raDec = TopocentricRaDec(pos, vel, site, jd);
      checksum += subPoint.altitude + raDec.third;
      jd += stepDays;
      ++set.samples;
    }
  }
  volatile double sink = checksum;
  (void)sink;
  return result;
}

std::string SpeedTestLine(const TSpeedTestResult& result) {
  const double perSetMs = static_cast<double>(result.perSet.count());
  std::string line = "  ";
  for (const TSpeedTestSet& set : result.sets) {
    // Samples per millisecond are thousands of samples per second.
    const double ksps = perSetMs > 0.0 ? static_cast<double>(set.samples) / perSetMs : 0.0;
    line += set.model + " (" + set.name + "): " + FixedText(ksps, 1) + " KSPS; ";
  }
  return line;
}

}  // namespace zen
