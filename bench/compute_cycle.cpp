// One compute cycle with 200 tracked satellites and the ground track on.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/elements.h"
#include "tracking/compute_cycle.h"

namespace {

namespace fs = std::filesystem;

std::string WithChecksum(std::string line) {
  line.resize(68, ' ');
  int sum = 0;
  for (char c : line) {
    if (c >= '0' && c <= '9') sum += c - '0';
    if (c == '-') sum += 1;
  }
  line.push_back(static_cast<char>('0' + sum % 10));
  return line;
}

// 200 sets: the built-in near-earth and deep-space sets, renumbered, with their nodes and mean
// anomalies spread round the orbit so the satellites stand in different places.
fs::path WriteSets(const fs::path& dir) {
  fs::create_directories(dir);
  fs::path file = dir / "bench.tle";
  std::ofstream out(file, std::ios::binary);
  for (int i = 0; i < 200; ++i) {
    const zen::TNamedElements& s = zen::SelfTestSatellites[i % 10 == 0 ? 0 : 1];
    std::string l1 = s.line1;
    std::string l2 = s.line2;
    char number[8];
    std::snprintf(number, sizeof number, "%5d", 40000 + i);
    char angle[16];
    l1.replace(2, 5, number);
    l2.replace(2, 5, number);
    std::snprintf(angle, sizeof angle, "%8.4f", (i * 37) % 360 + 0.5);
    l2.replace(17, 8, angle);
    std::snprintf(angle, sizeof angle, "%8.4f", (i * 53) % 360 + 0.25);
    l2.replace(43, 8, angle);
    out << "SAT " << i << "\n" << WithChecksum(l1) << "\n" << WithChecksum(l2) << "\n";
  }
  return file;
}

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
