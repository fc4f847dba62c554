// Name placement: the record of taken pixels against plain rectangle geometry, and the greedy
// layout's promises on a crowded map: no two names overlap, the reserved one stays, and a
// name is left out only when an earlier one is in its way.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "display/canvas.h"
#include "display/fonts.h"
#include "display/map_primitives.h"
#include "display/name_layout.h"
#include "display/projection.h"
#include "gui_application.h"
#include "image_probe.h"

namespace zen {
namespace {

TEST(LabelSpace, AgreesWithRectangleIntersectionAcrossWordEdgesAndTheImageBorder) {
  // 130 pixels wide: rows of three words, the last one partly used.
  const QRect image(0, 0, 130, 40);
  TLabelSpace space(image.width(), image.height());
  std::vector<QRect> taken;
  std::mt19937 random(7);
  std::uniform_int_distribution<int> left(-20, 140);
  std::uniform_int_distribution<int> top(-10, 45);
  std::uniform_int_distribution<int> size(1, 70);
  for (int i = 0; i < 400; ++i) {
    const QRect box(left(random), top(random), size(random), 1 + size(random) / 5);
    bool expectedFree = true;
    for (const QRect& t : taken) expectedFree = expectedFree && !t.intersects(box & image);
    ASSERT_EQ(space.IsFree(box), expectedFree) << i;
    if (expectedFree && i % 3 == 0) {
      space.Take(box);
      taken.push_back(box);
    }
  }
  EXPECT_GT(taken.size(), 10u);
}

class NameLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureGuiApplication();
    canvas.SetFont(ZenFont(TFontFace::MsSansSerif, 8));
  }

  // Where the name goes by the map's rule, from the canvas's own measure.
  QRect ExactBox(QPoint at, const std::string& name) {
    return kMapSatLabels.Box(at, canvas.TextWidth(QString::fromStdString(name)),
                             canvas.TextHeight(QString()));
  }

  QImage image = test::BlackImage(kMapImageWidth, kMapImageHeight);
  TCanvas canvas{image};
};

TEST_F(NameLayout, CrowdedNamesNeverOverlapAndAreLeftOutOnlyWhenAnEarlierOneIsInTheWay) {
  TNameLayout layout(canvas, kMapSatLabels);
  const QPoint activeAt(600, 200);  // by the right edge: its name goes left
  const TPlacedName active = layout.Reserve(activeAt, QStringLiteral("ACTIVE SAT"));
  ASSERT_EQ(active.box, ExactBox(activeAt, "ACTIVE SAT"));
  std::vector<QRect> placed{active.box};
  std::mt19937 random(11);
  std::uniform_int_distribution<int> x(0, kMapImageWidth - 1);
  std::uniform_int_distribution<int> y(0, kMapImageHeight - 1);
  const std::vector<std::string> names = {
      "ISS (ZARYA)", "NOAA 19", "STARLINK-1008", "AVWT Ty", "X", "FENGYUN 1C DEB", "\xC3\x89TOILE"};
  int leftOut = 0;
  for (int i = 0; i < 3000; ++i) {
    const QPoint at(x(random), y(random));
    const std::string& name = names[static_cast<size_t>(i) % names.size()];
    const QRect exact = ExactBox(at, name);
    bool blocked = false;
    for (const QRect& p : placed) blocked = blocked || p.intersects(exact & image.rect());
    const auto result = layout.Place(at, name);
    ASSERT_EQ(result.has_value(), !blocked) << name << " at " << at.x() << "," << at.y();
    if (result) {
      EXPECT_EQ(result->box, exact);
      EXPECT_EQ(result->text, QString::fromUtf8(name.c_str()));
      placed.push_back(result->box);
    } else {
      ++leftOut;
    }
  }
  EXPECT_GT(placed.size(), 50u);
  EXPECT_GT(leftOut, 2000);
  EXPECT_FALSE(layout.Place(QPoint(10, 10), "").has_value());
}

// By the right edge a pixel of width decides the side. With the other side taken, a name
// that fits on the side its true width sends it to is placed there.
TEST_F(NameLayout, ANameByTheEdgeIsJudgedOnTheSideItsTrueWidthGives) {
  for (const std::string name : {"STARLINK-1008", "WAVE TAYLOR", "To Yo LT AV"}) {
    const int width = canvas.TextWidth(QString::fromStdString(name));
    const int lastOnTheRight = kMapAreaRight - 10 - width;
    for (const int x : {lastOnTheRight, lastOnTheRight + 1}) {
      const QPoint at(x, 200);
      const QRect box = ExactBox(at, name);
      const bool right = box.left() > x;
      ASSERT_EQ(right, x == lastOnTheRight) << name;
      // A one-letter name whose box lies in the middle of the other side's box.
      const int otherMiddle = right ? x - 12 - width / 2 : x + 10 + width / 2;
      TNameLayout layout(canvas, kMapSatLabels);
      const QRect blocker = layout.Reserve(QPoint(otherMiddle - 10, 200), QStringLiteral("X")).box;
      ASSERT_FALSE(blocker.intersects(box));
      const auto placed = layout.Place(at, name);
      ASSERT_TRUE(placed.has_value()) << name << " at " << x;
      EXPECT_EQ(placed->box, box) << name << " at " << x;
    }
  }
}

// Bitmaps copied by the canvas match QPainter's own drawing, clipped at every image edge,
// whether the bitmap is keyed (copied directly) or partly translucent (left to QPainter).
TEST(CanvasDraw, BitmapsMatchQPainterAtEveryEdge) {
  QImage keyed(9, 7, QImage::Format_ARGB32);
  keyed.fill(0u);
  for (int y = 0; y < 7; ++y) {
    for (int x = (y * 3) % 4; x < 9; x += 2)
      keyed.setPixel(x, y, qRgba(0x20 * y, 0x30, x * 25, 0xFF));
  }
  QImage translucent = keyed;
  translucent.setPixel(4, 3, qRgba(0xFF, 0xFF, 0xFF, 0x80));
  const QPoint corners[] = {{20, 10}, {-4, 10}, {20, -3}, {36, 10}, {20, 17}, {-8, -6}, {50, 50}};
  for (const QImage* bitmap : {&keyed, &translucent}) {
    for (const QPoint& at : corners) {
      QImage ours(40, 20, QImage::Format_RGB32);
      ours.fill(QColor(0x40, 0x50, 0x60));
      QImage theirs = ours.copy();
      {
        TCanvas canvas(ours);
        canvas.Draw(at.x(), at.y(), *bitmap);
      }
      QPainter painter(&theirs);
      painter.drawImage(at, *bitmap);
      painter.end();
      EXPECT_EQ(ours, theirs) << (bitmap == &keyed ? "keyed" : "translucent") << " at " << at.x()
                              << "," << at.y();
    }
  }
}

}  // namespace
}  // namespace zen
