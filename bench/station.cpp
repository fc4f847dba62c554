// The station's work on the window's thread: finding the current or next pass of the active
// satellite (done once a pass, and after the clock is set) and choosing the rotator's path at a
// pass's start. Both must stay far below a frame.
#include <benchmark/benchmark.h>

#include <string>

#include "core/catalog.h"
#include "station/pass_window.h"
#include "station/rotator_control.h"
#include "station/satellite_look.h"

namespace {

constexpr const char* kElementFile = ZEN_SOURCE_DIR "/tests/data/tle/amateur_2025-04-29.tle";
constexpr double kEpochDayJd = 2460794.5;

zen::TElements Iss() {
  zen::TCatalog catalog;
  zen::TElements found;
  catalog.ReadEverySet(kElementFile, [&found](const std::string&, const zen::TCatalogSet& set) {
    if (set.number == 25544) found = set.elements;
  });
  return found;
}

// The next pass from moments spread over two days, as a clock set anywhere asks.
void BM_FindPass(benchmark::State& state) {
  zen::station::TSatelliteLook look(Iss(), 52.23, 21.01, 100.0);
  const zen::station::TLookAt lookAt = look.AsLookAt();
  double fromJd = kEpochDayJd;
  for (auto _ : state) {
    benchmark::DoNotOptimize(zen::station::FindPass(lookAt, fromJd, 0.0));
    fromJd += 0.137;
    if (fromJd > kEpochDayJd + 2.0) fromJd = kEpochDayJd;
  }
}
BENCHMARK(BM_FindPass)->Unit(benchmark::kMillisecond);

// The first step of a pass: its whole track sampled and the path through the range chosen.
void BM_ChoosePassPath(benchmark::State& state) {
  zen::station::TSatelliteLook look(Iss(), 52.23, 21.01, 100.0);
  const zen::station::TLookAt lookAt = look.AsLookAt();
  const zen::station::TPassWindow pass = zen::station::FindPass(lookAt, kEpochDayJd, 0.0);
  zen::station::TRotatorSettings settings;
  settings.geometry.range = zen::station::TAzimuthRange::From0To450;
  settings.geometry.flip = true;
  for (auto _ : state) {
    zen::station::TRotatorControl control(settings);
    benchmark::DoNotOptimize(control.Step(pass.riseJd - 60.0 / 86400.0, lookAt, pass));
  }
}
BENCHMARK(BM_ChoosePassPath)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
