// The world's outlines: decoding the shipped file and the largest one allowed, and drawing
// the shipped outlines and the largest land ring allowed at the map sizes of large windows.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QGuiApplication>
#include <cmath>
#include <random>
#include <string>
#include <utility>

#include "app/window_plan.h"
#include "display/projection.h"
#include "display/vector_map.h"

namespace {

const QString kShippedWorld = QStringLiteral(ZEN_SOURCE_DIR "/resources/Data/world.vec");

void PutVarint(std::string& out, uint32_t value) {
  for (; value >= 0x80; value >>= 7) out.push_back(char((value & 0x7F) | 0x80));
  out.push_back(char(value));
}
void PutStep(std::string& out, int32_t step) {
  PutVarint(out, step < 0 ? uint32_t(-2 * int64_t(step) - 1) : uint32_t(2 * step));
}

// As large a file as allowed, of borders between random places.
QByteArray LargestOutlines() {
  std::mt19937 random(18);
  std::uniform_int_distribution<int32_t> lon(-180000, 180000);
  std::uniform_int_distribution<int32_t> lat(-90000, 90000);
  constexpr uint32_t kPointsPerLine = 10000;
  std::string lines;
  uint32_t count = 0;
  for (;;) {
    std::string line;
    PutVarint(line, kPointsPerLine);
    int32_t lastLon = 0;
    int32_t lastLat = 0;
    for (uint32_t i = 0; i < kPointsPerLine; ++i) {
      const int32_t x = lon(random);
      const int32_t y = lat(random);
      PutStep(line, x - lastLon);
      PutStep(line, y - lastLat);
      lastLon = x;
      lastLat = y;
    }
    if (11 + lines.size() + line.size() + 1 > size_t(zen::kMaxVectorMapBytes)) break;
    lines += line;
    ++count;
  }
  std::string out("ZVMP\x01", 5);
  PutVarint(out, 0);
  PutVarint(out, count);
  out += lines;
  PutVarint(out, 0);
  return QByteArray(out.data(), qsizetype(out.size()));
}

QByteArray ShippedOutlines() {
  QFile file(kShippedWorld);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void BM_DecodeOutlines(benchmark::State& state, QByteArray (*bytes)()) {
  const QByteArray file = bytes();
  for (auto _ : state) {
    zen::TVectorMap map;
    QString problem;
    if (!zen::ParseVectorMap(file, map, problem)) state.SkipWithError(qPrintable(problem));
    benchmark::DoNotOptimize(map.borders.data());
  }
  state.counters["MB"] = double(file.size()) / (1024 * 1024);
}
BENCHMARK_CAPTURE(BM_DecodeOutlines, shipped, ShippedOutlines)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodeOutlines, largest, LargestOutlines)->Unit(benchmark::kMillisecond);

// The world's area on the map of a window of this size.
QSize WorldArea(int width, int height) {
  const zen::TWindowLayout layout = zen::LayOutWindow(width, height);
  const zen::TMapGeometry area = zen::MapGeometryFor(layout.map.width(), layout.map.height());
  return QSize(area.width, area.height);
}

void DrawShipped(benchmark::State& state, int width, int height) {
  zen::TVectorMap map;
  QString problem;
  if (!zen::ReadVectorMap(kShippedWorld, map, problem)) {
    state.SkipWithError(qPrintable(problem));
    return;
  }
  const QSize area = WorldArea(width, height);
  for (auto _ : state) benchmark::DoNotOptimize(zen::RenderVectorMap(map, area, 1.0).constBits());
  state.counters["area_width"] = area.width();
}

// A land ring of nearly the most points allowed, a star of thin spikes round Africa's size.
void DrawLargestRing(benchmark::State& state) {
  zen::TVectorMap map;
  zen::TGeoPath ring;
  const int points = int(zen::kMaxRingPoints) - 2;
  for (int i = 0; i < points; ++i) {
    const double a = -2.0 * M_PI * i / points;
    const double radiusDeg = i % 2 == 0 ? 35.0 : 10.0;
    ring.emplace_back(20.0 + radiusDeg * std::cos(a), radiusDeg * std::sin(a));
  }
  map.land.push_back(std::move(ring));
  const QSize area = WorldArea(1920, 1080);
  for (auto _ : state) benchmark::DoNotOptimize(zen::RenderVectorMap(map, area, 1.0).constBits());
}
BENCHMARK(DrawLargestRing)->Unit(benchmark::kMillisecond);

void RegisterDrawShipped() {
  for (auto [width, height] : {std::pair{1920, 1080}, {3840, 2160}}) {
    const std::string name = "DrawShipped/" + std::to_string(width) + "x" + std::to_string(height);
    benchmark::RegisterBenchmark(name.c_str(), DrawShipped, width, height)
        ->Unit(benchmark::kMillisecond);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  RegisterDrawShipped();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
