// One map redraw and one radar redraw with every layer and every name on, for a small and a
// large tracked list built from the real Starlink sets.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <filesystem>
#include <string>
#include <utility>

#include "bench/bench_sets.h"
#include "core/elements.h"
#include "display/bitmaps.h"
#include "display/map_screen.h"
#include "display/projection.h"
#include "display/radar_view.h"
#include "display/time_display.h"
#include "display/vector_map.h"
#include "app/window_plan.h"
#include "tracking/compute_cycle.h"

namespace {

namespace fs = std::filesystem;

// A moment half a day after the Starlink file's sets were taken.
constexpr double kBenchEpoch = 26150.8;

QImage Filled(int width, int height, QColor colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

// Bitmaps of the shipped sizes drawn the same way: an opaque world and sky chart, symbols
// with a transparent key colour.
zen::TBitmaps BenchBitmaps() {
  zen::TBitmaps b;
  b.WorldBitmap = Filled(zen::kMapAreaWidth, zen::kMapAreaHeight, QColor(0x10, 0x30, 0x70));
  QImage symbol = Filled(11, 11, QColor(0xFF, 0x00, 0xFF));
  for (int y = 3; y <= 7; ++y) {
    for (int x = 3; x <= 7; ++x) symbol.setPixel(x, y, qRgb(0xF0, 0xE0, 0x20));
  }
  b.SunBitmap = zen::WithTransparentColour(symbol);
  b.SatLitBitmap = b.SunBitmap;
  b.SatEclipsedBitmap = b.SunBitmap;
  b.SatActiveBitmap = b.SunBitmap;
  b.RadarBitmap = Filled(150, 150, QColor(0x20, 0x20, 0x20));
  b.LogoBitmap = Filled(150, 100, QColor(0x40, 0x20, 0x00));
  return b;
}

// count Starlink sets, all tracked, the second active, after one compute cycle.
struct TBenchScene {
  explicit TBenchScene(int count) {
    list.TleFileName =
        zen::bench::WriteLargeCatalogue(zen::bench::StarlinkFile(), dir, count).string();
    list.zapodawajSatelity(dir);
    zen::TSelection none;
    list.AddTr(true, false, 0, none);
    list.ActiveSat = 2;
    show.grid = true;  // every layer on: the rest are on by default
    show.radarMode = zen::TRadarMode::On;
    site.name = "Warsaw";
    site.sign = "WAW";
    site.latitude = 52.23;
    site.longitude = 21.01;
    zen::TGeodetic observer = zen::UstawLokacje(site);
    cycle.LiczWszo(zen::JulianDateOfEpoch(kBenchEpoch), observer, list, time, show);
  }
  ~TBenchScene() { fs::remove_all(dir); }

  zen::TMapScene Scene() const { return {list, cycle, site, show, bitmaps, time}; }

  fs::path dir = fs::temp_directory_path() / "zen_bench_draw_screen";
  zen::TSatelliteList list;
  zen::TComputeCycle cycle;
  zen::TSite site;
  zen::TShowOptions show;
  zen::TBitmaps bitmaps = BenchBitmaps();
  zen::TTimeControl time;
};

void BM_DrawScreen(benchmark::State& state) {
  TBenchScene s(static_cast<int>(state.range(0)));
  const zen::TMapScene scene = s.Scene();
  QImage map(zen::kMapImageWidth, zen::kMapImageHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    zen::DrawScreen(map, scene, false);
    benchmark::DoNotOptimize(map.constBits());
  }
  state.counters["satellites"] = s.list.TrackedCount;
}
BENCHMARK(BM_DrawScreen)->Arg(200)->Arg(10000)->Unit(benchmark::kMillisecond);

// The radar that goes with every map redraw.
void BM_DrawRadar(benchmark::State& state) {
  TBenchScene s(static_cast<int>(state.range(0)));
  const zen::TMapScene scene = s.Scene();
  QImage radar(zen::kRadarImageWidth, zen::kRadarImageHeight, QImage::Format_RGB32);
  zen::TRadarView view;
  for (auto _ : state) {
    benchmark::DoNotOptimize(view.DrawRadar(radar, scene));
  }
  state.counters["visible"] = s.cycle.VisibleCount;
}
BENCHMARK(BM_DrawRadar)->Arg(200)->Arg(10000)->Unit(benchmark::kMillisecond);

// One redraw of the window's pictures (map, radar, time panel) at the window size and with the
// number tracked that the case names, at one device pixel per pixel: the map in the documented
// proportions as large as the layout allows, over the world drawn from the shipped outlines.
void RedrawWindow(benchmark::State& state, int width, int height, int tracked) {
  TBenchScene s(tracked);
  const zen::TWindowLayout layout = zen::LayOutWindow(width, height);
  QImage map(layout.map.size(), QImage::Format_RGB32);
  QImage radar(layout.radar.size(), QImage::Format_RGB32);
  QImage panel((QSizeF(zen::kTimePanelWidth, zen::kTimePanelHeight) * layout.scale).toSize(),
               QImage::Format_RGB32);
  panel.setDevicePixelRatio(layout.scale);
  zen::TVectorMap outlines;
  QString problem;
  if (!zen::ReadVectorMap(QStringLiteral(ZEN_SOURCE_DIR "/resources/Data/world.vec"), outlines,
                          problem)) {
    state.SkipWithError(qPrintable(problem));
    return;
  }
  const zen::TMapGeometry area = zen::MapGeometryFor(map.width(), map.height());
  const QImage world = zen::RenderVectorMap(outlines, QSize(area.width, area.height), 1.0);
  zen::TMapScene scene = s.Scene();
  if (area != zen::TMapGeometry{}) scene.largeWorld = &world;
  zen::TRadarView view;
  for (auto _ : state) {
    zen::DrawScreen(map, scene, false);
    view.DrawRadar(radar, scene);
    zen::DrawTimePanel(panel, s.time, false);
    benchmark::DoNotOptimize(map.constBits());
    benchmark::DoNotOptimize(radar.constBits());
    benchmark::DoNotOptimize(panel.constBits());
  }
  state.counters["map_width"] = map.width();
  state.counters["satellites"] = s.list.TrackedCount;
}
// A whole catalogue: the Starlink file three times over, as many sets as a full public one.
constexpr int kWholeCatalogue = 31185;
void RegisterRedrawWindow() {
  for (auto [width, height] : {std::pair{800, 600}, {1920, 1080}, {3840, 2160}}) {
    for (int tracked : {200, kWholeCatalogue}) {
      const std::string name = "BM_RedrawWindow/" + std::to_string(width) + "x" +
                               std::to_string(height) + "/" + std::to_string(tracked);
      benchmark::RegisterBenchmark(name.c_str(), RedrawWindow, width, height, tracked)
          ->Unit(benchmark::kMillisecond);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  // Text needs the font database of a GUI application; no window is ever shown.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  RegisterRedrawWindow();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
