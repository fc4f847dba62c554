// The location database at its size limit: loading a file of 5,000 entries, and adding one
// entry to a database of 4,999 (the insert position found ignoring case, then the insert).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "locations/location_db.h"
#include "tracking/text_file.h"

namespace {

namespace fs = std::filesystem;

// A database of count entries with names in order, like the shipped one.
zen::TLocationDb MakeDatabase(int count) {
  zen::TLocationDb db;
  for (int i = 0; i < count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "Place %05d", i * 2);
    db.Names.emplace_back(name);
    db.LocationTable.push_back({50.0 + i * 1e-4, 18.0 - i * 1e-4, 100.0 + i % 900, "PL"});
  }
  return db;
}

// A program folder of its own in the temporary folder, removed afterwards.
class TBenchFolder {
 public:
  TBenchFolder() {
    std::string pattern = (fs::temp_directory_path() / "zen_bench_locations_XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~TBenchFolder() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

void LoadFullDatabase(benchmark::State& state) {
  TBenchFolder folder;
  if (folder.path().empty()) {
    state.SkipWithError("no temporary folder");
    return;
  }
  fs::create_directories(folder.path() / "Locations");
  zen::TLocationDb full = MakeDatabase(zen::MaxLocations);
  full.LocationFile = "*Bench";
  full.SejwujLokacje(folder.path());
  for (auto _ : state) {
    zen::TLocationDb db;
    db.LocationFile = "*Bench";
    db.zapodawajLokacje(folder.path());
    benchmark::DoNotOptimize(db.Names.data());
  }
  state.SetItemsProcessed(state.iterations() * zen::MaxLocations);
}
BENCHMARK(LoadFullDatabase)->Unit(benchmark::kMillisecond);

void AddToNearlyFullDatabase(benchmark::State& state) {
  const zen::TLocationDb start = MakeDatabase(zen::MaxLocations - 1);
  const zen::TLocationRec entry{52.0, 21.0, 100.0, "PL"};
  // Half-way down the list: 2,500 names compared, 2,500 entries moved.
  const std::string name = "place 04999";
  for (auto _ : state) {
    state.PauseTiming();
    zen::TLocationDb db = start;
    state.ResumeTiming();
    benchmark::DoNotOptimize(db.Add(name, entry));
  }
}
BENCHMARK(AddToNearlyFullDatabase)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
