// Propagations per second of the two models: Propagate + ScaleStateToKm on a loaded object,
// at moments spread over 20 periods around epoch (100 per period), walked back and forth as
// a pass search and the ground track do.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "core/propagator.h"

namespace {

constexpr int kPeriods = 20;
constexpr int kMomentsPerPeriod = 100;

// A geostationary set (24-hour resonance).
const zen::TTleLines kGeostationary{
    "1 99003U 26001A   26150.50000000 -.00000100  00000-0  00000-0 0  9991",
    "2 99003   0.0500  80.0000 0002000  90.0000  10.0000  1.00272000    11"};

void RunPropagations(benchmark::State& state, const zen::TTleLines& lines) {
  zen::TPropagator propagator;
  propagator.LoadElements(lines);
  zen::TVector pos, vel;
  propagator.Propagate(pos, vel, propagator.CurrentElements.epochJulian);
  const double periodDays = zen::kTwoPi / propagator.Init.motion / zen::kMinutesPerDay;
  std::vector<double> moments;
  const int count = kPeriods * kMomentsPerPeriod;
  for (int i = 0; i <= count; ++i) {
    moments.push_back(propagator.CurrentElements.epochJulian +
                      periodDays * (static_cast<double>(i) / kMomentsPerPeriod - kPeriods / 2.0));
  }
  for (int i = count - 1; i > 0; --i) moments.push_back(moments[static_cast<size_t>(i)]);
  size_t next = 0;
  int failures = 0;
  for (auto _ : state) {
    if (propagator.Propagate(pos, vel, moments[next]) != zen::TPropagationStatus::Ok) ++failures;
    zen::TPropagator::ScaleStateToKm(pos, vel);
    benchmark::DoNotOptimize(pos);
    benchmark::DoNotOptimize(vel);
    if (++next == moments.size()) next = 0;
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["resonant"] = propagator.Deep.resonant ? 1 : 0;
  state.counters["failures"] = failures;
}

void BM_Sgp4SelfTest(benchmark::State& state) {
  RunPropagations(state, zen::SelfTestLines(1));
}
void BM_Sdp4SelfTest(benchmark::State& state) {
  RunPropagations(state, zen::SelfTestLines(0));
}
void BM_Sdp4Geostationary(benchmark::State& state) {
  RunPropagations(state, kGeostationary);
}

BENCHMARK(BM_Sgp4SelfTest);
BENCHMARK(BM_Sdp4SelfTest);
BENCHMARK(BM_Sdp4Geostationary);

}  // namespace

BENCHMARK_MAIN();
