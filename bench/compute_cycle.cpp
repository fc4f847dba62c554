// One compute cycle with 200 tracked satellites and the ground track on.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/bench_sets.h"
#include "core/elements.h"
#include "tracking/compute_cycle.h"

namespace {

namespace fs = std::filesystem;

using zen::bench::WriteSets;

void BM_LiczWszo200Tracked(benchmark::State& state) {
  fs::path dir = fs::temp_directory_path() / "zen_bench_cycle";
  zen::TSatelliteList list;
  list.TleFileName = WriteSets(dir).string();
  list.zapodawajSatelity(dir);
  zen::TSelection none;
  list.AddTr(true, false, 0, none);
  list.ActiveSat = 2;
  zen::TTimeControl time;
  zen::TComputeCycle cycle;
  zen::TShowOptions options;  // track line, markers and the boundary on
  zen::TGeodetic site = zen::ObserverFromSite(52.23, 21.01, 110.0);
  double now = zen::JulianDateOfEpoch(1352.14768052) + 0.25;
  cycle.LiczWszo(now, site, list, time, options);  // models set up once, as after a load
  for (auto _ : state) {
    now += 1.0 / 86400.0;  // a new second every cycle, as the refresh timer gives
    cycle.LiczWszo(now, site, list, time, options);
    benchmark::DoNotOptimize(cycle.VisibleCount);
  }
  state.counters["satellites"] = list.TrackedCount;
  fs::remove_all(dir);
}
BENCHMARK(BM_LiczWszo200Tracked)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
