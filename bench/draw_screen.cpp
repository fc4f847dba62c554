// One full map redraw with 200 tracked satellites, every layer and every name on.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/elements.h"
#include "display/bitmaps.h"
#include "display/map_screen.h"
#include "display/projection.h"
#include "display/radar_view.h"
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

struct TBenchScene {
  TBenchScene() {
    list.TleFileName = WriteSets(dir).string();
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
    double now = zen::JulianDateOfEpoch(1352.14768052) + 0.25;
    cycle.LiczWszo(now, observer, list, time, show);
  }
  ~TBenchScene() { fs::remove_all(dir); }

  fs::path dir = fs::temp_directory_path() / "zen_bench_draw_screen";
  zen::TSatelliteList list;
  zen::TComputeCycle cycle;
  zen::TSite site;
  zen::TShowOptions show;
  zen::TBitmaps bitmaps = BenchBitmaps();
  zen::TTimeControl time;
};

void BM_DrawScreen200Tracked(benchmark::State& state) {
  TBenchScene s;
  zen::TMapScene scene{s.list, s.cycle, s.site, s.show, s.bitmaps, s.time};
  QImage map(zen::kMapImageWidth, zen::kMapImageHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    zen::DrawScreen(map, scene, false);
    benchmark::DoNotOptimize(map.constBits());
  }
  state.counters["satellites"] = s.list.TrackedCount;
}
BENCHMARK(BM_DrawScreen200Tracked)->Unit(benchmark::kMillisecond);

// The radar that goes with every map redraw, for comparison.
void BM_DrawRadar200Tracked(benchmark::State& state) {
  TBenchScene s;
  zen::TMapScene scene{s.list, s.cycle, s.site, s.show, s.bitmaps, s.time};
  QImage radar(zen::kRadarImageWidth, zen::kRadarImageHeight, QImage::Format_RGB32);
  zen::TRadarView view;
  for (auto _ : state) {
    benchmark::DoNotOptimize(view.DrawRadar(radar, scene));
  }
  state.counters["visible"] = s.cycle.VisibleCount;
}
BENCHMARK(BM_DrawRadar200Tracked)->Unit(benchmark::kMillisecond);

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
