// The world's outlines in the window: drawn off the window's thread for the map's size of the
// moment, and given up when they take too long.
#include <gtest/gtest.h>

#include <QFile>
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

// A valid outline file of one border of count points from one corner of the map to the
// other and back: every segment crosses the whole map.
std::string CornerToCorner(uint32_t count) {
  std::string out("ZVMP\x01\x00\x01", 7);
  PutVarint(out, count);
  for (uint32_t i = 0; i < count; ++i) {
    const int32_t sign = i == 0 ? -1 : i % 2 == 1 ? 2 : -2;
    PutStep(out, sign * 179999);
    PutStep(out, sign * 89999);
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
  // Nearly as large a file as allowed, drawn for minutes on a large map.
  WriteOutlines(CornerToCorner(1300000));
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

}  // namespace
}  // namespace zen
