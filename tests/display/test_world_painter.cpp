// The world drawn on a thread of its own: only the picture last asked for arrives, the limit
// gives the outlines up, a damaged file is named, and Stop waits for the thread only.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <random>
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

// Borders between random places: every segment crosses much of the map, and the whole takes
// seconds to draw at any size.
TVectorMap HeavyMap() {
  std::mt19937 random(40);
  std::uniform_real_distribution<double> lon(-180.0, 180.0);
  std::uniform_real_distribution<double> lat(-90.0, 90.0);
  TVectorMap map;
  map.borders.resize(40);
  for (TGeoPath& path : map.borders) {
    for (int i = 0; i < 10000; ++i) path.emplace_back(lon(random), lat(random));
  }
  return map;
}

// A painter whose pictures and words are kept in the order they came.
struct TWatched {
  explicit TWatched(std::chrono::milliseconds limit) : painter(limit) {
    test::EnsureGuiApplication();
    painter.drawn = [this](const QImage& world) { pictures.push_back(world); };
    painter.tooHeavyNow = [this] { ++tooHeavy; };
    painter.loaded = [this](const QString& problem) { loads.push_back(problem); };
  }
  TWorldPainter painter;
  std::vector<QImage> pictures;
  std::vector<QString> loads;
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

TEST(WorldPainter, ADamagedFileIsNamedAndNeverTooHeavy) {
  QTemporaryDir folder;
  QFile file(folder.filePath("world.vec"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QByteArray("ZVMP\x01\x05", 6));
  file.close();
  TWatched w(300ms);
  w.painter.Load(file.fileName());
  w.painter.Draw(QSize(800, 480), 1.0);
  ASSERT_TRUE(RunUntil([&] { return !w.loads.empty(); }));
  EXPECT_TRUE(w.loads[0].contains(QStringLiteral("more than the data holds")));
  RunUntil([] { return false; }, 1000);
  EXPECT_TRUE(w.pictures.empty());
  EXPECT_EQ(w.tooHeavy, 0);
}

}  // namespace
}  // namespace zen
