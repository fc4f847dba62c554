// The world drawn on a thread of its own: pictures of the size last asked for only, loads,
// the time limit, and an end that waits for the thread.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <random>
#include <vector>

#include "display/world_painter.h"
#include "gui_application.h"

namespace zen {
namespace {

using namespace std::chrono_literals;

const QString kShippedWorld = QStringLiteral(ZEN_SOURCE_DIR "/resources/Data/world.vec");

bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 60000) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < timeoutMs) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return done();
}

// Runs the event loop for a while in which nothing is expected to happen.
void RunFor(int ms) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Long borders between random places: every segment crosses much of the map, and the whole
// takes many seconds to draw at any size.
TVectorMap HeavyMap() {
  std::mt19937 random(40);
  std::uniform_real_distribution<double> lon(-180.0, 180.0);
  std::uniform_real_distribution<double> lat(-90.0, 90.0);
  TVectorMap map;
  for (int line = 0; line < 40; ++line) {
    TGeoPath path;
    for (int i = 0; i < 10000; ++i) path.emplace_back(lon(random), lat(random));
    map.borders.push_back(std::move(path));
  }
  return map;
}

TVectorMap ShippedMap() {
  TVectorMap map;
  QString problem;
  EXPECT_TRUE(ReadVectorMap(kShippedWorld, map, problem)) << qPrintable(problem);
  return map;
}

// A painter whose pictures and words are kept in the order they came.
struct TWatchedPainter {
  explicit TWatchedPainter(std::chrono::milliseconds limit = kWorldDrawingLimit) : painter(limit) {
    painter.drawn = [this](const QImage& world) { pictures.push_back(world); };
    painter.tooHeavyNow = [this] { ++tooHeavy; };
    painter.loaded = [this](const QString& problem) { loads.push_back(problem); };
  }
  TWorldPainter painter;
  std::vector<QImage> pictures;
  std::vector<QString> loads;
  int tooHeavy = 0;
};

class WorldPainter : public ::testing::Test {
 protected:
  void SetUp() override { test::EnsureGuiApplication(); }
};

TEST_F(WorldPainter, DrawsThePictureAskedForAndHandsItOverLater) {
  TWatchedPainter w;
  w.painter.SetMap(ShippedMap());
  w.painter.Draw(QSize(900, 540), 2.0);
  EXPECT_TRUE(w.pictures.empty()) << "drawn while the window waited";
  ASSERT_TRUE(WaitUntil([&] { return !w.pictures.empty(); }));
  ASSERT_EQ(w.pictures.size(), 1u);
  EXPECT_EQ(w.pictures[0].size(), QSize(1800, 1080));
  EXPECT_EQ(w.pictures[0].devicePixelRatio(), 2.0);
  EXPECT_EQ(w.tooHeavy, 0);
}

TEST_F(WorldPainter, OnlyThePictureOfTheLastRequestArrives) {
  TWatchedPainter w;
  w.painter.SetMap(ShippedMap());
  // A drag through many sizes, a cancel in the middle of one, and a last size.
  for (int width = 700; width < 1700; width += 50) w.painter.Draw(QSize(width, width * 3 / 5), 1.0);
  w.painter.Cancel();
  w.painter.Draw(QSize(1000, 600), 1.0);
  ASSERT_TRUE(WaitUntil([&] { return !w.pictures.empty(); }));
  // Another request after it: had a picture of the earlier sizes still been on its way, it
  // would come before this one.
  w.painter.Draw(QSize(650, 390), 1.0);
  ASSERT_TRUE(WaitUntil([&] { return w.pictures.size() >= 2; }));
  RunFor(200);
  ASSERT_EQ(w.pictures.size(), 2u);
  EXPECT_EQ(w.pictures[0].size(), QSize(1000, 600));
  EXPECT_EQ(w.pictures[1].size(), QSize(650, 390));
}

TEST_F(WorldPainter, CancelledPictureNeverArrives) {
  TWatchedPainter w;
  w.painter.SetMap(HeavyMap());
  w.painter.Draw(QSize(1200, 720), 1.0);
  w.painter.Cancel();
  // The same limit would have passed: no picture and no word of weight.
  RunFor(int(w.painter.Limit().count()) + 500);
  EXPECT_TRUE(w.pictures.empty());
  EXPECT_EQ(w.tooHeavy, 0);
  EXPECT_FALSE(w.painter.TooHeavy());
}

TEST_F(WorldPainter, OutlinesPastTheLimitAreGivenUp) {
  TWatchedPainter w(100ms);
  w.painter.SetMap(HeavyMap());
  w.painter.Draw(QSize(1600, 960), 1.0);
  ASSERT_TRUE(WaitUntil([&] { return w.tooHeavy > 0; }));
  EXPECT_TRUE(w.painter.TooHeavy());
  // From then on nothing is drawn: no picture, and the word is said once.
  w.painter.Draw(QSize(700, 420), 1.0);
  RunFor(1000);
  EXPECT_TRUE(w.pictures.empty());
  EXPECT_EQ(w.tooHeavy, 1);
}

TEST_F(WorldPainter, StopWaitsForTheThreadWithoutWaitingForTheDrawing) {
  TWatchedPainter w(60s);
  w.painter.SetMap(HeavyMap());
  w.painter.Draw(QSize(2400, 1440), 1.0);
  RunFor(100);  // under way
  QElapsedTimer clock;
  clock.start();
  w.painter.Stop();
  // The drawing takes minutes; its thread leaves it within a piece of one line.
  EXPECT_LT(clock.elapsed(), 10000);
  w.painter.Draw(QSize(700, 420), 1.0);
  RunFor(300);
  EXPECT_TRUE(w.pictures.empty());
  EXPECT_EQ(w.tooHeavy, 0);
}

TEST_F(WorldPainter, LoadsTheFileOnItsThreadAndDrawsWhatWasAskedMeanwhile) {
  TWatchedPainter w;
  w.painter.Load(kShippedWorld);
  w.painter.Draw(QSize(800, 480), 1.0);
  ASSERT_TRUE(WaitUntil([&] { return !w.pictures.empty(); }));
  EXPECT_EQ(w.loads, std::vector<QString>{QString()});
  EXPECT_EQ(w.pictures[0].size(), QSize(800, 480));
}

TEST_F(WorldPainter, ADamagedFileIsNamedAndNothingIsDrawn) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  QFile file(folder.filePath("world.vec"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QByteArray("ZVMP\x01\x05", 6));
  file.close();
  TWatchedPainter w(500ms);
  w.painter.Draw(QSize(800, 480), 1.0);  // before any map: nothing
  w.painter.Load(file.fileName());
  w.painter.Draw(QSize(800, 480), 1.0);
  ASSERT_TRUE(WaitUntil([&] { return !w.loads.empty(); }));
  ASSERT_EQ(w.loads.size(), 1u);
  EXPECT_TRUE(w.loads[0].contains(QStringLiteral("more than the data holds")))
      << qPrintable(w.loads[0]);
  RunFor(1000);
  EXPECT_TRUE(w.pictures.empty());
  EXPECT_EQ(w.tooHeavy, 0) << "a map that is not there is not too heavy";
}

}  // namespace
}  // namespace zen
