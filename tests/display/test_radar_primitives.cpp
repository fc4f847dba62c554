// Radar primitives drawn into images: symbols, outlines, labels and segments at the horizon.
#include <gtest/gtest.h>

#include <functional>

#include "display/canvas.h"
#include "display/colours.h"
#include "display/fonts.h"
#include "display/radar_primitives.h"
#include "gui_application.h"
#include "image_probe.h"

namespace zen {
namespace {

using test::ChangedArea;
using test::CountColour;
using test::IsColour;

class RadarPrimitives : public ::testing::Test {
 protected:
  void SetUp() override { test::EnsureGuiApplication(); }

  QImage Render(const std::function<void(TCanvas&)>& draw) {
    QImage image = test::BlackImage(kRadarImageWidth, kRadarImageHeight);
    {
      TCanvas canvas(image);
      draw(canvas);
    }
    return image;
  }

  TShowOptions show;
};

TEST_F(RadarPrimitives, SatelliteIsASixPixelSquareColouredByEclipse) {
  show.radarNames = false;
  const struct {
    bool eclipsed;
    QColor colour;
  } cases[] = {{false, kLitColour}, {true, kUmbraColour}};
  for (const auto& c : cases) {
    // Azimuth 90, elevation 0: pixel (156, 80).
    QImage image =
        Render([&](TCanvas& cv) { DrawPointV(cv, show, "X", c.eclipsed, 90, 0, false); });
    EXPECT_EQ(ChangedArea(image, Qt::black), QRect(153, 77, 6, 6));
    EXPECT_EQ(CountColour(image, c.colour, QRect(153, 77, 6, 6)), 36);
  }
}

TEST_F(RadarPrimitives, ActiveSatelliteGetsAHollowOutline) {
  show.radarNames = false;
  QImage image = Render([&](TCanvas& c) { DrawPointV(c, show, "X", false, 0, 90, true); });
  EXPECT_EQ(ChangedArea(image, Qt::black), QRect(83, 75, 10, 10));
  EXPECT_TRUE(IsColour(image, 83, 80, kLitColour));
  EXPECT_FALSE(IsColour(image, 84, 80, kLitColour));
}

TEST_F(RadarPrimitives, LabelGoesRightUnlessItPassesColumn155WithRoomOnTheLeft) {
  const struct {
    const char* label;
    double az;
    double el;
    bool right;
  } cases[] = {{"METEOR", 0, 90, true},
               {"METEOR", 270, 0, true},
               {"METEOR", 90, 0, false},
               {"METEOR", 90, 45, false},
               // Too long for either side: stays on the right and runs off the image.
               {"A RATHER LONG SATELLITE NAME", 270, 0, true}};
  for (const auto& c : cases) {
    const QString label = QString::fromLatin1(c.label);
    int widthPx = 0;
    Render([&](TCanvas& cv) {
      cv.SetFont(ZenFont(TFontFace::MsSerif, 6));
      widthPx = cv.TextWidth(label);
    });
    QPoint at = AzElToRadar(c.az, c.el);
    bool expectRight = !(at.x() + widthPx + 7 > 155 && at.x() - widthPx - 10 >= 0);
    ASSERT_EQ(expectRight, c.right) << c.label << " at az " << c.az << " el " << c.el;
    QRect area = ChangedArea(
        Render([&](TCanvas& cv) { DrawPointV(cv, show, label, false, c.az, c.el, false); }),
        Qt::black);
    if (c.right) {
      EXPECT_EQ(area.left(), at.x() - 3) << c.label << " " << c.az << "/" << c.el;
      EXPECT_GE(area.right(), at.x() + 7) << c.label << " " << c.az << "/" << c.el;
    } else {
      EXPECT_LE(area.left(), at.x() - 10) << c.label << " " << c.az << "/" << c.el;
      EXPECT_EQ(area.right(), at.x() + 2) << c.label << " " << c.az << "/" << c.el;
    }
  }
}

TEST_F(RadarPrimitives, SegmentFromBelowTheHorizonStartsOnTheCircle) {
  show.radarMarkers = false;
  QImage image = Render([&](TCanvas& c) { DrawLineV(c, show, {90, -10}, {90, 45}, true); });
  // From (156, 80) on the horizon towards (122, 80), end pixel left out.
  EXPECT_EQ(ChangedArea(image, Qt::black), QRect(123, 80, 34, 1));
  EXPECT_TRUE(IsColour(image, 156, 80, kUmbraColour));
}

TEST_F(RadarPrimitives, EndBelowTheHorizonGetsItsMarkerOnTheCircle) {
  show.radarTrack = false;
  QImage image = Render([&](TCanvas& c) { DrawLineV(c, show, {0, 30}, {180, -5}, false); });
  // The end sits at (88, 148); its marker box is (86, 146)..(90, 150).
  EXPECT_EQ(ChangedArea(image, Qt::black), QRect(86, 146, 4, 4));
}

TEST_F(RadarPrimitives, TrackAndMarkersOffDrawNothing) {
  show.radarTrack = false;
  show.radarMarkers = false;
  QImage image = Render([&](TCanvas& c) { DrawLineV(c, show, {0, 30}, {90, 30}, false); });
  EXPECT_TRUE(ChangedArea(image, Qt::black).isEmpty());
}

}  // namespace
}  // namespace zen
