// Propagations per second on one thread over the public sets of the reference data, each file's
// sets at 1,440 moments (a day, minute by minute, from the file's latest epoch). Near-earth sets:
// one set at a time (TPropagator::Propagate), the batch (TNearEarthBatch::Propagate) and the
// vector path (TNearEarthBatch::PropagateVector, labelled with the instruction set it chose,
// and once more pinned to each of the other instruction sets the build compiled). Deep-space
// sets: one set at a time and the vector path (TDeepSpaceBatch::PropagateVector), labelled and
// pinned in the same way; their integrator and periodics move on with every pass on both paths.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "core/catalog.h"
#include "core/propagator.h"
#include "core/sdp4_batch.h"
#include "core/sgp4_batch.h"
#include "core/sgp4_vector.h"

namespace {

namespace fs = std::filesystem;

constexpr int kMoments = 1440;

// The sets of one element file that one batch takes and the moments they are propagated to.
template <class TBatch>
struct TFileSets {
  std::vector<std::unique_ptr<zen::TPropagator>> sets;
  TBatch batch;
  std::vector<double> moments;
};

template <class TBatch>
std::vector<TFileSets<TBatch>> ReadFiles() {
  std::vector<fs::path> paths;
  for (const auto& entry : fs::directory_iterator(fs::path(ZEN_SOURCE_DIR) / "tests/data/tle")) {
    if (entry.path().extension() == ".tle") paths.push_back(entry.path());
  }
  std::sort(paths.begin(), paths.end());
  std::vector<TFileSets<TBatch>> result;
  for (const fs::path& path : paths) {
    auto catalog = std::make_unique<zen::TCatalog>();
    const int count = catalog->ReadElementFile(path);
    TFileSets<TBatch> file;
    double latestEpoch = 0.0;
    for (int slot = 1; slot <= count; ++slot) {
      auto p = std::make_unique<zen::TPropagator>();
      p->LoadElements(catalog->CatalogElements[slot].lines);
      p->PrepareModel();
      if (!TBatch::Fits(*p)) continue;
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
}

std::vector<TFileSets<zen::TNearEarthBatch>>& NearEarthFiles() {
  static std::vector<TFileSets<zen::TNearEarthBatch>> files = ReadFiles<zen::TNearEarthBatch>();
  return files;
}

std::vector<TFileSets<zen::TDeepSpaceBatch>>& DeepSpaceFiles() {
  static std::vector<TFileSets<zen::TDeepSpaceBatch>> files = ReadFiles<zen::TDeepSpaceBatch>();
  return files;
}

template <class TBatch>
int64_t PropagationsPerPass(const std::vector<TFileSets<TBatch>>& files) {
  int64_t count = 0;
  for (const TFileSets<TBatch>& file : files) {
    count += static_cast<int64_t>(file.sets.size()) * static_cast<int64_t>(file.moments.size());
  }
  return count;
}

// The files of one kind of set, read at the first benchmark that needs them.
template <class TBatch>
using TFilesOf = std::vector<TFileSets<TBatch>>& (*)();

template <class TBatch>
void BM_One(benchmark::State& state, TFilesOf<TBatch> filesOf) {
  std::vector<TFileSets<TBatch>>* files = &filesOf();
  zen::TVector pos, vel;
  for (auto _ : state) {
    for (TFileSets<TBatch>& file : *files) {
      for (double jd : file.moments) {
        for (auto& set : file.sets) {
          benchmark::DoNotOptimize(set->Propagate(pos, vel, jd));
          benchmark::DoNotOptimize(pos);
        }
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * PropagationsPerPass(*files));
}

void BM_BatchNearEarth(benchmark::State& state) {
  for (auto _ : state) {
    for (TFileSets<zen::TNearEarthBatch>& file : NearEarthFiles()) {
      for (double jd : file.moments) {
        file.batch.Propagate(0, file.sets.size(), jd);
        benchmark::ClobberMemory();
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * PropagationsPerPass(NearEarthFiles()));
}

// The vector path on the instruction set pinned (0: the best the processor has).
template <class TBatch>
void BM_Vector(benchmark::State& state, TFilesOf<TBatch> filesOf, int64_t target) {
  std::vector<TFileSets<TBatch>>* files = &filesOf();
  zen::PinVectorTarget(target);
  for (auto _ : state) {
    for (TFileSets<TBatch>& file : *files) {
      for (double jd : file.moments) {
        file.batch.PropagateVector(0, file.sets.size(), jd);
        benchmark::ClobberMemory();
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * PropagationsPerPass(*files));
  state.SetLabel(zen::VectorTargetName());
  zen::PinVectorTarget(0);
}

// The one-satellite and vector paths of one kind of set, the vector path once more pinned to
// each instruction set but the best.
template <class TBatch>
void RegisterKind(const std::string& kind, TFilesOf<TBatch> files) {
  benchmark::RegisterBenchmark(("BM_PropagationRate/one/" + kind).c_str(), BM_One<TBatch>, files)
      ->Unit(benchmark::kMillisecond);
  if constexpr (std::is_same_v<TBatch, zen::TNearEarthBatch>) {
    benchmark::RegisterBenchmark(("BM_PropagationRate/batch/" + kind).c_str(), BM_BatchNearEarth)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::RegisterBenchmark(("BM_PropagationRate/vector/" + kind).c_str(), BM_Vector<TBatch>,
                               files, int64_t{0})
      ->Unit(benchmark::kMillisecond);
  const std::vector<int64_t> targets = zen::VectorTargets();
  for (size_t i = 1; i < targets.size(); ++i) {
    const std::string name =
        "BM_PropagationRate/vector/" + kind + "/" + zen::VectorTargetName(targets[i]);
    benchmark::RegisterBenchmark(name.c_str(), BM_Vector<TBatch>, files, targets[i])
        ->Unit(benchmark::kMillisecond);
  }
}

}  // namespace

int main(int argc, char** argv) {
  RegisterKind<zen::TNearEarthBatch>("near-earth", NearEarthFiles);
  RegisterKind<zen::TDeepSpaceBatch>("deep-space", DeepSpaceFiles);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
