// What a click on a pass costs the window: the path of the ISS from horizon to horizon around a
// pass found over Torun, and its picture drawn at the details window's first size and at a
// large one. A click must answer well within a frame.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <filesystem>
#include <string>
#include <vector>

#include "core/catalog.h"
#include "core/observer.h"
#include "core/timescale.h"
#include "display/pass_plot.h"
#include "prediction/pass_lines.h"
#include "prediction/pass_track.h"
#include "prediction/search.h"

namespace {

struct TFirstPass {
  zen::TCatalogSet set;
  zen::TGeodetic site;
  zen::TPassLine line;
  bool found = false;
};

// The first visible ISS pass over Torun from 2026-02-11 15:00 UTC, found by the search itself.
const TFirstPass& FirstPass() {
  static const TFirstPass pass = [] {
    TFirstPass p;
    zen::TSearchRequest request;
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
    p.set = request.satellites.front().set;
    p.site = zen::ObserverFromSite(request.latitudeDeg, request.longitudeDeg, request.altitudeM);
    p.line = outcome.passes.front();
    p.found = true;
    return p;
  }();
  return pass;
}

zen::TPassPlot PlotOf(const TFirstPass& p) {
  const zen::TTrackSpan span =
      zen::HorizonSpan(p.set, p.site, p.line.rise.timeUtc, p.line.set.timeUtc, 15 * 60);
  zen::TPassPlot plot;
  plot.title = p.line.culmination.sat;
  plot.track = zen::TrackBetween(p.set, p.site, span.fromUtc, span.toUtc,
                                 p.line.culmination.timeUtc);
  plot.marks = {{p.line.rise.timeUtc, p.line.rise.azimuth, p.line.rise.elevation, "Rise"},
                {p.line.culmination.timeUtc, p.line.culmination.azimuth,
                 p.line.culmination.elevation, "Max"},
                {p.line.set.timeUtc, p.line.set.azimuth, p.line.set.elevation, "Set"}};
  plot.facts = zen::PassFacts(p.line);
  return plot;
}

void BM_PassPath(benchmark::State& state) {
  const TFirstPass& p = FirstPass();
  if (!p.found) {
    state.SkipWithError("reference element file not found beside the source tree");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(PlotOf(p));
}
BENCHMARK(BM_PassPath)->Unit(benchmark::kMillisecond);

void BM_PassPicture(benchmark::State& state) {
  const TFirstPass& p = FirstPass();
  if (!p.found) {
    state.SkipWithError("reference element file not found beside the source tree");
    return;
  }
  const zen::TPassPlot plot = PlotOf(p);
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
