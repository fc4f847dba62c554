// Propagations per second on one thread over the public near-earth sets of the reference data,
// each file's sets at 1,440 moments (a day, minute by minute, from the file's latest epoch):
// one set at a time (TPropagator::Propagate), the batch (TNearEarthBatch::Propagate) and the
// vector path (TNearEarthBatch::PropagateVector, labelled with the instruction set it chose,
// and once more pinned to each of the other instruction sets the build compiled).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/catalog.h"
#include "core/propagator.h"
#include "core/sgp4_batch.h"
#include "core/sgp4_vector.h"

namespace {

namespace fs = std::filesystem;

constexpr int kMoments = 1440;

// The near-earth sets of one element file and the moments they are propagated to.
struct TFileSets {
  std::vector<std::unique_ptr<zen::TPropagator>> sets;
  zen::TNearEarthBatch batch;
  std::vector<double> moments;
};

std::vector<TFileSets>& NearEarthFiles() {
  static std::vector<TFileSets> files = [] {
    std::vector<fs::path> paths;
    for (const auto& entry : fs::directory_iterator(fs::path(ZEN_SOURCE_DIR) / "tests/data/tle")) {
      if (entry.path().extension() == ".tle") paths.push_back(entry.path());
    }
    std::sort(paths.begin(), paths.end());
    std::vector<TFileSets> result;
    for (const fs::path& path : paths) {
      auto catalog = std::make_unique<zen::TCatalog>();
      const int count = catalog->ReadElementFile(path);
      TFileSets file;
      double latestEpoch = 0.0;
      for (int slot = 1; slot <= count; ++slot) {
        auto p = std::make_unique<zen::TPropagator>();
        p->LoadElements(catalog->CatalogElements[slot].lines);
        p->PrepareModel();
        if (!zen::TNearEarthBatch::Fits(*p)) continue;
        latestEpoch = std::max(latestEpoch, p->CurrentElements.epochJulian);
        file.sets.push_back(std::move(p));
      }
      if (file.sets.empty()) continue;
      file.batch.Resize(file.sets.size());
      for (size_t lane = 0; lane < file.sets.size(); ++lane)
        file.batch.SetLane(lane, *file.sets[lane]);
      for (int i = 0; i < kMoments; ++i)
        file.moments.push_back(latestEpoch + i / zen::kMinutesPerDay);
      result.push_back(std::move(file));
    }
    return result;
  }();
  return files;
}

int64_t PropagationsPerPass() {
  int64_t count = 0;
  for (const TFileSets& file : NearEarthFiles()) {
    count += static_cast<int64_t>(file.sets.size()) * static_cast<int64_t>(file.moments.size());
  }
  return count;
}

void BM_OneNearEarth(benchmark::State& state) {
  zen::TVector pos, vel;
  for (auto _ : state) {
    for (TFileSets& file : NearEarthFiles()) {
      for (double jd : file.moments) {
        for (auto& set : file.sets) {
          benchmark::DoNotOptimize(set->Propagate(pos, vel, jd));
          benchmark::DoNotOptimize(pos);
        }
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * PropagationsPerPass());
}

void BM_BatchNearEarth(benchmark::State& state) {
  for (auto _ : state) {
    for (TFileSets& file : NearEarthFiles()) {
      for (double jd : file.moments) {
        file.batch.Propagate(0, file.sets.size(), jd);
        benchmark::ClobberMemory();
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * PropagationsPerPass());
}

void BM_VectorNearEarth(benchmark::State& state) {
  for (auto _ : state) {
    for (TFileSets& file : NearEarthFiles()) {
      for (double jd : file.moments) {
        file.batch.PropagateVector(0, file.sets.size(), jd);
        benchmark::ClobberMemory();
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * PropagationsPerPass());
  state.SetLabel(zen::VectorTargetName());
}

void BM_VectorNearEarthPinned(benchmark::State& state, int64_t target) {
  zen::PinVectorTarget(target);
  BM_VectorNearEarth(state);
  zen::PinVectorTarget(0);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("BM_PropagationRate/one/near-earth", BM_OneNearEarth)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_PropagationRate/batch/near-earth", BM_BatchNearEarth)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_PropagationRate/vector/near-earth", BM_VectorNearEarth)
      ->Unit(benchmark::kMillisecond);
  const std::vector<int64_t> targets = zen::VectorTargets();
  for (size_t i = 1; i < targets.size(); ++i) {
    const std::string name =
        std::string("BM_PropagationRate/vector/near-earth/") + zen::VectorTargetName(targets[i]);
    benchmark::RegisterBenchmark(name.c_str(), BM_VectorNearEarthPinned, targets[i])
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
