// The world's outlines in the window: drawn off the window's thread for the map's size of the
// moment, given up when they take too long, and refused with a word when damaged.
#include <gtest/gtest.h>

#include <QFile>
#include <random>
#include <string>

#include "app/window_plan.h"
#include "app_fixture.h"
#include "display/footer.h"
#include "display/projection.h"
#include "display/vector_map.h"
#include "display/world_painter.h"

namespace zen {
namespace {

void PutVarint(std::string& out, uint32_t value) {
  for (; value >= 0x80; value >>= 7) out.push_back(char((value & 0x7F) | 0x80));
  out.push_back(char(value));
}
void PutStep(std::string& out, int32_t step) {
  PutVarint(out, step < 0 ? uint32_t(-2 * int64_t(step) - 1) : uint32_t(2 * step));
}

// A valid outline file as large as allowed, of borders between random places: every segment
// crosses much of the map, so drawing it takes far longer than the limit at any size.
std::string HeavyOutlines() {
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
    if (5 + 1 + 5 + lines.size() + line.size() + 1 > size_t(kMaxVectorMapBytes)) break;
    lines += line;
    ++count;
  }
  std::string out("ZVMP\x01", 5);
  PutVarint(out, 0);
  PutVarint(out, count);
  out += lines;
  PutVarint(out, 0);
  return out;
}

// One land ring of count points, all but the corners of a small square repeated.
std::string RingOfPoints(uint32_t count) {
  std::string out("ZVMP\x01", 5);
  PutVarint(out, 1);
  PutVarint(out, count);
  const std::pair<int32_t, int32_t> corners[] = {{0, 0}, {1000, 0}, {0, -1000}, {-1000, 1000}};
  for (uint32_t i = 0; i < count; ++i) {
    PutStep(out, i < 4 ? corners[i].first : 0);
    PutStep(out, i < 4 ? corners[i].second : 0);
  }
  PutVarint(out, 0);
  PutVarint(out, 0);
  return out;
}

class WorldOutlines : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    ASSERT_TRUE(folder.HasShippedData()) << "no bitmaps under " << ZEN_SOURCE_DIR;
    ASSERT_TRUE(folder.CopyData());
  }

  bool WriteOutlines(const std::string& bytes) {
    QFile file(folder.home.filePath("Data/world.vec"));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
  }

  std::unique_ptr<TMainWindow> Start() {
    return test::StartWindow(test::Context(folder.home.path(), folder.locks.path()), dialogs);
  }

  // The size of the world the map of the window as it is now needs.
  static QSize WorldSizeFor(const TMainWindow& window) {
    const QSize map = window.MapImage().deviceIndependentSize().toSize();
    const TMapGeometry area = MapGeometryFor(map.width(), map.height());
    return QSize(area.width, area.height);
  }

  QString Alert(const TMainWindow& window) const { return window.Footer().Texts[kFooterAlert]; }

  test::TProgramFolder folder;
  test::TScriptedDialogs dialogs;
};

TEST_F(WorldOutlines, HeavyOutlinesHoldUpNeitherTheStartNorAResize) {
  ASSERT_TRUE(WriteOutlines(HeavyOutlines()));
  auto window = Start();
  ASSERT_TRUE(window->Activated());
  window->showNormal();
  window->resize(1280, 900);
  ASSERT_EQ(window->MapImage().deviceIndependentSize().toSize(),
            LayOutWindow(1280, 900).map.size());
  // Back from the resize at once, the map showing the bitmap while the outlines are drawn.
  EXPECT_TRUE(window->WorldImage().isNull());
  ASSERT_TRUE(test::WaitUntil(
      [&] { return Alert(*window) == VectorMapTooHeavyText(int(kWorldDrawingLimit.count())); },
      60000))
      << qPrintable(Alert(*window));
  EXPECT_TRUE(window->WorldImage().isNull());
  // Given up: another size draws nothing either, and the window answers at once.
  window->resize(1000, 700);
  test::WaitUntil([] { return false; }, 500);
  EXPECT_TRUE(window->WorldImage().isNull());
  test::CloseWindow(window, dialogs);
}

TEST_F(WorldOutlines, TheWorldShownIsAlwaysOfTheMapsSizeOfTheMoment) {
  auto window = Start();
  window->showNormal();
  // A drag through several sizes, then one more after a pause.
  bool wrongSize = false;
  auto settled = [&](QSize windowSize) {
    return test::WaitUntil(
        [&] {
          const QImage& world = window->WorldImage();
          if (!world.isNull() && world.deviceIndependentSize().toSize() != WorldSizeFor(*window)) {
            wrongSize = true;
          }
          return window->size() == windowSize && !world.isNull();
        },
        60000);
  };
  for (const QSize size : {QSize(900, 650), QSize(1000, 700), QSize(1200, 800)})
    window->resize(size);
  ASSERT_TRUE(settled(QSize(1200, 800)));
  EXPECT_EQ(window->WorldImage().deviceIndependentSize().toSize(), WorldSizeFor(*window));
  window->resize(1500, 1000);
  EXPECT_TRUE(window->WorldImage().isNull()) << "the bitmap stands in until the new world is drawn";
  ASSERT_TRUE(settled(QSize(1500, 1000)));
  EXPECT_EQ(window->WorldImage().deviceIndependentSize().toSize(), WorldSizeFor(*window));
  EXPECT_FALSE(wrongSize);
  EXPECT_EQ(Alert(*window), QString());
  test::CloseWindow(window, dialogs);
}

TEST_F(WorldOutlines, ARingOfTooManyPointsIsRefusedAsDamage) {
  ASSERT_TRUE(WriteOutlines(RingOfPoints(kMaxRingPoints + 1)));
  auto window = Start();
  ASSERT_TRUE(test::WaitUntil([&] { return !Alert(*window).isEmpty(); }, 30000));
  EXPECT_EQ(Alert(*window), VectorMapProblemText(QStringLiteral(
                                "a path of the land rings has 200001 points, more than the 200000 "
                                "it may have")));
  window->showNormal();
  window->resize(1280, 900);
  test::WaitUntil([] { return false; }, 500);
  EXPECT_TRUE(window->WorldImage().isNull());
  test::CloseWindow(window, dialogs);
}

}  // namespace
}  // namespace zen
