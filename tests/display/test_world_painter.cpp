// The world drawn on a thread of its own: only the picture last asked for arrives, the limit
// gives the outlines up, and Stop waits for the thread only.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <vector>

#include "display/world_painter.h"
#include "gui_application.h"

namespace zen {
namespace {

using namespace std::chrono_literals;

// Runs the event loop until done() holds or ms pass.
bool RunUntil(const std::function<bool()>& done, int ms = 60000) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return done();
}

// Borders from one corner of the map to the other and back: every segment crosses the whole
// map, and the whole takes minutes to draw at any size.
TVectorMap HeavyMap() {
  TVectorMap map;
  map.borders.assign(40, {});
  for (TGeoPath& path : map.borders) {
    for (int i = 0; i < 10000; ++i) path.emplace_back(i % 2 ? 180 : -180, i % 2 ? -90 : 90);
  }
  return map;
}

// A painter whose pictures and words are kept in the order they came.
struct TWatched {
  explicit TWatched(std::chrono::milliseconds limit) : painter(limit) {
    test::EnsureGuiApplication();
    painter.drawn = [this](const QImage& world) { pictures.push_back(world); };
    painter.tooHeavyNow = [this] { ++tooHeavy; };
  }
  TWorldPainter painter;
  std::vector<QImage> pictures;
  int tooHeavy = 0;
};

TEST(WorldPainter, OnlyThePictureOfTheLastRequestArrives) {
  TWatched w(60s);
  TVectorMap shipped;
  QString problem;
  ASSERT_TRUE(
      ReadVectorMap(QStringLiteral(ZEN_SOURCE_DIR "/resources/Data/world.vec"), shipped, problem));
  w.painter.SetMap(std::move(shipped));
  // A drag through many sizes, a cancel, and a last size at two device pixels per pixel.
  for (int width = 700; width < 1700; width += 50) w.painter.Draw(QSize(width, width / 2), 1.0);
  w.painter.Cancel();
  w.painter.Draw(QSize(1000, 600), 2.0);
  EXPECT_TRUE(w.pictures.empty()) << "drawn while the window waited";
  ASSERT_TRUE(RunUntil([&] { return !w.pictures.empty(); }));
  // Had a picture of an earlier size still been on its way, it would come before this one.
  w.painter.Draw(QSize(650, 390), 1.0);
  ASSERT_TRUE(RunUntil([&] { return w.pictures.size() >= 2; }));
  RunUntil([] { return false; }, 200);
  ASSERT_EQ(w.pictures.size(), 2u);
  EXPECT_EQ(w.pictures[0].size(), QSize(2000, 1200));
  EXPECT_EQ(w.pictures[0].devicePixelRatio(), 2.0);
  EXPECT_EQ(w.pictures[1].size(), QSize(650, 390));
}

TEST(WorldPainter, OutlinesPastTheLimitAreGivenUpOnce) {
  TWatched w(100ms);
  w.painter.SetMap(HeavyMap());
  w.painter.Draw(QSize(1600, 960), 1.0);
  ASSERT_TRUE(RunUntil([&] { return w.tooHeavy > 0; }));
  w.painter.Draw(QSize(700, 420), 1.0);
  RunUntil([] { return false; }, 1000);
  EXPECT_TRUE(w.pictures.empty());
  EXPECT_EQ(w.tooHeavy, 1);
}

TEST(WorldPainter, StopWaitsForTheThreadNotForTheDrawing) {
  TWatched w(60s);
  w.painter.SetMap(HeavyMap());
  w.painter.Draw(QSize(2400, 1440), 1.0);
  RunUntil([] { return false; }, 100);
  QElapsedTimer clock;
  clock.start();
  w.painter.Stop();
  // The drawing takes minutes; the thread leaves it within a piece of one line.
  EXPECT_LT(clock.elapsed(), 10000);
  w.painter.Draw(QSize(700, 420), 1.0);
  RunUntil([] { return false; }, 300);
  EXPECT_TRUE(w.pictures.empty());
}

}  // namespace
}  // namespace zen
