// The console's speed test: how many moments per second the two models, with the observer
// geometry after them, get through on this machine.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>

#include "core/observer.h"

namespace zen {

// One set's count within the measuring time given to it.
struct TSpeedTestSet {
  std::string model;  // "SDP4" or "SGP4"
  std::string name;   // the built-in set's name
  int64_t samples = 0;
};

struct TSpeedTestResult {
  std::array<TSpeedTestSet, 2> sets;
  std::chrono::milliseconds perSet{0};
  bool stopped = false;  // the stop flag ended the run early; the counts mean nothing
};

inline constexpr std::chrono::milliseconds kSpeedTestPerSet{1500};

// Runs each of the built-in self-test sets for perSet of the steady clock, starting 20 periods
// before its epoch and stepping a thousandth of a period: propagate, convert to km, sub-point
// and topocentric right ascension and declination from the site. Uses its own propagator, so
// any thread may run it; stop (when given) is polled at every step.
TSpeedTestResult RunSpeedTest(const TGeodetic& site, std::chrono::milliseconds perSet,
                              const std::atomic<bool>* stop = nullptr);

// "  SDP4 (NAME): 12.3 KSPS; SGP4 (NAME): 45.6 KSPS; ": thousands of samples per second of
// measuring time, one decimal.
std::string SpeedTestLine(const TSpeedTestResult& result);

}  // namespace zen
