// The time line on the map and the time panel.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>

#include "display/time_display.h"

namespace zen {
namespace {

const TDateRec kClock{2026, 5, 30, 21, 15, 30, 0};

bool AnyPixel(const QImage& image, QRect area, QRgb colour) {
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (image.pixel(x, y) == colour) return true;
    }
  }
  return false;
}

QImage BlackMap() {
  QImage map(630, 390, QImage::Format_RGB32);
  map.fill(Qt::black);
  return map;
}

class TimeDisplay : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "zen_display_tests";
    static char* argv[] = {name, nullptr};
    if (QGuiApplication::instance() == nullptr) new QGuiApplication(argc, argv);
  }
  void SetUp() override {
    time_.SetUTCOffset(2.0);
    time_.PobierzCzas(kClock);
  }
  TTimeControl time_;
};

TEST_F(TimeDisplay, LineTextsForBothScales) {
  EXPECT_EQ(TimeLineText(time_), "2026-05-30 21:15:30 (UTC +2:00)");
  time_.Display = TTimeDisplay::Utc;
  EXPECT_EQ(TimeLineText(time_), QString(14, ' ') + "2026-05-30 19:15:30 (UTC)");
}

TEST_F(TimeDisplay, SwitchingToUtcLeavesNoTraceOfTheLocalLine) {
  QImage both = BlackMap();
  {
    TCanvas canvas(both);
    DrawTimeLine(canvas, time_);
    time_.Display = TTimeDisplay::Utc;
    DrawTimeLine(canvas, time_);
  }
  QImage utcOnly = BlackMap();
  {
    TCanvas canvas(utcOnly);
    DrawTimeLine(canvas, time_);
  }
  EXPECT_EQ(both, utcOnly);
  // The line ends at x = 615 and there is white text just left of it.
  EXPECT_TRUE(AnyPixel(utcOnly, QRect(560, 376, 55, 13), qRgb(255, 255, 255)));
  EXPECT_FALSE(AnyPixel(utcOnly, QRect(616, 370, 14, 20), qRgb(255, 255, 255)));
}

struct StatusCase {
  TTimeMode mode;
  int autoStep;
  TTimeDisplay display;
  const char* words[3];
};

TEST_F(TimeDisplay, StatusWords) {
  const StatusCase cases[] = {
      {TTimeMode::RealTime, 0, TTimeDisplay::Local, {"RT", "CLOCK", "LCL"}},
      {TTimeMode::Simulation, 0, TTimeDisplay::Utc, {"SIM", "AUTO-OFF", "UTC"}},
      {TTimeMode::Simulation, 1, TTimeDisplay::Local, {"SIM", "AUTO-FWD", "LCL"}},
      {TTimeMode::Simulation, -1, TTimeDisplay::Local, {"SIM", "AUTO-BCK", "LCL"}},
  };
  for (const StatusCase& c : cases) {
    TTimeControl t;
    t.SetMode(c.mode, false);
    t.AutoStep = c.autoStep;
    t.Display = c.display;
    TTimePanelStatus s = TimePanelStatus(t);
    EXPECT_STREQ(s.mode, c.words[0]);
    EXPECT_STREQ(s.automatic, c.words[1]);
    EXPECT_STREQ(s.scale, c.words[2]);
  }
}

TEST_F(TimeDisplay, PanelHasFrameStatusRowAndClock) {
  QImage panel(kTimePanelWidth, kTimePanelHeight, QImage::Format_RGB32);
  panel.fill(Qt::blue);
  DrawTimePanel(panel, time_, false);
  const QRgb frame = qRgb(0xD0, 0xD0, 0xD0);
  EXPECT_EQ(panel.pixel(0, 0), frame);
  EXPECT_EQ(panel.pixel(157, 80), frame);
  EXPECT_EQ(panel.pixel(100, 16), frame);
  EXPECT_EQ(panel.pixel(40, 8), frame);
  EXPECT_EQ(panel.pixel(118, 8), frame);
  EXPECT_EQ(panel.pixel(60, 70), qRgb(0, 0, 0));  // blue is painted over
  EXPECT_TRUE(AnyPixel(panel, QRect(2, 2, 36, 13), qRgb(255, 0, 0)));
  EXPECT_TRUE(AnyPixel(panel, QRect(42, 2, 74, 13), qRgb(255, 0, 0)));
  EXPECT_TRUE(AnyPixel(panel, QRect(120, 2, 36, 13), qRgb(255, 0, 0)));
  EXPECT_TRUE(AnyPixel(panel, QRect(10, 21, 138, 24), qRgb(0, 255, 0)));
  EXPECT_TRUE(AnyPixel(panel, QRect(10, 48, 138, 24), qRgb(0, 255, 0)));
  QImage alt = panel;
  DrawTimePanel(alt, time_, true);
  EXPECT_NE(alt, panel);
}

}  // namespace
}  // namespace zen
