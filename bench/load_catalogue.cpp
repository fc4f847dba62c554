// Loading a large element file the way the window does: read and decoded (on the worker), then
// taken over by the list with every set tracked.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <numeric>
#include <vector>

#include "bench/bench_sets.h"
#include "tracking/satellite_list.h"

namespace {

namespace fs = std::filesystem;

void BM_LoadCatalogue(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const fs::path dir = fs::temp_directory_path() / "zen_bench_load";
  const fs::path file = zen::bench::WriteLargeCatalogue(zen::bench::StarlinkFile(), dir, count);
  zen::TSatelliteList list;
  list.TleFileName = file.string();
  for (auto _ : state) {
    zen::TCatalogRead read = zen::ReadCatalog(file);
    list.TakeCatalog(std::move(read));
    benchmark::DoNotOptimize(list.LoadedCount);
  }
  state.counters["sets"] = list.LoadedCount;
  fs::remove_all(dir);
}
BENCHMARK(BM_LoadCatalogue)->Arg(30000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
