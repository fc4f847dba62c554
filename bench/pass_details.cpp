// What a click on a pass costs the window: the path of the ISS from horizon to horizon around a
// pass found over Torun, and its picture drawn at the details window's first size and at a
// large one. A click must answer well within a frame.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <filesystem>
#include <string>
#include <vector>

#include "app/prediction_commands.h"
#include "core/catalog.h"
#include "core/timescale.h"
#include "display/pass_plot.h"
#include "prediction/search.h"

namespace {

struct TFirstPass {
  zen::TSearchRequest request;
  zen::TPassLine line;
  bool found = false;
};

// The first visible ISS pass over Torun from 2026-02-11 15:00 UTC, found by the search itself.
const TFirstPass& FirstPass() {
  static const TFirstPass pass = [] {
    TFirstPass p;
    zen::TSearchRequest& request = p.request;
    request.latitudeDeg = 53.0217;
    request.longitudeDeg = 18.6107;
    request.altitudeM = 65.0;
    request.periodStartLocal = zen::DateRecToJulian(zen::TDateRec{2026, 2, 11, 15, 0, 0, 0});
    request.periodEndLocal = request.periodStartLocal + 2.0;
    request.threads = 1;
    zen::TCatalog catalog;
    catalog.ReadEverySet(std::filesystem::path(ZEN_SOURCE_DIR) / "tests" / "data" / "tle" /
                             "visual_2026-02-11.tle",
                         [&](const std::string& name, const zen::TCatalogSet& set) {
                           if (name.starts_with("ISS (ZARYA)") && request.satellites.empty()) {
                             request.satellites.push_back(zen::SearchSatelliteOf(name, set));
                           }
                         });
    if (request.satellites.empty()) return p;
    zen::TSearchFlags flags;
    const zen::TSearchOutcome outcome = zen::RunSearch(request, flags, nullptr);
    if (outcome.passes.empty()) return p;
    p.line = outcome.passes.front();
    p.found = true;
    return p;
  }();
  return pass;
}

void BM_PassPath(benchmark::State& state) {
  const TFirstPass& p = FirstPass();
  if (!p.found) {
    state.SkipWithError("reference element file not found beside the source tree");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(zen::PlotOfPass(p.request, p.line));
}
BENCHMARK(BM_PassPath)->Unit(benchmark::kMillisecond);

void BM_PassPicture(benchmark::State& state) {
  const TFirstPass& p = FirstPass();
  if (!p.found) {
    state.SkipWithError("reference element file not found beside the source tree");
    return;
  }
  const zen::TPassPlot plot = zen::PlotOfPass(p.request, p.line);
  const QSize size(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) benchmark::DoNotOptimize(zen::RenderPassPlot(plot, size, 1.0));
}
BENCHMARK(BM_PassPicture)->Args({720, 430})->Args({1800, 1000})->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // Text needs the font database of a GUI application; no window is ever shown.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
