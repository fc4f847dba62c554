// One compute cycle with a given number of tracked satellites of the public mix (near-earth and
// deep-space orbits), the ground track and the day/night boundary on; and the sky's share of a
// cycle.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench/bench_sets.h"
#include "core/elements.h"
#include "tracking/compute_cycle.h"
#include "tracking/sky_now.h"

namespace {

namespace fs = std::filesystem;

void BM_ComputeCycle(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  fs::path dir = fs::temp_directory_path() / ("zen_bench_cycle_" + std::to_string(count));
  zen::TSatelliteList list;
  list.TleFileName =
      zen::bench::WriteMixedCatalogue(zen::bench::PublicElementDir(), dir, count).string();
  list.zapodawajSatelity(dir);
  zen::TSelection none;
  list.AddTr(true, false, 0, none);
  list.ActiveSat = 2;
  zen::TTimeControl time;
  zen::TComputeCycle cycle;
  zen::TShowOptions options;  // track line, markers and the boundary on
  zen::TGeodetic site = zen::ObserverFromSite(52.23, 21.01, 110.0);
  // A few hours after the file's epochs, as a user loading it that day would see.
  double now = zen::JulianDateOfEpoch(26150.5);
  cycle.LiczWszo(now, site, list, time, options);  // models set up once, as after a load
  for (auto _ : state) {
    now += 1.0 / 86400.0;  // a new second every cycle, as the refresh timer gives
    cycle.LiczWszo(now, site, list, time, options);
    benchmark::DoNotOptimize(cycle.VisibleCount);
  }
  state.counters["satellites"] = list.TrackedCount;
  int deepSpace = 0;
  for (int i = 1; i <= list.TrackedCount; ++i) {
    deepSpace += list.ElementsOf(i).elements.UseDeepSpace ? 1 : 0;
  }
  state.counters["deep-space"] = deepSpace;
  fs::remove_all(dir);
}
// The cycle shares large lists between threads: the time to read is the wall-clock one (Time),
// the CPU column counts the calling thread only.
BENCHMARK(BM_ComputeCycle)->Arg(200)->Arg(10000)->Arg(30000)->Unit(benchmark::kMillisecond);

// The Moon, the precise Sun and the frame as the compute cycle works them out, one simulated
// second after another: the minute's ephemerides and age, and the local day's rise and set,
// fall on the cycles whose minute or day is new, as they do in the program.
void BM_SkyPerCycle(benchmark::State& state) {
  zen::TSkyNow sky;
  const zen::TGeodetic site = zen::ObserverFromSite(52.23, 21.01, 110.0);
  double now = zen::JulianDateOfEpoch(26150.5);
  for (auto _ : state) {
    now += 1.0 / 86400.0;
    const zen::TObserverFrame frame = zen::ObserverFrameAt(site, now);
    sky.Compute(now, site, frame, 1.0);
    benchmark::DoNotOptimize(sky.phase.illuminated);
  }
}
BENCHMARK(BM_SkyPerCycle)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
