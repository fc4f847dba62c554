// The pass search over real element sets: the 149 brightest satellites for a week, a whole
// constellation of 10,395 sets for a day, and a catalogue of the public mix of orbits for a day, from Torun with the usual conditions; and the
// flare search over the first-generation Iridiums for a week.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_sets.h"
#include "core/catalog.h"
#include "core/timescale.h"
#include "prediction/iridium.h"
#include "prediction/search.h"

namespace {

std::filesystem::path ElementFile(const std::string& name) {
  return std::filesystem::path(ZEN_SOURCE_DIR) / "tests" / "data" / "tle" / name;
}

std::vector<zen::TSearchSatellite> ReadSets(const std::filesystem::path& file) {
  std::vector<zen::TSearchSatellite> sets;
  zen::TCatalog catalog;
  catalog.ReadEverySet(file, [&](const std::string& name, const zen::TCatalogSet& set) {
    sets.push_back(zen::SearchSatelliteOf(name, set));
  });
  return sets;
}

// Passes (or flares) of every set of the file for days from 00:00 UTC of the date: level "1"
// (60-second coarse steps), satellite above 10 degrees and sunlit, the Sun below -5 degrees,
// flares of at most 1 degree. The threads are the benchmark's argument (0 = every core).
void SearchSets(benchmark::State& state, const std::vector<zen::TSearchSatellite>& sets,
                const zen::TDateRec& day, double days, zen::TSearchKind kind, int threads) {
  if (sets.empty()) {
    state.SkipWithError("reference element file not found beside the source tree");
    return;
  }
  zen::TSearchRequest request;
  request.latitudeDeg = 53.0217;
  request.longitudeDeg = 18.6107;
  request.altitudeM = 65.0;
  request.utcOffsetHours = 0.0;
  request.periodStartLocal = zen::DateRecToJulian(day);
  request.periodEndLocal = request.periodStartLocal + days;
  request.level = 0;
  request.minSatElevationDeg = 10.0;
  request.illuminationRequired = true;
  request.maxSunElevationDeg = -5.0;
  request.threads = threads;
  request.satellites = sets;
  if (kind == zen::TSearchKind::Flares) {
    request.kind = kind;
    request.allLoaded = true;
    request.iridiumTable = zen::zapodawajIridiums(std::filesystem::path(ZEN_SOURCE_DIR) /
                                                  "resources" / "Data" / "flares.dat");
    request.maxFlareAngleDeg = 1.0;
  }
  int events = 0;
  for (auto _ : state) {
    zen::TSearchFlags flags;
    const zen::TSearchOutcome outcome = zen::RunSearch(request, flags, nullptr);
    events = outcome.totalCount;
    benchmark::DoNotOptimize(outcome.rows.data());
  }
  state.counters["sets"] = static_cast<double>(sets.size());
  state.counters["events"] = events;
}

void SearchFile(benchmark::State& state, const std::string& file, const zen::TDateRec& day,
                double days, zen::TSearchKind kind = zen::TSearchKind::Passes) {
  SearchSets(state, ReadSets(ElementFile(file)), day, days, kind,
             static_cast<int>(state.range(0)));
}

// Every set of a whole catalogue (the argument: its count, the public mix of near-earth and
// deep-space sets and renumbered repeats further round their orbits) for the day of most of
// their epochs, on every core.
void BM_CatalogueDay(benchmark::State& state) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "zen_bench_passes";
  const std::filesystem::path file = zen::bench::WriteMixedCatalogue(
      zen::bench::PublicElementDir(), dir, static_cast<int>(state.range(0)));
  const std::vector<zen::TSearchSatellite> sets = ReadSets(file);
  std::filesystem::remove_all(dir);
  SearchSets(state, sets, zen::TDateRec{2026, 5, 30, 0, 0, 0, 0}, 1.0, zen::TSearchKind::Passes,
             0);
}

void BM_VisualWeek(benchmark::State& state) {
  SearchFile(state, "visual_2026-02-11.tle", zen::TDateRec{2026, 2, 11, 0, 0, 0, 0}, 7.0);
}

void BM_StarlinkDay(benchmark::State& state) {
  SearchFile(state, "starlink_2026-05-30.tle", zen::TDateRec{2026, 5, 30, 0, 0, 0, 0}, 1.0);
}

void BM_IridiumFlaresWeek(benchmark::State& state) {
  SearchFile(state, "iridium_gen1_celestrak_2014-09-18.tle", zen::TDateRec{2014, 9, 18, 0, 0, 0, 0},
             7.0, zen::TSearchKind::Flares);
}

// Argument: threads (0 = every core).
BENCHMARK(BM_VisualWeek)->Arg(0)->Arg(1)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_StarlinkDay)->Arg(0)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
// Argument: the sets searched.
BENCHMARK(BM_CatalogueDay)->Arg(30000)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_IridiumFlaresWeek)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
