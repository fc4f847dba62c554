// The world's outlines in the window: drawn off the window's thread for the map's size of the
// moment, given up when they take too long, refused with a word when damaged.
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

// An outline file: no land, lines of points between random places, no coastlines.
std::string RandomLines(uint32_t lines, uint32_t points) {
  std::mt19937 random(18);
  std::uniform_int_distribution<int32_t> lon(-180000, 180000);
  std::uniform_int_distribution<int32_t> lat(-90000, 90000);
  std::string out("ZVMP\x01\x00", 6);
  PutVarint(out, lines);
  for (uint32_t line = 0; line < lines; ++line) {
    PutVarint(out, points);
    int32_t lastLon = 0;
    int32_t lastLat = 0;
    for (uint32_t i = 0; i < points; ++i) {
      const int32_t x = lon(random);
      const int32_t y = lat(random);
      PutStep(out, x - lastLon);
      PutStep(out, y - lastLat);
      lastLon = x;
      lastLat = y;
    }
  }
  out.push_back('\0');
  return out;
}

class WorldOutlines : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    ASSERT_TRUE(folder.HasShippedData()) << "no bitmaps under " << ZEN_SOURCE_DIR;
    ASSERT_TRUE(folder.CopyData());
  }
  void WriteOutlines(const std::string& bytes) {
    QFile file(folder.home.filePath("Data/world.vec"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes.data(), qint64(bytes.size()));
  }
  void Start() {
    window = test::StartWindow(test::Context(folder.home.path(), folder.locks.path()), dialogs);
    window->showNormal();
  }
  QString Alert() const { return window->Footer().Texts[kFooterAlert]; }
  // The world the map as it is now needs.
  QSize WorldSize() const {
    const QSize map = window->MapImage().deviceIndependentSize().toSize();
    const TMapGeometry area = MapGeometryFor(map.width(), map.height());
    return QSize(area.width, area.height);
  }

  test::TProgramFolder folder;
  test::TScriptedDialogs dialogs;
  std::unique_ptr<TMainWindow> window;
};

TEST_F(WorldOutlines, HeavyOutlinesHoldUpNeitherTheStartNorAResize) {
  // As large a file as allowed: 8 MB of lines drawn for minutes on a large map.
  WriteOutlines(RandomLines(139, 10000));
  Start();
  window->resize(2400, 1600);
  // Back from the resize at once, the bitmap standing in.
  EXPECT_EQ(window->MapImage().deviceIndependentSize().toSize(),
            LayOutWindow(2400, 1600).map.size());
  EXPECT_TRUE(window->WorldImage().isNull());
  const QString tooHeavy = VectorMapTooHeavyText(int(kWorldDrawingLimit.count()));
  EXPECT_TRUE(test::WaitUntil([&] { return Alert() == tooHeavy; }, 60000)) << qPrintable(Alert());
  window->resize(1000, 700);
  test::WaitUntil([] { return false; }, 500);
  EXPECT_TRUE(window->WorldImage().isNull());
  test::CloseWindow(window, dialogs);
}

TEST_F(WorldOutlines, TheWorldShownIsOfTheMapsSizeOfTheMoment) {
  Start();
  bool wrongSize = false;
  auto drawnFor = [&](QSize windowSize) {
    return test::WaitUntil(
        [&] {
          const QImage& world = window->WorldImage();
          wrongSize |= !world.isNull() && world.deviceIndependentSize().toSize() != WorldSize();
          return window->size() == windowSize && !world.isNull();
        },
        60000);
  };
  for (const QSize size : {QSize(900, 650), QSize(1000, 700), QSize(1200, 800)}) {
    window->resize(size);
  }
  EXPECT_TRUE(drawnFor(QSize(1200, 800)));
  window->resize(1500, 1000);
  EXPECT_TRUE(window->WorldImage().isNull()) << "the bitmap stands in until the new world is drawn";
  EXPECT_TRUE(drawnFor(QSize(1500, 1000)));
  EXPECT_FALSE(wrongSize);
  test::CloseWindow(window, dialogs);
}

TEST_F(WorldOutlines, ALandRingOfTooManyPointsIsRefusedAsDamage) {
  std::string ring("ZVMP\x01\x01", 6);
  PutVarint(ring, kMaxRingPoints + 1);
  ring.append(2 * size_t(kMaxRingPoints + 1), '\0');
  WriteOutlines(ring + std::string(2, '\0'));
  Start();
  EXPECT_TRUE(test::WaitUntil([&] { return !Alert().isEmpty(); }, 30000));
  EXPECT_EQ(Alert(), VectorMapProblemText(QStringLiteral(
                         "a path of the land rings has 200001 points, more than the 200000 it "
                         "may have")));
  test::CloseWindow(window, dialogs);
}

}  // namespace
}  // namespace zen
